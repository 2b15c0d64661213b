#include "panel/ui/etype_dlg.h"

#include "panel/core/panel_app.h"
#include "panel/core/text_parsers.h"
#include "panel/ui/panel_message.h"
#include "panel/ui/panel_templates.h"
#include "panel/ui/prompts.h"
#include "services/include/X740_Core.h"
#include "xui/multiline_text.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QPlainTextEdit>

#include <vector>

namespace x740panel {
namespace {

constexpr const char* kCaption = "eType";

void Report(bool ok, const char* success, const char* failure) {
    ShowPanelMessage(kCaption, ok ? success : failure, ok);
}

} // namespace

CETypeDlg::CETypeDlg(QWidget* parent) : CXDialog(kETypeDlgTemplate, parent) {}

bool CETypeDlg::OnInitDialog() {
    xui::setWindowText(item(kComponentIdEditId), QStringLiteral("0"));
    xui::setWindowText(item(kTypeIdEditId), QStringLiteral("0"));
    if (theApp().m_EType == 0) {
        for (int id : {kWriteIdentCodeId, kDeleteIdentCodeId, kDeleteIdentFileId,
                       kStoreIdentFileId}) {
            if (QWidget* button = item(id)) {
                button->hide();
            }
        }
    }
    return true;
}

void CETypeDlg::OnPaint(mv::Canvas& dc) {
    PaintLabels(*this, dc, {kComponentIdLabelId, kTypeIdLabelId, kIdentCodeLabelId});
}

bool CETypeDlg::ReadIds(std::uint32_t& component, std::uint32_t& type) {
    int c = 0, t = 0;
    if (ParseDecimal(xui::toCp1252(xui::windowText(item(kComponentIdEditId))), c) == 0 ||
        ParseDecimal(xui::toCp1252(xui::windowText(item(kTypeIdEditId))), t) == 0) {
        ShowPanelMessage(kCaption, "ComponentID and TypeID must be numbers", false);
        return false;
    }
    component = static_cast<std::uint32_t>(c);
    type = static_cast<std::uint32_t>(t);
    return true;
}

void CETypeDlg::OnCommand(int id, int code) {
    const LinkHandle h = theApp().m_Handle;
    std::uint32_t component = 0, type = 0;
    switch (id) {
    case kReadIdentCodeId: {
        if (!ReadIds(component, type)) {
            return;
        }
        std::vector<char> text(kIdentCodeMax, '\0');
        if (A_X740_ReadModulIdentCode(h, component, type, text.data(), kIdentCodeMax) == 1) {
            xui::setMultiLineText(item(kIdentCodeEditId), text.data());
        } else {
            ShowPanelMessage(kCaption, "Error reading IdentCode", false);
        }
        return;
    }
    case kWriteIdentCodeId: {
        if (!ReadIds(component, type)) {
            return;
        }
        std::string code = xui::multiLineText(item(kIdentCodeEditId));
        code.resize(std::min<std::size_t>(code.size(), kIdentCodeMax));
        Report(A_X740_WriteModulIdentCode(h, component, type, code.c_str()) == 1,
               "Successfully stored IdentCode", "Error writing IdentCode");
        return;
    }
    case kDeleteIdentCodeId:
        if (!ReadIds(component, type)) {
            return;
        }
        Report(A_X740_DeleteModulIdentCode(h, component) == 1, "Successfully deleted IdentCode",
               "Error deleting IdentCode");
        return;
    case kDeleteIdentFileId:
        Report(A_X740_DeleteModulIdentFile(h) == 1, "Successfully deleted module ident file",
               "Error deleting module ident file");
        return;
    case kStoreIdentFileId:
        Report(A_X740_StoreModulIdentFile(h) == 1, "Successfully stored module ident file",
               "Error storing module ident file");
        return;
    default:
        CXDialog::OnCommand(id, code);
    }
}

} // namespace x740panel
