// An allocator for the big arrays of a loaded table and of the transform: a
// block of a few megabytes or more is aligned to 2 MiB and offered to the kernel as
// transparent huge pages, so that filling a million-row table takes a few
// dozen page faults instead of tens of thousands. Small blocks go to the
// ordinary allocator.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <sys/mman.h>

template <class T> struct LargeBlockAllocator {
    using value_type = T;

    LargeBlockAllocator() = default;
    template <class U> LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

    static constexpr std::size_t kHugePage = std::size_t{2} << 20;
    static constexpr std::size_t kThreshold = kHugePage;

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kThreshold)
            return std::allocator<T>().allocate(n);
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* block = std::aligned_alloc(kHugePage, rounded);
        if (!block)
            throw std::bad_alloc();
        madvise(block, rounded, MADV_HUGEPAGE); // a hint; failure changes nothing
        return static_cast<T*>(block);
    }

    void deallocate(T* p, std::size_t n) noexcept {
        if (n * sizeof(T) < kThreshold)
            std::allocator<T>().deallocate(p, n);
        else
            std::free(p);
    }

    template <class U> bool operator==(const LargeBlockAllocator<U>&) const noexcept {
        return true;
    }
};
