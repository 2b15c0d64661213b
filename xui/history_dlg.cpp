#include "xui/history_dlg.h"

#include "xui/font_map.h"
#include "xui/modal_cursor.h"
#include "xui/qt_text.h"

#include <QAbstractButton>
#include <QListWidget>

namespace xui {

namespace {

constexpr std::uint32_t kButton = mv::WS_CHILD | mv::WS_VISIBLE | mv::WS_TABSTOP;
constexpr std::uint32_t kList = mv::WS_CHILD | mv::WS_VISIBLE | mv::WS_TABSTOP | mv::WS_VSCROLL;
constexpr int kListFontHeight = -12;

} // namespace

DialogTemplate historyDlgTemplate(int id, const char* caption) {
    return modalDialogTemplate(
        id, caption, 459, 215,
        {
            {"ListBox", kHistoryList, "", 7, 7, 445, 180, kList},
            {"Button", mv::IDOK, "OK", 328, 194, 58, 14, kButton | mv::BS_DEFPUSHBUTTON},
            {"Button", mv::IDCANCEL, "Abbrechen", 394, 194, 58, 14, kButton},
        });
}

CHistoryDlg::CHistoryDlg(int templateId, std::vector<std::string> lines, QWidget* parent)
    : QDialog(parent), lines_(std::move(lines)) {
    if (const DialogTemplate* tmpl = findDialogTemplate(templateId)) {
        built_ = buildDialog(this, *tmpl);
    }
    if (auto* ok = qobject_cast<QAbstractButton*>(item(mv::IDOK))) {
        connect(ok, &QAbstractButton::clicked, this, [this] { done(mv::IDOK); });
    }
    if (auto* cancel = qobject_cast<QAbstractButton*>(item(mv::IDCANCEL))) {
        connect(cancel, &QAbstractButton::clicked, this, [this] { done(mv::IDCANCEL); });
    }
}

QWidget* CHistoryDlg::item(int id) const {
    const auto it = built_.items.find(id);
    return it == built_.items.end() ? nullptr : it->second;
}

QListWidget* CHistoryDlg::list() const {
    return qobject_cast<QListWidget*>(item(kHistoryList));
}

void CHistoryDlg::OnInitDialog() {
    if (initialised_) {
        return;
    }
    initialised_ = true;
    QListWidget* box = list();
    if (!box) {
        return;
    }
    mv::FontDesc font;
    font.face = "Courier New";
    font.height = kListFontHeight;
    font.weight = 400;
    setControlFont(box, font);
    box->setFont(screenFont(font));
    for (const std::string& line : lines_) {
        box->addItem(fromCp1252(line));
    }
}

int CHistoryDlg::DoModal() {
    OnInitDialog();
    int result = 0;
    {
        const ModalCursorLift lift;
        result = exec();
    }
    return result == mv::IDOK ? mv::IDOK : mv::IDCANCEL;
}

} // namespace xui
