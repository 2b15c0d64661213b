#include "xui/info_list_box.h"

#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/font_map.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include <array>

namespace xui {
namespace {

constexpr int kLineRole = Qt::UserRole + 1;

class InfoItemDelegate final : public QStyledItemDelegate {
public:
    explicit InfoItemDelegate(QWidget* list) : QStyledItemDelegate(list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const std::string line = index.data(kLineRole).toByteArray().toStdString();
        const QRect r = option.rect;
        painter->save();
        QtCanvas canvas(*painter);
        canvas.selectFont(controlFont(list_));
        const bool focused = (option.state & QStyle::State_HasFocus) != 0;
        CInfoListBox::drawItem(canvas, mv::RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                               line, focused);
        painter->restore();
    }

private:
    QWidget* list_;
};

} // namespace

CInfoListBox::CInfoListBox(QWidget* parent) : QListWidget(parent) {
    setWindowClassName(this, "ListBox");
    setItemDelegate(new InfoItemDelegate(this));
    setUniformItemSizes(true);
    QPalette pal = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, toQColor(mv::GetSysColor(mv::COLOR_WINDOW)));
    }
    setPalette(pal);
}

void CInfoListBox::AddLine(std::string_view text) {
    auto* item = new QListWidgetItem(fromCp1252(text));
    item->setData(kLineRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    addItem(item);
    setCurrentRow(count() - 1);
    scrollToItem(item);
    viewport()->repaint();
}

bool CInfoListBox::isHeading(std::string_view line) {
    return line.substr(0, 7) == "VERSION" || line.substr(0, 5) == "BOARD";
}

bool CInfoListBox::isWarning(std::string_view line) {
    static constexpr std::array<std::string_view, 6> kMissing = {
        "No FPGA Info",  "No Info",          "No CPU Info",
        "No Power Info", "No Fieldbus Info", "No HW Info"};
    for (std::string_view m : kMissing) {
        if (line.find(m) != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

void CInfoListBox::drawItem(mv::Canvas& canvas, const mv::RECT& rect, std::string_view line,
                            bool focused) {
    canvas.saveState();
    if (isHeading(line)) {
        canvas.fillRect(rect, kNormalColor);
        canvas.setTextColor(kHeadingText);
    } else {
        canvas.fillRect(rect, kLineFill);
        canvas.setTextColor(isWarning(line) ? kWarningColor : kNormalColor);
    }
    canvas.setBkMode(mv::TRANSPARENT);
    canvas.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    canvas.textOut(rect.left + 2, rect.top + 1, line);
    if (focused) {
        canvas.drawFocusRect(rect);
    }
    canvas.restoreState();
}

} // namespace xui
