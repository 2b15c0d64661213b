#include "flash/check_dlg.h"

#include "flash/flash_gui.h"
#include "flash/loader/flash_app.h"
#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/font_map.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimerEvent>
#include <QVBoxLayout>

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

CCheckDlg::CCheckDlg(CX740FlashApp& app, QWidget* parent)
    : QDialog(parent), m_App(app), m_List(new CCheckListBox(this)), m_Status(new QLabel(this)) {
    setWindowTitle("Check");
    mv::FontDesc font;
    font.face = "MS Sans Serif";
    font.height = -11;
    xui::setControlFont(this, font);
    m_List->setObjectName(QString::number(kListId));
    m_Status->setObjectName(QString::number(kStatusId));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(QString::number(1));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_List);
    layout->addWidget(m_Status);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    resize(260, 260);
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
    auto* item = new QListWidgetItem(xui::fromCp1252(text));
    item->setData(kLineRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    item->setSizeHint(QSize(0, CCheckListBox::kItemHeight));
    m_List->addItem(item);
    m_List->setCurrentRow(m_List->count() - 1);
    m_List->viewport()->repaint();
}

void CCheckDlg::SetStatus(const std::string& text) {
    m_Status->setText(xui::fromCp1252(text));
    m_Status->repaint();
}

void RegisterCheckDialog() {
    SetCheckDialog(&RunCheckDialog);
}

} // namespace flash
