// The window side of a module tile, as the model sees it.
#pragma once

namespace mv {
// The window that shows a tile in the workspace. The tile makes it through the document hooks
// when it is created and destroys it with itself; moves, visibility and repaints reach it here.
class ITileWindow {
public:
    virtual ~ITileWindow() = default;
    // The tile's place, size or visibility changed.
    virtual void Placed() = 0;
    // The tile is to be painted again (erase 1: from its background up).
    virtual void Invalidate(int erase) = 0;
};
} // namespace mv
