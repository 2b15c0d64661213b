#include "flash/check_dlg.h"

#include "flash/flash_dialogs.h"
#include "flash/flash_gui.h"
#include "flash/loader/flash_app.h"
#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/dialog_builder.h"
#include "xui/font_map.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimerEvent>

namespace flash {

namespace {

constexpr int kLineRole = Qt::UserRole + 1;

class CCheckItemDelegate final : public QStyledItemDelegate {
public:
    explicit CCheckItemDelegate(QWidget* list) : QStyledItemDelegate(list), m_List(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), CCheckListBox::kItemHeight};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const std::string line = index.data(kLineRole).toByteArray().toStdString();
        const QRect r = option.rect;
        painter->save();
        xui::QtCanvas canvas(*painter);
        canvas.selectFont(xui::controlFont(m_List));
        CCheckListBox::DrawItem(canvas, mv::RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                                line, (option.state & QStyle::State_Selected) != 0,
                                (option.state & QStyle::State_HasFocus) != 0);
        painter->restore();
    }

private:
    QWidget* m_List;
};

void RegisterCheckListBoxClass() {
    static const bool registered = xui::registerWindowClass(
        "CCheckListBox", [](QWidget* parent, const xui::WindowCreateInfo&) {
            return static_cast<QWidget*>(new CCheckListBox(parent));
        });
    (void)registered;
}

void RunCheckDialog(CX740FlashApp& app) {
    CCheckDlg dialog(app);
    dialog.m_Address = app.m_Ipd;
    dialog.exec();
}

} // namespace

CCheckListBox::CCheckListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new CCheckItemDelegate(this));
    setUniformItemSizes(true);
}

void CCheckListBox::DrawItem(mv::Canvas& canvas, const mv::RECT& rect, std::string_view line,
                             bool selected, bool focused) {
    canvas.saveState();
    canvas.fillRect(rect, mv::GetSysColor(selected ? mv::COLOR_HIGHLIGHT : mv::COLOR_WINDOW));
    if (focused) {
        canvas.drawFocusRect(rect);
    }
    canvas.setTextColor(mv::GetSysColor(selected ? mv::COLOR_HIGHLIGHTTEXT : mv::COLOR_MENUTEXT));
    canvas.setBkMode(mv::TRANSPARENT);
    const std::size_t tab = line.find('\t');
    const std::string_view label = line.substr(0, tab);
    canvas.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    canvas.textOut(rect.left + kLabelX, rect.top + kTextY, label);
    if (tab != std::string_view::npos) {
        canvas.setTextAlign(mv::TA_RIGHT | mv::TA_TOP);
        canvas.textOut(rect.left + kValueX, rect.top + kTextY, line.substr(tab + 1));
    }
    canvas.restoreState();
}

CCheckDlg::CCheckDlg(CX740FlashApp& app, QWidget* parent) : QDialog(parent), m_App(app) {
    RegisterCheckListBoxClass();
    RegisterFlashTemplates();
    if (const xui::DialogTemplate* tmpl = xui::findDialogTemplate(kTemplateId)) {
        m_Built = xui::buildDialog(this, *tmpl);
    }
    m_List = qobject_cast<CCheckListBox*>(Item(kListId));
    m_Status = qobject_cast<QLabel*>(Item(kStatusId));
    if (auto* ok = qobject_cast<QAbstractButton*>(Item(mv::IDOK))) {
        connect(ok, &QAbstractButton::clicked, this, [this] { done(mv::IDOK); });
    }
}

QWidget* CCheckDlg::Item(int id) const {
    const auto it = m_Built.items.find(id);
    return it == m_Built.items.end() ? nullptr : it->second;
}

void CCheckDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_Started) {
        m_Started = true;
        m_TimerId = startTimer(kCheckDelayMs);
    }
}

void CCheckDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_TimerId) {
        QDialog::timerEvent(event);
        return;
    }
    killTimer(m_TimerId);
    m_TimerId = 0;
    RunCheck(m_App, m_Address, *this);
}

void CCheckDlg::AddLine(const std::string& text) {
    if (!m_List) {
        return;
    }
    auto* item = new QListWidgetItem(xui::fromCp1252(text));
    item->setData(kLineRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    item->setSizeHint(QSize(0, CCheckListBox::kItemHeight));
    m_List->addItem(item);
    m_List->setCurrentRow(m_List->count() - 1);
    m_List->viewport()->repaint();
}

void CCheckDlg::SetStatus(const std::string& text) {
    if (!m_Status) {
        return;
    }
    m_Status->setText(xui::fromCp1252(text));
    m_Status->repaint();
}

void RegisterCheckDialog() {
    SetCheckDialog(&RunCheckDialog);
}

} // namespace flash
