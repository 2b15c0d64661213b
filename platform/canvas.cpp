#include "platform/canvas.h"

#include <cmath>

namespace mv {
namespace {

// Logical 0.1 mm to device pixels at a resolution, rounded to the nearest pixel.
int scale(int value, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(value) * dpi / 254.0));
}

} // namespace

void CanvasMapping::setDeviceDpi(int dpiX, int dpiY) {
    dpiX_ = dpiX > 0 ? dpiX : 96;
    dpiY_ = dpiY > 0 ? dpiY : 96;
}

POINT CanvasMapping::toDevice(POINT p) const {
    if (mapMode_ == MM_LOMETRIC) {
        return POINT{viewportOrg_.x + scale(p.x, dpiX_), viewportOrg_.y - scale(p.y, dpiY_)};
    }
    return POINT{viewportOrg_.x + p.x, viewportOrg_.y + p.y};
}

POINT CanvasMapping::toLogical(POINT d) const {
    if (mapMode_ == MM_LOMETRIC) {
        const double x = (d.x - viewportOrg_.x) * 254.0 / dpiX_;
        const double y = -(d.y - viewportOrg_.y) * 254.0 / dpiY_;
        return POINT{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
    }
    return POINT{d.x - viewportOrg_.x, d.y - viewportOrg_.y};
}

RECT CanvasMapping::toDevice(const RECT& r) const {
    const POINT a = toDevice(POINT{r.left, r.top});
    const POINT b = toDevice(POINT{r.right, r.bottom});
    return NormalizeRect(RECT{a.x, a.y, b.x, b.y});
}

int CanvasMapping::lengthToDeviceX(int logical) const {
    const int v = mapMode_ == MM_LOMETRIC ? scale(logical, dpiX_) : logical;
    return v < 0 ? -v : v;
}

int CanvasMapping::lengthToDeviceY(int logical) const {
    const int v = mapMode_ == MM_LOMETRIC ? scale(logical, dpiY_) : logical;
    return v < 0 ? -v : v;
}

int CanvasMapping::lengthToLogicalY(int device) const {
    const int v = mapMode_ == MM_LOMETRIC
                      ? static_cast<int>(std::lround(device * 254.0 / dpiY_))
                      : device;
    return v < 0 ? -v : v;
}

} // namespace mv
