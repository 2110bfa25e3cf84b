#include "diagram/ColumnBuffer.h"

#include <cstdlib>
#include <sys/mman.h>

namespace {

// Below this a buffer lives on the ordinary heap; from it on in a mapping of
// whole huge pages.
constexpr std::size_t kMappedFrom = std::size_t{1} << 18;
constexpr std::size_t kHugePage = ColumnBlock::kHugePage;

std::size_t WholeHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

bool IsMapped(std::size_t capacity) {
    return capacity >= kMappedFrom;
}

// ThreadSanitizer does not follow mremap: what it knew of the pages moved
// stays at their old address. Built for it, buffers grow by copying.
#if defined(__SANITIZE_THREAD__)
constexpr bool kRemap = false;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr bool kRemap = false;
#else
constexpr bool kRemap = true;
#endif
#else
constexpr bool kRemap = true;
#endif

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
    if (kRemap && IsMapped(capacity)) {
        // A block joined from two mappings cannot move as one: it is copied
        // into a fresh mapping instead.
        void* moved = mremap(data, capacity, mapped, MREMAP_MAYMOVE);
        if (moved != MAP_FAILED) {
            madvise(moved, mapped, MADV_HUGEPAGE);
            data = static_cast<char*>(moved);
            capacity = mapped;
            return;
        }
    }
    char* fresh = Map(mapped);
    if (used != 0)
        std::memcpy(fresh, data, used);
    Release();
    data = fresh;
    capacity = mapped;
}

std::size_t ColumnBlock::MoveInBehind(ColumnBlock& other, std::size_t used) {
    if (!kRemap || !IsMapped(capacity) || !IsMapped(other.capacity) || used > capacity)
        return kNotMoved;
    const std::size_t offset = WholeHugePages(used);
    const std::size_t total = offset + other.capacity;
    void* grown = mremap(data, capacity, total, MREMAP_MAYMOVE);
    if (grown == MAP_FAILED)
        return kNotMoved;
    data = static_cast<char*>(grown);
    capacity = total;
    // The pages of other replace the part of the grown mapping past offset.
    void* moved = mremap(other.data, other.capacity, other.capacity, MREMAP_MAYMOVE | MREMAP_FIXED,
                         data + offset);
    if (moved == MAP_FAILED)
        return kNotMoved;
    other.data = nullptr;
    other.capacity = 0;
    return offset;
}

void ColumnBlock::Discard(std::size_t from, std::size_t bytes) noexcept {
    if (IsMapped(capacity))
        madvise(data + from, bytes, MADV_DONTNEED); // a hint; failure changes nothing
}

void ColumnBlock::Release() noexcept {
    if (IsMapped(capacity))
        munmap(data, capacity);
    else
        std::free(data);
    data = nullptr;
    capacity = 0;
}
