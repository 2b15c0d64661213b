#include "morvelan/ui/info_list_dlg.h"

#include "morvelan/ui/main_frame.h"
#include "xui/qt_text.h"

#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextOption>

#include <cstdio>

namespace morvelan {

namespace {

using namespace mv;

constexpr std::uint32_t kDialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;

// Draws a line with its tabs at fixed stops.
class TabStopDelegate : public QStyledItemDelegate {
public:
    TabStopDelegate(int tabPixels, QObject* parent)
        : QStyledItemDelegate(parent), tabPixels_(tabPixels) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        opt.widget->style()->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
        textOption.setTabStopDistance(tabPixels_);
        textOption.setWrapMode(QTextOption::NoWrap);
        painter->save();
        painter->setPen(opt.palette.color((opt.state & QStyle::State_Selected) != 0
                                              ? QPalette::HighlightedText
                                              : QPalette::Text));
        painter->drawText(QRectF(opt.rect.adjusted(2, 0, 0, 0)), text, textOption);
        painter->restore();
    }

private:
    int tabPixels_;
};

} // namespace

xui::DialogTemplate infoListDlgTemplate() {
    return {IDD_INFO_LIST,
            "Info",
            "MS Shell Dlg",
            8,
            0,
            0,
            470,
            270,
            kDialogStyle,
            {
                {"ListBox", IDC_INFO_LIST, "", 7, 7, 456, 236,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL},
                {"XBUTTON", IDOK, "OK", 413, 249, 50, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            }};
}

CInfoListDlg::CInfoListDlg(CMainFrame* frame, QWidget* parent)
    : xui::CXDialog(IDD_INFO_LIST, parent) {
    if (frame) {
        m_ResumeOnPaint = [frame] { frame->ResumePolling(); };
    }
}

QListWidget* CInfoListDlg::list() const { return itemAs<QListWidget>(IDC_INFO_LIST); }

std::string CInfoListDlg::FormatEntry(const Entry& entry) {
    char number[16];
    std::snprintf(number, sizeof number, "%5d", entry.first);
    return std::string(number) + "\t" + entry.second;
}

bool CInfoListDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    QListWidget* box = list();
    if (!box) {
        return true;
    }
    // Tab stops every 32 dialog units.
    const int tabPixels = xui::dluToPixelsX(kInfoListTabStop);
    box->setItemDelegate(new TabStopDelegate(tabPixels, box));
    for (const Entry& entry : m_Entries) {
        box->addItem(xui::fromCp1252(FormatEntry(entry)));
    }
    return true;
}

void CInfoListDlg::OnPaint(mv::Canvas& /*dc*/) {
    if (m_ResumeOnPaint) {
        m_ResumeOnPaint();
    }
}

} // namespace morvelan
