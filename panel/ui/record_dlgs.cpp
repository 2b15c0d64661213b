#include "panel/ui/record_dlgs.h"

#include "panel/core/data_files.h"
#include "panel/core/panel_commands.h"
#include "panel/core/text_parsers.h"
#include "panel/ui/panel_templates.h"
#include "panel/ui/prompts.h"
#include "platform/ini_file.h"
#include "platform/win_styles.h"
#include "xui/color_sel_edit.h"
#include "xui/dialog_template.h"
#include "xui/message_dlg.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

namespace x740panel {

namespace {

using namespace mv;

constexpr const char* kSsiKeys[] = {
    "Drehrichtung",         "Inkremente",  "UserInkremente", "ModulIndex",
    "ModulOffset",          "PresetModulIndex", "PresetModulByteOffset",
    "PresetModulBitOffset", "ValueMask",   "OptionFlags",    "MaxDiffValue",
    "MaxDiffCounterValue",  "Totzeit",     "Offset"};
constexpr const char* kSsiLabels[] = {
    "Drehrichtung",         "Inkremente",  "Userinkremente", "ModulIndex",
    "ModulOffset",          "PresetModulIndex", "PresetModulByteOffset",
    "PresetModulBitOffset", "ValueMask",   "OptionFlagse",   "MaxDiffValue",
    "MaxDiffCounterValue",  "Totzeit",     "Offset"};

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
constexpr std::uint32_t kTab = kChild | WS_TABSTOP;
constexpr std::uint32_t kDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr std::uint32_t kEdit = kTab | WS_BORDER | ES_AUTOHSCROLL;

xui::DialogTemplate RecordTemplate(int id, const char* caption,
                                   const std::vector<const char*>& labels) {
    xui::DialogTemplate t{id, caption, "MS Sans Serif", 8, 0, 0, 220,
                          static_cast<int>(labels.size()) * 16 + 34, kDialog, {}};
    int y = 7;
    for (std::size_t i = 0; i < labels.size(); ++i, y += 16) {
        t.items.push_back({"Static", kRecordLabelFirstId + static_cast<int>(i), labels[i], 7,
                              y, 100, 12, kPaintedLabel});
        t.items.push_back({"CColorSelEdit", kRecordEditFirstId + static_cast<int>(i), "", 112,
                              y, 100, 12, kEdit});
    }
    t.items.push_back({"XBUTTON", 1, "Speichern", 7, y + 4, 60, 14, kTab});
    t.items.push_back({"XBUTTON", 2, "Cancel", 152, y + 4, 60, 14, kTab});
    return t;
}

const xui::DialogTemplate& SsiDataTemplate() {
    static const xui::DialogTemplate t = RecordTemplate(
        kSsiDataDlgTemplate, "SSI Data", std::vector<const char*>(std::begin(kSsiLabels),
                                                                   std::end(kSsiLabels)));
    return t;
}
const xui::DialogTemplate& CamData1Template() {
    static const xui::DialogTemplate t =
        RecordTemplate(kCamData1DlgTemplate, "CAM Data", {" SSI_Index", " SSI_MaxSpeed"});
    return t;
}
const xui::DialogTemplate& CamData2Template() {
    static const xui::DialogTemplate t = RecordTemplate(
        kCamData2DlgTemplate, "CAM Data", {" Blockindex", " Modulindex", " Byteoffset"});
    return t;
}
const xui::DialogTemplate& CamData3Template() {
    static const xui::DialogTemplate t = RecordTemplate(
        kCamData3DlgTemplate, "CAM Data",
        {" Name", " Nockenbahn", " Startwinkel", " Starttotzeit", " Endwinkel", " Endtotzeit",
         " Typ"});
    return t;
}
const xui::DialogTemplate& SsiOffsetTemplate() {
    static const xui::DialogTemplate t{
        kSsiOffsetDlgTemplate, "SSI Interface", "MS Sans Serif", 8, 0, 0, 200, 86, kDialog,
        {
            {"Static", kPromptTextId, "Please enter number (index) of SSI-Interface and offset",
             7, 7, 186, 12, kPaintedLabel},
            {"Static", kPromptLabel1Id, " SSI-Index :", 7, 25, 80, 12, kPaintedLabel},
            {"Edit", kPromptEdit1Id, "", 92, 25, 60, 12, kEdit},
            {"Static", kPromptLabel2Id, " Offset :", 7, 41, 80, 12, kPaintedLabel},
            {"Edit", kPromptEdit2Id, "", 92, 41, 60, 12, kEdit},
            {"XBUTTON", 1, "OK", 7, 64, 60, 14, kTab},
            {"XBUTTON", 2, "Cancel", 133, 64, 60, 14, kTab},
        }};
    return t;
}

std::string Text(const xui::CXDialog& dlg, int id) {
    return xui::toCp1252(xui::windowText(dlg.item(id)));
}
void SetText(xui::CXDialog& dlg, int id, const std::string& text) {
    xui::setWindowText(dlg.item(id), xui::fromCp1252(text));
}

// The record's key value, its first 255 characters split; fields holds at most 20. whole tells
// whether the value was longer.
std::vector<std::string> SplitValue(const LogItemRecord& r, int& count, bool& whole) {
    std::vector<std::string> f;
    std::string value = iniReadString(r.file, kNswSection, r.name);
    whole = value.size() < kMaxCommaListText;
    if (!whole) {
        value.resize(kMaxCommaListText - 1);
    }
    count = value.empty() ? 0 : SplitCommaList(value, f);
    return f;
}

std::string Join(const std::vector<std::string>& parts) {
    std::string s;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        s += (i == 0 ? "" : ",") + parts[i];
    }
    return s;
}

} // namespace

CRecordDlg::CRecordDlg(int templateId, const LogItemRecord& record, int fields, int firstNumeric)
    : CXDialog(templateId, nullptr), record_(record), fields_(fields),
      firstNumeric_(firstNumeric) {}

std::string CRecordDlg::FieldText(int index) const {
    return Text(*this, kRecordEditFirstId + index);
}

void CRecordDlg::SetFieldText(int index, const std::string& text) {
    SetText(*this, kRecordEditFirstId + index, text);
}

bool CRecordDlg::OnInitDialog() {
    for (int i = firstNumeric_; i < fields_; ++i) {
        if (auto* edit = itemAs<xui::CColorSelEdit>(kRecordEditFirstId + i)) {
            edit->SetAllowedChars(kRecordEditChars);
        }
    }
    Load();
    return true;
}

void CRecordDlg::OnPaint(mv::Canvas& dc) {
    for (int i = 0; i < fields_; ++i) {
        if (QWidget* label = item(kRecordLabelFirstId + i)) {
            PaintStaticBox(dc, label, 0, xui::kLabelBoxFill, 0, 0xFFFFFF);
        }
    }
}

void CRecordDlg::OnOK() {
    Save();
    CXDialog::OnOK();
}

CSSIDataDlg::CSSIDataDlg(const LogItemRecord& record)
    : CRecordDlg(kSsiDataDlgTemplate, record, 14, 0) {}

void CSSIDataDlg::Load() {
    for (int i = 0; i < 14; ++i) {
        const int def = (i >= 5 && i <= 7) ? -2 : -1;
        SetFieldText(i, Format("%d", iniReadInt(record_.file, record_.name, kSsiKeys[i], def)));
    }
}

void CSSIDataDlg::Save() {
    for (int i = 0; i < 14; ++i) {
        iniWriteString(record_.file, record_.name, kSsiKeys[i], FieldText(i));
    }
}

CCamData1Dlg::CCamData1Dlg(const LogItemRecord& record)
    : CRecordDlg(kCamData1DlgTemplate, record, 2, 0) {}

void CCamData1Dlg::Load() {
    SetFieldText(0, Format("%d", iniReadInt(record_.file, kNswSection, "SSI_Index", -1)));
    SetFieldText(1, Format("%d", iniReadInt(record_.file, kNswSection, "SSI_MaxSpeed", -1)));
}

void CCamData1Dlg::Save() {
    iniWriteString(record_.file, kNswSection, "SSI_Index", FieldText(0));
    iniWriteString(record_.file, kNswSection, "SSI_MaxSpeed", FieldText(1));
}

CCamData2Dlg::CCamData2Dlg(const LogItemRecord& record)
    : CRecordDlg(kCamData2DlgTemplate, record, 3, 0) {}

bool CCamData2Dlg::OnInitDialog() {
    if (record_.type == kLogItemBitConfig) {
        SetText(*this, kRecordLabelFirstId + 1, " Bitoffset");
        SetText(*this, kRecordLabelFirstId + 2, " Bahnindex");
    }
    return CRecordDlg::OnInitDialog();
}

void CCamData2Dlg::Load() {
    int count = 0;
    bool whole = true;
    const std::vector<std::string> f = SplitValue(record_, count, whole);
    for (int i = 0; i < 3; ++i) {
        int v = -1;
        if (i < static_cast<int>(f.size()) && ParseDecimal(f[static_cast<std::size_t>(i)], v) == 0) {
            v = -1;
        }
        SetFieldText(i, Format("%d", v));
    }
}

void CCamData2Dlg::Save() {
    iniWriteString(record_.file, kNswSection, record_.name,
                   Join({FieldText(0), FieldText(1), FieldText(2)}));
}

CCamData3Dlg::CCamData3Dlg(const LogItemRecord& record)
    : CRecordDlg(kCamData3DlgTemplate, record, 7, 1) {}

void CCamData3Dlg::Load() {
    int count = 0;
    bool whole = true;
    const std::vector<std::string> f = SplitValue(record_, count, whole);
    const auto numeric = [&](std::size_t i) {
        int v = -1;
        if (i >= f.size() || ParseDecimal(f[i], v) == 0) {
            v = -1;
        }
        return Format("%d", v);
    };
    SetFieldText(1, numeric(0));
    SetFieldText(0, f.size() > 1 ? f[1] : std::string());
    for (std::size_t i = 2; i <= 6; ++i) {
        SetFieldText(static_cast<int>(i), numeric(i));
    }
    if (count == 9 && whole) { // never the cut ends of a longer line
        multiturn_ = {f[7], f[8]};
    }
}

void CCamData3Dlg::Save() {
    std::vector<std::string> parts = {FieldText(1), FieldText(0), FieldText(2), FieldText(3),
                                      FieldText(4), FieldText(5), FieldText(6)};
    parts.insert(parts.end(), multiturn_.begin(), multiturn_.end());
    iniWriteString(record_.file, kNswSection, record_.name, Join(parts));
}

CSSIOffsetDlg::CSSIOffsetDlg(QWidget* parent) : CXDialog(kSsiOffsetDlgTemplate, parent) {}

bool CSSIOffsetDlg::OnInitDialog() {
    SetText(*this, kPromptEdit1Id, Format("%d", m_Index));
    SetText(*this, kPromptEdit2Id, Format("%d", m_Offset));
    return true;
}

void CSSIOffsetDlg::OnPaint(mv::Canvas& dc) {
    PaintLabels(*this, dc, {kPromptTextId, kPromptLabel1Id, kPromptLabel2Id});
}

void CSSIOffsetDlg::OnOK() {
    int index = 0;
    int offset = 0;
    for (const auto& [id, value] : {std::pair{kPromptEdit1Id, &index},
                                    std::pair{kPromptEdit2Id, &offset}}) {
        if (ParseDecimal(Text(*this, id), *value) == 0) {
            xui::MessageRequest request;
            request.line1 = "Please enter an integer.";
            request.caption = "SSI Interface";
            xui::ShowMessage(request);
            if (QWidget* edit = item(id)) {
                edit->setFocus();
            }
            return;
        }
    }
    if (index < 0 || index > kLastSsiIndex) {
        xui::MessageRequest request;
        request.line1 = kSsiIndexRange;
        request.caption = "SSI Interface";
        xui::ShowMessage(request);
        if (QWidget* edit = item(kPromptEdit1Id)) {
            edit->setFocus();
        }
        return;
    }
    m_Index = index;
    m_Offset = offset;
    CXDialog::OnOK();
}

void OpenRecordEditorFor(const LogItemRecord& record) {
    switch (record.type) {
    case kLogItemSsiSection: {
        CSSIDataDlg dlg(record);
        dlg.DoModal();
        break;
    }
    case kLogItemNswSetup: {
        CCamData1Dlg dlg(record);
        dlg.DoModal();
        break;
    }
    case kLogItemBlockConfig:
    case kLogItemBitConfig: {
        CCamData2Dlg dlg(record);
        dlg.DoModal();
        break;
    }
    case kLogItemCam: {
        CCamData3Dlg dlg(record);
        dlg.DoModal();
        break;
    }
    default:
        break;
    }
}

void RegisterRecordTemplates() {
    xui::registerDialogTemplates({&SsiDataTemplate(), &CamData1Template(), &CamData2Template(),
                                  &CamData3Template(), &SsiOffsetTemplate()});
}

} // namespace x740panel
