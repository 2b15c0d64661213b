// zlib's memory, taken through hooks that keep every block, so that whatever zlib leaves
// behind (after an error or an abandoned entry) is freed when the entry or archive closes.
#pragma once

#include <cstddef>
#include <unordered_set>

namespace mv::zip {

class ZipMemory {
public:
    ZipMemory() = default;
    ~ZipMemory() { FreeAll(); }
    ZipMemory(const ZipMemory&) = delete;
    ZipMemory& operator=(const ZipMemory&) = delete;

    // The hooks for z_stream's zalloc and zfree; opaque is the ZipMemory.
    static void* Alloc(void* opaque, unsigned items, unsigned size);
    static void Free(void* opaque, void* address);

    void FreeAll();
    std::size_t Blocks() const { return m_blocks.size(); }

private:
    std::unordered_set<void*> m_blocks;
};

} // namespace mv::zip
