#include "morvelan/online/memory_dlg.h"

#include "morvelan/core/param_number.h"
#include "morvelan/online/online_messages.h"
#include "portwire/include/Portwire.h"
#include "xui/color_sel_edit.h"
#include "xui/qt_text.h"

#include <QFont>
#include <QLineEdit>
#include <QListWidget>

#include <array>

namespace morvelan {

namespace {

constexpr int kLines = 10;
constexpr int kPerLine = 8;
// The read stores the reply's data and its checksum: room for a whole reply.
constexpr int kReadRoom = 256;
constexpr int kMaxStartDigits = 8;

} // namespace

const xui::DialogTemplate& memoryDlgTemplate() {
    using namespace mv;
    constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kMemoryDlgTemplate, "Memory", 226, 167,
        {
            // Painted by the dialog as a label box.
            {"Static", kMemStartLabel, "Start", 7, 7, 39, 12, WS_CHILD | SS_LEFT},
            {"Static", kMemBytesLabel, "Bytes", 7, 24, 39, 12, WS_CHILD | WS_VISIBLE},
            {"CColorSelEdit", kMemStartEdit, "", 52, 7, 61, 12,
             kChild | WS_BORDER | ES_AUTOHSCROLL},
            {"CColorSelEdit", kMemBytesEdit, "", 52, 24, 61, 12,
             kChild | WS_BORDER | ES_AUTOHSCROLL},
            {"XBUTTON", IDOK, "OK", 155, 7, 64, 14, kChild},
            {"XBUTTON", IDCANCEL, "Lesen", 155, 22, 64, 14, kChild},
            {"ListBox", kMemList, "", 7, 43, 212, 117, kChild | WS_BORDER},
        });
    return t;
}

std::vector<std::string> MemoryLines(std::uint32_t address, const std::uint8_t* bytes) {
    std::vector<std::string> lines;
    for (int r = 0; r < kLines; ++r) {
        std::string line = mv::FormatC("%08X  ", address + static_cast<std::uint32_t>(kPerLine * r));
        const std::uint8_t* row = bytes + kPerLine * r;
        for (int i = 0; i < kPerLine; ++i)
            line += mv::FormatC(" %02x", row[i]);
        line += "  ";
        for (int i = 0; i < kPerLine; ++i) {
            if (row[i] != 0)
                line += static_cast<char>(row[i]);
        }
        lines.push_back(line);
    }
    return lines;
}

CMemoryDlg::CMemoryDlg(std::uint32_t (*link)(void*), void* context, QWidget* parent)
    : xui::CXDialog(memoryDlgTemplate(), parent), link_(link), context_(context) {}

QListWidget* CMemoryDlg::list() const {
    return itemAs<QListWidget>(kMemList);
}

bool CMemoryDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    if (auto* start = itemAs<xui::CColorSelEdit>(kMemStartEdit)) {
        start->SetAllowedChars("1234567890abcdefABCDEF");
        start->SetBkColor(0xFFFFFF);
        start->setMaxLength(kMaxStartDigits);
    }
    if (auto* bytes = itemAs<xui::CColorSelEdit>(kMemBytesEdit)) {
        bytes->SetAllowedChars("1234567890");
        bytes->SetBkColor(0xFFFFFF);
    }
    if (QListWidget* l = list()) {
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(12);
        font.setWeight(QFont::Normal);
        l->setFont(font);
    }
    return true;
}

void CMemoryDlg::OnPaint(mv::Canvas& dc) {
    xui::CXDialog::OnPaint(dc);
    if (QWidget* start = item(kMemStartLabel))
        PaintStaticBox(dc, start, 0, 0xDEBF97, 0x000000, 0x000000);
}

void CMemoryDlg::OnRead() {
    QListWidget* l = list();
    if (l)
        l->clear();
    std::uint32_t address = 0;
    if (auto* start = itemAs<QLineEdit>(kMemStartEdit)) {
        address = mv::ParseHexC(xui::toCp1252(start->text().left(kMaxStartDigits)));
    }
    std::array<std::uint8_t, kReadRoom> buffer{};
    if (A_ReadMemory(link_(context_), kMemReadBytes, address, buffer.data()) != 1) {
        // No stale or zeroed bytes shown as memory.
        ShowOnlineError(CommErrorText(A_GetLastError()));
        return;
    }
    for (const std::string& line : MemoryLines(address, buffer.data())) {
        if (l)
            l->addItem(xui::fromCp1252(line));
    }
}

void CMemoryDlg::OnCommand(int id, int code) {
    // Command 2 reads: Escape and the window's close read as well.
    if (id == mv::IDCANCEL) {
        OnRead();
        return;
    }
    xui::CXDialog::OnCommand(id, code);
}

} // namespace morvelan
