#include "morvelan/online/online_set_dlg.h"

#include "catalogue/module_description.h"
#include "morvelan/core/app_hooks.h"
#include "morvelan/core/channel_module.h"
#include "morvelan/core/param_number.h"
#include "xui/command.h"
#include "xui/font_map.h"
#include "xui/qt_canvas.h"
#include "xui/qt_text.h"
#include "xui/window_class.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace morvelan {

namespace {

constexpr int kEditTop = 5;
constexpr int kEditLeftGap = 5;
constexpr int kEditRightGap = 55;
constexpr int kNameX = 10;
constexpr int kScrollWidth = 16;
constexpr int kCreateRange = 100;
constexpr int kIdleTimerMs = 10;
constexpr mv::COLORREF kFill = 0xDEBF97;
constexpr mv::COLORREF kWhite = 0xFFFFFF;
constexpr mv::COLORREF kBlack = 0x000000;
constexpr int kAlignLeft = 0;

} // namespace

const xui::DialogTemplate& onlineSetTemplate() {
    using namespace mv;
    static const xui::DialogTemplate t = xui::modalDialogTemplate(
        kOnlineSetTemplate, "Online", 364, 122,
        {
            {"XBUTTON", IDOK, "OK", 282, 98, 75, 17, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            {kOnlineModulSetDataClass, kSetWindow, "", 7, 23, 234, 92,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            // Painted by the dialog as label boxes.
            {"Static", kSetNumberLabel, "", 7, 7, 70, 15, WS_CHILD | SS_LEFT},
            {"Static", kSetNameLabel, "", 77, 7, 164, 15, WS_CHILD | SS_LEFT},
        });
    return t;
}

bool RegisterOnlineModulSetDataClass() {
    return xui::registerWindowClass(kOnlineModulSetDataClass,
                                    [](QWidget* parent, const xui::WindowCreateInfo&) {
                                        return new COnlineModulSetData(parent);
                                    });
}

std::string SetEditText(const std::string& typed) {
    if (typed.empty() || (typed.back() != 'h' && typed.back() != 'H'))
        return typed;
    const std::string digits = typed.substr(0, typed.size() - 1);
    // strtoull saturates at its own limit; past 32 bits the value saturates at ours.
    const unsigned long long v = std::strtoull(digits.c_str(), nullptr, 16);
    const auto value = static_cast<unsigned>(std::min<unsigned long long>(v, 0xFFFFFFFFull));
    return mv::FormatC("%ul", value);
}

// ---- COnlineModulSetData ----------------------------------------------------------------

COnlineModulSetData::COnlineModulSetData(QWidget* parent) : QWidget(parent) {
    xui::setWindowClassName(this, kOnlineModulSetDataClass);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setRange(0, kCreateRange);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->show();
    connect(scroll_, &QScrollBar::actionTriggered, this, &COnlineModulSetData::OnVScroll);
}

COnlineModulSetData::~COnlineModulSetData() {
    // A window destroyed without its dialog ending still hands its values back.
    ParseBack();
}

void COnlineModulSetData::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Inside the client rectangle shrunk by one pixel on each side, at its right edge.
    const int h = std::max(0, height() - 2);
    scroll_->setGeometry(std::max(1, width() - 1 - kScrollWidth), 1, kScrollWidth, h);
}

void COnlineModulSetData::CreateValueEdits() {
    for (QLineEdit* e : edits_)
        delete e;
    edits_.clear();
    if (!module_)
        return;
    auto* dlg = qobject_cast<xui::CXDialog*>(parentWidget());
    QWidget* name = dlg ? dlg->item(kSetNameLabel) : nullptr;
    int left = kEditLeftGap;
    int right = width() - kEditRightGap;
    QFont font = this->font();
    if (name) {
        const QPoint topLeft = name->mapTo(parentWidget(), QPoint(0, 0)) - pos();
        left = topLeft.x() + kEditLeftGap;
        right = topLeft.x() + name->width() - kEditRightGap;
        font = xui::screenFont(xui::controlFont(name));
    }
    editLeft_ = left;
    const int height = QFontMetrics(font).height() + 4;
    const int rows = std::min(module_->ChannelCount(), kSetMaxRows);
    for (int i = 0; i < rows; ++i) {
        const CModulChannel& ch = module_->Channel(i);
        auto* e = new QLineEdit(this);
        xui::setControlId(e, kSetFirstEdit + i);
        e->setFont(font);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, Qt::white);
        e->setPalette(pal);
        e->setGeometry(left, kSetRowHeight * i + kEditTop, std::max(1, right - left), height);
        e->setText(xui::fromCp1252(ch.value.ToText(ch.dataType)));
        e->installEventFilter(this);
        e->show();
        edits_.push_back(e);
    }
    PlaceEdits();
    if (!edits_.empty())
        edits_.front()->setFocus();
    focus_ = 0;
}

void COnlineModulSetData::PlaceEdits() {
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        QLineEdit* e = edits_[i];
        e->move(editLeft_, kSetRowHeight * (static_cast<int>(i) - firstRow_) + kEditTop);
    }
}

void COnlineModulSetData::ParseBack() {
    if (parsed_ || !module_)
        return;
    parsed_ = true;
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        const int index = static_cast<int>(i);
        if (index >= module_->ChannelCount())
            break;
        CModulChannel& ch = module_->Channel(index);
        ch.value.FromText(SetEditText(xui::toCp1252(edits_[i]->text())), ch.dataType);
    }
}

bool COnlineModulSetData::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !edits_.empty()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_Tab && mods == Qt::NoModifier) {
            focus_ = (focus_ + 1) % static_cast<int>(edits_.size());
            edits_[static_cast<std::size_t>(focus_)]->setFocus(Qt::TabFocusReason);
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            mods == Qt::NoModifier) {
            // Enter only moves the focus to the dialog's default button.
            auto* dlg = qobject_cast<xui::CXDialog*>(parentWidget());
            if (QWidget* ok = dlg ? dlg->item(mv::IDOK) : nullptr)
                ok->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void COnlineModulSetData::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (!edits_.empty())
        edits_.front()->setFocus(event->reason());
}

void COnlineModulSetData::OnVScroll(int action) {
    if (action == QAbstractSlider::SliderSingleStepSub) {
        if (firstRow_ > 0)
            --firstRow_;
    } else if (action == QAbstractSlider::SliderSingleStepAdd) {
        // Rows past the last channel stay empty; the first row never passes the count.
        if (firstRow_ < static_cast<int>(edits_.size()))
            ++firstRow_;
    }
    scroll_->setSliderPosition(firstRow_);
    PlaceEdits();
    update();
}

void COnlineModulSetData::timerEvent(QTimerEvent* event) {
    // The first paint's timer keeps ticking; its ticks change nothing.
    static_cast<void>(event);
}

void COnlineModulSetData::paintEvent(QPaintEvent* /*event*/) {
    if (painted_ == 0) {
        painted_ = 1;
        timerId_ = startTimer(kIdleTimerMs);
    }
    QPainter painter(this);
    xui::QtCanvas dc(painter);
    const mv::RECT client{0, 0, width(), height()};
    dc.fillRect(client, kFill);
    dc.frameRect(client, kWhite);
    if (!module_)
        return;
    const QWidget* owner = parentWidget() ? parentWidget() : this;
    dc.selectFont(xui::controlFont(owner));
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(kBlack);
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    const int rows = static_cast<int>(edits_.size());
    for (int r = firstRow_; r < rows; ++r) {
        const int y = kEditTop + kSetRowHeight * (r - firstRow_);
        if (y >= height())
            break;
        dc.textOut(kNameX, y, module_->Channel(r).name);
    }
}

// ---- COnlineSetDlg ------------------------------------------------------------------------

COnlineSetDlg::COnlineSetDlg(const CModuleDescription* description, int moduleNumber, int row,
                             CChannelModule* module, QWidget* parent)
    : xui::CXDialog((static_cast<void>(RegisterOnlineModulSetDataClass()), onlineSetTemplate()),
                    parent),
      description_(description), moduleNumber_(moduleNumber), row_(row), module_(module) {}

COnlineModulSetData* COnlineSetDlg::setWindow() const {
    return itemAs<COnlineModulSetData>(kSetWindow);
}

bool COnlineSetDlg::OnInitDialog() {
    xui::CXDialog::OnInitDialog();
    if (COnlineModulSetData* w = setWindow()) {
        w->SetModule(module_);
        w->CreateValueEdits();
        w->scrollBar()->setRange(0, w->EditCount());
    }
    if (QWidget* name = item(kSetNameLabel))
        xui::setWindowText(name, xui::fromCp1252(description_ ? description_->m_DisplayName : ""));
    if (QWidget* number = item(kSetNumberLabel)) {
        const std::string text =
            moduleNumber_ < 0
                ? std::string()
                : mv::FormatC("%s : %d", mv::LanguageText(kTextModuleNumber).c_str(), moduleNumber_);
        xui::setWindowText(number, xui::fromCp1252(text));
    }
    return true;
}

void COnlineSetDlg::OnPaint(mv::Canvas& dc) {
    xui::CXDialog::OnPaint(dc);
    for (int id : {kSetNumberLabel, kSetNameLabel}) {
        if (QWidget* w = item(id))
            PaintStaticBox(dc, w, kAlignLeft, kFill, kBlack, kWhite);
    }
}

void COnlineSetDlg::done(int result) {
    // The values are in the module before the dialog's run returns, however it ended.
    if (COnlineModulSetData* w = setWindow())
        w->ParseBack();
    xui::CXDialog::done(result);
}

} // namespace morvelan
