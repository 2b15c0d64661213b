#include "flash/zip/zip_memory.h"

#include <cstdlib>
#include <new>

namespace mv::zip {

void* ZipMemory::Alloc(void* opaque, unsigned items, unsigned size) {
    auto* self = static_cast<ZipMemory*>(opaque);
    if (size != 0 && items > static_cast<std::size_t>(-1) / size)
        return nullptr;
    void* block = std::malloc(static_cast<std::size_t>(items) * size);
    if (!block)
        return nullptr;
    try {
        self->m_blocks.insert(block);
    } catch (const std::bad_alloc&) {
        std::free(block);
        return nullptr;
    }
    return block;
}

void ZipMemory::Free(void* opaque, void* address) {
    auto* self = static_cast<ZipMemory*>(opaque);
    if (self->m_blocks.erase(address) != 0)
        std::free(address);
}

void ZipMemory::FreeAll() {
    for (void* block : m_blocks)
        std::free(block);
    m_blocks.clear();
}

} // namespace mv::zip
