#include "morvelan/online/online_modul_data.h"

#include "morvelan/core/channel_module.h"
#include "morvelan/core/param_number.h"
#include "morvelan/core/text_font.h"
#include "morvelan/online/online_pictures.h"
#include "morvelan/online/online_set_dlg.h"
#include "xui/bitmaps.h"
#include "xui/color_sel_edit.h"
#include "xui/colorref.h"
#include "xui/command.h"
#include "xui/font_map.h"
#include "xui/qt_canvas.h"
#include "xui/window_class.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace morvelan {

namespace {

constexpr int kScrollBarWidth = 16;
constexpr int kMaxMaskDigits = 8;
constexpr int kMaxDecimals = 7;
// The white box of a value cell.
constexpr int kCellBoxLeft = 114;
constexpr int kCellBoxRight = 283;
constexpr int kNameX = 10;
constexpr int kUnitX = 290;
constexpr int kMaskLabelX = 325;
constexpr int kMaskEditX = 400;
constexpr int kMaskEditWidth = 75;
constexpr int kMaskEditHeight = 20;
constexpr int kMaskSymbolX = 96;
constexpr int kTextTop = 12;
constexpr mv::COLORREF kBarColour = 0x800000;

int RowTop(int row) {
    return kGridRowHeight * row;
}

// Places a value of its type needs, sign included.
int TypeDigits(int type) {
    switch (type) {
    case kTypeBool: return 1;
    case kTypeUInt8: return 3;
    case kTypeUInt16: return 5;
    case kTypeUInt32: return 10;
    case kTypeInt8: return 4;
    case kTypeInt16: return 6;
    case kTypeInt32: return 11;
    default: return 1;
    }
}

// Decimals of a scale that is 0.1, 0.01, ... 0.0000001; 0 for any other scale.
int ScaleDecimals(float scale) {
    for (int n = 1; n <= kMaxDecimals; ++n) {
        if (std::fabs(static_cast<double>(scale) * std::pow(10.0, n) - 1.0) < 1e-4)
            return n;
    }
    return 0;
}

mv::PixelImage ToPixels(const QImage& image) {
    mv::PixelImage out;
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    out.width = img.width();
    out.height = img.height();
    out.pixels.reserve(static_cast<std::size_t>(out.width * out.height));
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x)
            out.pixels.push_back(xui::colorrefFromRgb(img.pixel(x, y)));
    }
    return out;
}

// The mask symbol as the grid shows it: green drawn black, black drawn white (light yellow
// while the masks are edited).
mv::PixelImage MaskPicture(bool editing) {
    QImage img = xui::bitmapResource(kBitmapMask);
    if (img.isNull())
        return {};
    img = xui::replaceColor(img, 0x000000, editing ? 0xC0FFFF : 0xFFFFFF);
    img = xui::replaceColor(img, 0x00FF00, 0x000000);
    return ToPixels(img);
}

// Opens the set window of a value channel; the new values are in the module when it returns.
void RunValueSetWindow(QWidget* parent, const CModuleDescription* description, int moduleNumber,
                       int row, CChannelModule& module) {
    COnlineSetDlg dlg(description, moduleNumber, row, &module, parent);
    dlg.DoModal();
}

} // namespace

bool RegisterOnlineModulData() {
    RegisterOnlinePictures();
    return xui::registerWindowClass(kOnlineModulDataClass,
                                    [](QWidget* parent, const xui::WindowCreateInfo&) {
                                        return new COnlineModulData(parent);
                                    });
}

std::string FormatLcdValue(std::int64_t raw, int decimals, int digits) {
    const int n = std::clamp(decimals, 0, kMaxDecimals);
    if (n == 0)
        return mv::FormatC("%*lld", digits, static_cast<long long>(raw));
    return mv::FormatC("%*.*f", digits + n + 1, n,
                       static_cast<double>(raw) / std::pow(10.0, n));
}

std::string LcdValueText(const CModulChannel& ch) {
    const std::int32_t v = ch.value.GetAsInt(ch.dataType);
    const std::int64_t raw = CParamValue::IsSignedType(ch.dataType)
                                 ? static_cast<std::int64_t>(v)
                                 : static_cast<std::int64_t>(static_cast<std::uint32_t>(v));
    return FormatLcdValue(raw, ScaleDecimals(ch.scale), TypeDigits(ch.dataType));
}

std::int32_t ParseMaskText(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c == ' ' && digits.empty())
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)) ||
            static_cast<int>(digits.size()) == kMaxMaskDigits)
            break;
        digits += c;
    }
    const unsigned long v = std::strtoul(digits.c_str(), nullptr, 16);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
}

COnlineModulData::COnlineModulData(QWidget* parent) : QWidget(parent) {
    xui::setWindowClassName(this, kOnlineModulDataClass);
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_ = mv::FontDesc{"Courier New", 12};
    changed_ = 1;
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setRange(0, 0);
    scroll_->setSingleStep(1);
    connect(scroll_, &QScrollBar::actionTriggered, this, [this](int action) {
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub: OnVScroll(kScrollLineUp); break;
        case QAbstractSlider::SliderSingleStepAdd: OnVScroll(kScrollLineDown); break;
        case QAbstractSlider::SliderPageStepSub: OnVScroll(kScrollPageUp); break;
        case QAbstractSlider::SliderPageStepAdd: OnVScroll(kScrollPageDown); break;
        default: break;
        }
        // The grid decides where the bar stands.
        scroll_->setSliderPosition(firstRow_);
    });
    scroll_->show();
}

COnlineModulData::~COnlineModulData() {
    if (registry_)
        registry_->ClearOnlineGrid();
    WriteMasksBack();
}

int COnlineModulData::ChannelCount() const {
    return module_ ? module_->ChannelCount() : 0;
}

void COnlineModulData::SetModule(CChannelModule* module, int moduleNumber,
                                 const CModuleDescription* description) {
    module_ = module;
    moduleNumber_ = moduleNumber;
    description_ = description;
    lastDrawn_.assign(static_cast<std::size_t>(ChannelCount()), CParamValue());
    Refresh();
}

void COnlineModulData::SetScrollRange(int max) {
    scroll_->setRange(0, std::max(0, max));
}

xui::CColorSelEdit* COnlineModulData::MaskEdit(int channel) const {
    if (channel < 0 || channel >= static_cast<int>(maskEdits_.size()))
        return nullptr;
    return maskEdits_[static_cast<std::size_t>(channel)];
}

void COnlineModulData::Refresh() {
    for (std::size_t i = 0; i < lastDrawn_.size() && module_; ++i) {
        lastDrawn_[i] = module_->Channel(static_cast<int>(i)).value;
        lastDrawn_[i].Data()[0] ^= 0xFF; // differs from the value now
    }
    changed_ = 1;
    surfaceStale_ = true;
    update();
}

void COnlineModulData::SetMaskMode(int on) {
    maskMode_ = on ? 1 : 0;
    if (maskMode_ && maskEdits_.empty()) {
        for (int i = 0; i < ChannelCount(); ++i) {
            auto* e = new xui::CColorSelEdit(this);
            e->SetAllowedChars(xui::CColorSelEdit::kHexChars);
            e->setMaxLength(kMaxMaskDigits);
            e->setText(QString::fromLatin1(
                mv::FormatC("%8X", static_cast<unsigned>(module_->GetChannelMask(i))).c_str()));
            maskEdits_.push_back(e);
        }
    } else if (!maskMode_) {
        for (xui::CColorSelEdit* e : maskEdits_)
            delete e;
        maskEdits_.clear();
    }
    LayoutMaskEdits();
    surfaceStale_ = true;
    update();
}

void COnlineModulData::ReadMasks() {
    for (int i = 0; i < static_cast<int>(maskEdits_.size()) && module_; ++i) {
        module_->SetChannelMask(
            i, ParseMaskText(maskEdits_[static_cast<std::size_t>(i)]->text().toStdString()));
    }
    Refresh();
}

void COnlineModulData::WriteMasksBack() {
    for (int i = 0; i < static_cast<int>(maskEdits_.size()) && module_; ++i) {
        module_->SetChannelMask(
            i, ParseMaskText(maskEdits_[static_cast<std::size_t>(i)]->text().toStdString()));
    }
}

void COnlineModulData::LayoutMaskEdits() {
    for (int i = 0; i < static_cast<int>(maskEdits_.size()); ++i) {
        const int row = i - firstRow_;
        xui::CColorSelEdit* e = maskEdits_[static_cast<std::size_t>(i)];
        e->setGeometry(kMaskEditX, RowTop(row) + kValueFieldTop, kMaskEditWidth,
                       kMaskEditHeight);
        e->setVisible(row >= 0 && RowTop(row) + kValueFieldTop < height());
    }
}

void COnlineModulData::OnVScroll(int code) {
    if (code == kScrollLineUp) {
        if (firstRow_ > 0)
            --firstRow_;
    } else if (code == kScrollLineDown) {
        // Rows past the last channel stay empty; the first row stops at the channel count.
        if (firstRow_ < ChannelCount())
            ++firstRow_;
    }
    scroll_->setSliderPosition(firstRow_);
    changed_ = 1;
    LayoutMaskEdits();
    surfaceStale_ = true;
    update();
}

void COnlineModulData::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    // Inside the client area shrunk by one pixel, at its right edge.
    scroll_->setGeometry(width() - 1 - kScrollBarWidth, 1, kScrollBarWidth,
                         std::max(0, height() - 2));
    LayoutMaskEdits();
    surfaceStale_ = true;
}

void COnlineModulData::paintEvent(QPaintEvent*) {
    if (registry_)
        registry_->SetOnlineGrid(&redraw_);
    if (surfaceStale_ || surface_.size() != size()) {
        surface_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        QPainter p(&surface_);
        xui::QtCanvas dc(p);
        OnPaint(dc);
        surfaceStale_ = false;
    }
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

void COnlineModulData::OnPaint(mv::Canvas& dc) {
    const mv::RECT client{0, 0, width(), height()};
    dc.fillRect(client, kGridBackground);
    dc.frameRect(client, 0xFFFFFF);
    dc.saveState();
    // Names, units and mask labels in the dialog's font.
    dc.selectFont(xui::controlFont(parentWidget() ? parentWidget() : this));
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(0x000000);
    dc.setTextAlign(mv::TA_LEFT | mv::TA_TOP);
    const mv::PixelImage mask = MaskPicture(maskMode_ != 0);
    for (int i = firstRow_; i < ChannelCount(); ++i) {
        const int row = i - firstRow_;
        const int top = RowTop(row);
        if (top >= height())
            break;
        const CModulChannel& ch = module_->Channel(i);
        dc.textOut(kNameX, top + kTextTop, ch.name);
        dc.textOut(kUnitX, top + kTextTop, ch.unit);
        if (maskMode_)
            dc.textOut(kMaskLabelX, top + kTextTop, kMaskLabel);
        if (mask.width > 0)
            dc.drawImage(kMaskSymbolX, top + kBitBoxTop, mask);
        const mv::RECT box{kCellBoxLeft, top + kValueFieldTop - 1, kCellBoxRight,
                           top + kValueFieldBottom + 1};
        dc.fillRect(box, 0xFFFFFF);
        dc.frameRect(box, 0x000000);
    }
    dc.restoreState();
    // Every cell of the new surface is drawn.
    changed_ = 1;
    for (int i = firstRow_; i < ChannelCount() && RowTop(i - firstRow_) < height(); ++i)
        DrawRow(dc, i, i - firstRow_);
    changed_ = 0;
}

void COnlineModulData::RedrawValues() {
    if (!module_ || surface_.isNull() || surfaceStale_) {
        update();
        changed_ = 0;
        return;
    }
    {
        QPainter p(&surface_);
        xui::QtCanvas dc(p);
        for (int i = firstRow_; i < ChannelCount() && RowTop(i - firstRow_) < height(); ++i)
            DrawRow(dc, i, i - firstRow_);
    }
    changed_ = 0;
    update();
}

void COnlineModulData::DrawRow(mv::Canvas& dc, int channel, int row) {
    CModulChannel& ch = module_->Channel(channel);
    CParamValue& last = lastDrawn_[static_cast<std::size_t>(channel)];
    if (!changed_ && !(ch.value != last))
        return;
    last = ch.value;
    ++cellsDrawn_;
    const int top = RowTop(row);
    dc.saveState();
    dc.fillRect(mv::RECT{kCellBoxLeft + 1, top + kValueFieldTop, kCellBoxRight - 1,
                         top + kValueFieldBottom + 1},
                0xFFFFFF);
    switch (ch.mode) {
    case kGridModeBits: DrawBits(dc, ch, row); break;
    case kGridModeDisplay: DrawDisplay(dc, ch, row); break;
    case kGridModeValue:
        DrawLcdText(dc,
                    mv::RECT{kCellBoxLeft + 2, top + kValueFieldTop + 1, kValueFieldRight - 1,
                             top + kValueFieldBottom - 1},
                    LcdValueText(ch));
        break;
    default: break;
    }
    dc.restoreState();
}

void COnlineModulData::DrawBits(mv::Canvas& dc, const CModulChannel& ch, int row) {
    const int top = RowTop(row);
    const std::uint8_t bits = ch.value.Data()[0];
    dc.selectFont(TextFont("Arial", 10));
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(0x000000);
    dc.setTextAlign(mv::TA_CENTER | mv::TA_TOP);
    for (int k = 0; k < 8; ++k) {
        mv::BitmapRef box;
        box.resourceId = ((bits >> k) & 1) ? kBitmapBitSet : kBitmapBitClear;
        dc.drawBitmap(kBitBoxLeft + kBitBoxPitch * k, top + kBitBoxTop, box);
        dc.textOut(kBitBoxLeft + 8 + kBitBoxPitch * k, top + 26, mv::FormatC("%2d", k));
    }
}

void COnlineModulData::DrawDisplay(mv::Canvas& dc, const CModulChannel& ch, int row) {
    const int top = RowTop(row);
    const mv::RECT r{kValueFieldLeft, top + kValueFieldTop + 2, kValueFieldRight,
                     top + kValueFieldBottom - 2};
    dc.fillRect(r, kDisplayFill);
    // Sunken frame.
    dc.selectPen(mv::PenDesc{mv::PS_SOLID, 1, 0x808080});
    dc.moveTo(r.left, r.bottom - 1);
    dc.lineTo(r.left, r.top);
    dc.lineTo(r.right - 1, r.top);
    dc.selectPen(mv::PenDesc{mv::PS_SOLID, 1, 0xFFFFFF});
    dc.lineTo(r.right - 1, r.bottom - 1);
    dc.lineTo(r.left, r.bottom - 1);
    // The value as a bar between the type's limits.
    float lo = 0.0f, hi = 0.0f;
    CParamValue::GetLimits(ch.dataType, lo, hi);
    const std::int32_t v = ch.value.GetAsInt(ch.dataType);
    const double value = CParamValue::IsSignedType(ch.dataType)
                             ? static_cast<double>(v)
                             : static_cast<double>(static_cast<std::uint32_t>(v));
    const double span = static_cast<double>(hi) - static_cast<double>(lo);
    const double share = span > 0 ? std::clamp((value - lo) / span, 0.0, 1.0) : 0.0;
    const int inner = r.right - r.left - 4;
    const int w = static_cast<int>(share * inner);
    if (w > 0)
        dc.fillRect(mv::RECT{r.left + 2, r.top + 2, r.left + 2 + w, r.bottom - 2}, kBarColour);
    dc.selectFont(TextFont("Arial", 12));
    dc.setBkMode(mv::TRANSPARENT);
    dc.setTextColor(0x000000);
    dc.setTextAlign(mv::TA_CENTER | mv::TA_TOP);
    dc.textOut((r.left + r.right) / 2, r.top + 5, ch.value.ToText(ch.dataType));
}

void COnlineModulData::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton)
        OnLButtonDown(e->position().toPoint().x(), e->position().toPoint().y());
    QWidget::mousePressEvent(e);
}

void COnlineModulData::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
}

void COnlineModulData::OnLButtonDown(int x, int y) {
    if (!module_)
        return;
    bool hit = false;
    for (int i = 0; i < ChannelCount() && !hit; ++i) {
        CModulChannel& ch = module_->Channel(i);
        const int top = RowTop(i - firstRow_);
        if (ch.mode == kGridModeBits) {
            for (int k = 0; k < 8 && !hit; ++k) {
                const int left = kBitBoxLeft + kBitBoxPitch * k;
                if (x >= left && x < left + kBitBoxSize && y >= top + kBitBoxTop &&
                    y < top + kBitBoxTop + kBitBoxSize) {
                    ch.value.Data()[0] = static_cast<std::uint8_t>(ch.value.Data()[0] ^ (1u << k));
                    hit = true;
                }
            }
        } else if (ch.mode == kGridModeValue) {
            if (x >= kValueFieldLeft && x < kValueFieldRight && y >= top + kValueFieldTop &&
                y < top + kValueFieldBottom) {
                OpenValueSet(i);
                hit = true;
            }
        } else if (y >= top && y < top + kGridRowHeight) {
            // Any other channel answers a click in its own row only.
            hit = true;
        }
    }
    if (!hit)
        return;
    xui::postCommand(this);
    RedrawValues();
}

void COnlineModulData::OpenValueSet(int channel) {
    RunValueSetWindow(window(), description_, moduleNumber_, channel, *module_);
}

} // namespace morvelan
