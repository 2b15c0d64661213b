#include "morvelan/core/page_sink.h"

#include <algorithm>
#include <cstdlib>

namespace mv {

int NullCanvas::em() const {
    if (font_.height < 0)
        return -font_.height;
    if (font_.height > 0)
        return font_.height * 4 / 5;
    return mapMode_ == MM_LOMETRIC ? 28 : 11;
}

SIZE NullCanvas::textExtent(std::string_view text) {
    const int h = em();
    return SIZE{static_cast<int>(text.size()) * std::max(1, h / 2), h};
}

TextMetrics NullCanvas::textMetrics() {
    const int h = em();
    TextMetrics m;
    m.height = h;
    m.ascent = h * 4 / 5;
    m.descent = h - m.ascent;
    m.averageCharWidth = std::max(1, h / 2);
    return m;
}

} // namespace mv
