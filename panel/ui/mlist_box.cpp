#include "panel/ui/mlist_box.h"

#include "platform/sys_colors.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/font_map.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace x740panel {
namespace {

// The part of a line that is drawn: its second field, up to a second tab; none without a tab.
std::string DrawnField(const std::string& line) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) {
        return {};
    }
    const std::size_t end = line.find('\t', tab + 1);
    return line.substr(tab + 1, end == std::string::npos ? std::string::npos : end - tab - 1);
}

// Room kept after the end of the widest line.
constexpr int kExtentMargin = 4;

class LogLineDrawer final : public QStyledItemDelegate {
public:
    explicit LogLineDrawer(CMListBox* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        // As wide as the list, or as the widest line when wider: the list then scrolls
        // sideways to show it whole.
        return QSize(std::max(list_->viewport()->width(), list_->HorizontalExtent()),
                     kLogItemHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect r = option.rect;
        const std::string line = list_->Line(index.row());
        const mv::COLORREF color = CMListBox::TextColor(line);
        const bool own = color != mv::GetSysColor(mv::COLOR_MENUTEXT);
        const auto draw = [&](const std::string& text, mv::COLORREF colour) {
            painter->setFont(list_->font());
            painter->setPen(xui::toQColor(colour));
            painter->drawText(QRect(r.left() + kLogTextIndent, r.top() + 1,
                                    r.width() - kLogTextIndent, r.height() - 1),
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                              xui::fromCp1252(text));
        };
        if (const std::string* transient = list_->TransientText(index.row())) {
            // Drawn in place of the line, on the list's background, until the line is next
            // repainted.
            painter->fillRect(r, xui::toQColor(mv::GetSysColor(mv::COLOR_WINDOW)));
            draw(*transient, mv::GetSysColor(mv::COLOR_WINDOWTEXT));
        } else {
            painter->fillRect(r,
                              xui::toQColor(own ? 0xFFFFFF : mv::GetSysColor(mv::COLOR_WINDOW)));
            draw(DrawnField(line), color);
        }
        if ((option.state & QStyle::State_HasFocus) != 0) {
            QPen pen(Qt::DotLine);
            painter->setPen(pen);
            painter->drawRect(r.adjusted(0, 0, -1, -1));
        }
    }

private:
    CMListBox* list_;
};

} // namespace

CMListBox::CMListBox(QWidget* parent) : QListWidget(parent) {
    xui::setWindowClassName(this, "CMListBox");
    setSelectionMode(QAbstractItemView::NoSelection);
    setUniformItemSizes(true);
    setItemDelegate(new LogLineDrawer(this));
    ApplyLogFont();
}

void CMListBox::ApplyLogFont() {
    setFont(xui::screenFont(mv::FontDesc{"Courier New", -11, mv::FW_NORMAL}));
    xui::setControlFont(this, mv::FontDesc{"Courier New", -11, mv::FW_NORMAL});
    extent_ = 0;
    for (int i = 0; i < count(); ++i) {
        WidenFor(Line(i));
    }
}

void CMListBox::WidenFor(const std::string& line) {
    const std::string field = DrawnField(line);
    if (field.empty()) {
        return;
    }
    const int width = kLogTextIndent + fontMetrics().horizontalAdvance(xui::fromCp1252(field)) +
                      kExtentMargin;
    if (width > extent_) {
        extent_ = width;
        scheduleDelayedItemsLayout();
    }
}

CMListBox::~CMListBox() = default;

void CMListBox::AddLine(const std::string& line, std::unique_ptr<LogItemRecord> record) {
    addItem(xui::fromCp1252(line));
    records_.push_back(std::move(record));
    WidenFor(line);
    setCurrentRow(count() - 1);
}

void CMListBox::DeleteLastLine() {
    if (count() == 0) {
        return;
    }
    delete takeItem(count() - 1);
    records_.pop_back();
    if (transientRow_ >= count()) {
        transientRow_ = -1;
    }
}

void CMListBox::ClearLines() {
    clear();
    records_.clear();
    transientRow_ = -1;
    extent_ = 0;
}

std::string CMListBox::Line(int index) const {
    const QListWidgetItem* it = item(index);
    return it != nullptr ? xui::toCp1252(it->text()) : std::string();
}

const LogItemRecord* CMListBox::Record(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) {
        return nullptr;
    }
    return records_[static_cast<std::size_t>(index)].get();
}

mv::COLORREF CMListBox::TextColor(const std::string& line) {
    switch (line.empty() ? '\0' : line[0]) {
    case 'E': return kLogColorError;
    case 'O': return kLogColorOk;
    case 'F': return kLogColorFtp;
    case 'W': return kLogColorWarning;
    default: return mv::GetSysColor(mv::COLOR_MENUTEXT);
    }
}

const std::string* CMListBox::TransientText(int row) const {
    return row == transientRow_ ? &transient_ : nullptr;
}

void CMListBox::ShowTransientLine(const std::string& text) {
    if (count() == 0) {
        return;
    }
    const QRect r = visualItemRect(item(count() - 1));
    if (r.top() + 1 >= viewport()->height()) {
        return;
    }
    transient_ = text;
    transientRow_ = count() - 1;
    viewport()->repaint(r);
    transientRow_ = -1;
}

void CMListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (QListWidgetItem* it = itemAt(event->position().toPoint())) {
        setCurrentItem(it);
    }
    xui::postCommand(this, kLogDoubleClickCode);
}

bool RegisterLogListClass() {
    return xui::registerWindowClass("CMListBox", [](QWidget* parent, const xui::WindowCreateInfo&) {
        return new CMListBox(parent);
    });
}

} // namespace x740panel
