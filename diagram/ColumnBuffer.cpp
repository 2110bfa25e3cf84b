#include "diagram/ColumnBuffer.h"

#include <cstdlib>
#include <sys/mman.h>

namespace {

// Below this a buffer lives on the ordinary heap; from it on in a mapping of
// whole huge pages.
constexpr std::size_t kMappedFrom = std::size_t{1} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t WholeHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

bool IsMapped(std::size_t capacity) {
    return capacity >= kMappedFrom;
}

char* Map(std::size_t bytes) {
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        throw std::bad_alloc();
    madvise(block, bytes, MADV_HUGEPAGE); // a hint; failure changes nothing
    return static_cast<char*>(block);
}

} // namespace

void ColumnBlock::Grow(std::size_t bytes, std::size_t used) {
    if (bytes <= capacity)
        return;
    if (!IsMapped(bytes)) {
        void* grown = std::realloc(data, bytes);
        if (!grown)
            throw std::bad_alloc();
        data = static_cast<char*>(grown);
        capacity = bytes;
        return;
    }
    const std::size_t mapped = WholeHugePages(bytes);
    if (IsMapped(capacity)) {
        void* moved = mremap(data, capacity, mapped, MREMAP_MAYMOVE);
        if (moved == MAP_FAILED)
            throw std::bad_alloc();
        madvise(moved, mapped, MADV_HUGEPAGE);
        data = static_cast<char*>(moved);
    } else {
        char* fresh = Map(mapped);
        if (used != 0)
            std::memcpy(fresh, data, used);
        std::free(data);
        data = fresh;
    }
    capacity = mapped;
}

void ColumnBlock::Release() noexcept {
    if (IsMapped(capacity))
        munmap(data, capacity);
    else
        std::free(data);
    data = nullptr;
    capacity = 0;
}
