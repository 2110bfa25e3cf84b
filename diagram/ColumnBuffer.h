// A growable array of plain values for the big arrays of a loaded table (cell
// texts, their ends, their numbers). A large buffer lives in its own mapping,
// offered to the kernel as transparent huge pages, and grows by moving that
// mapping (mremap): the pages already written are neither copied nor touched
// again, so a table that grows to gigabytes costs one write of its bytes and
// a few hundred page faults. Capacity that was never written costs no memory.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

// The storage behind ColumnBuffer, in bytes.
class ColumnBlock {
public:
    ColumnBlock() = default;
    ColumnBlock(const ColumnBlock&) = delete;
    ColumnBlock& operator=(const ColumnBlock&) = delete;
    ColumnBlock(ColumnBlock&& other) noexcept { Swap(other); }
    ColumnBlock& operator=(ColumnBlock&& other) noexcept {
        ColumnBlock(std::move(other)).Swap(*this);
        return *this;
    }
    ~ColumnBlock() { Release(); }

    char* Data() const { return data; }
    std::size_t Capacity() const { return capacity; }
    // Room for at least bytes, the first `used` bytes kept; std::bad_alloc
    // when the memory is not there.
    void Grow(std::size_t bytes, std::size_t used);
    // Where both blocks are mappings of their own, moves other's pages in
    // behind the first `used` bytes of this one, at the next huge-page
    // boundary, and returns the offset they begin at (less than kMaxGap past
    // used); other is left empty. Otherwise, or when the kernel refuses,
    // returns kNotMoved and changes neither block's contents.
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;
    static constexpr std::size_t kMaxGap = kHugePage;
    static constexpr std::size_t kNotMoved = static_cast<std::size_t>(-1);
    std::size_t MoveInBehind(ColumnBlock& other, std::size_t used);
    // Gives the memory of bytes [from, from + bytes) of a block of its own
    // mapping back (from a multiple of kHugePage); they read as zeros after.
    // A block on the heap stays as it is.
    void Discard(std::size_t from, std::size_t bytes) noexcept;
    void Release() noexcept;
    void Swap(ColumnBlock& other) noexcept {
        std::swap(data, other.data);
        std::swap(capacity, other.capacity);
    }

private:
    char* data = nullptr;
    std::size_t capacity = 0;
};

template <class T> class ColumnBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    ColumnBuffer() = default;
    ColumnBuffer(const ColumnBuffer& other) { Append(other.data(), other.count); }
    ColumnBuffer& operator=(const ColumnBuffer& other) {
        if (this != &other) {
            count = 0;
            Append(other.data(), other.count);
        }
        return *this;
    }
    ColumnBuffer(ColumnBuffer&& other) noexcept
        : block(std::move(other.block)), count(std::exchange(other.count, 0)) {}
    ColumnBuffer& operator=(ColumnBuffer&& other) noexcept {
        block = std::move(other.block);
        count = std::exchange(other.count, 0);
        return *this;
    }

    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    T* data() { return reinterpret_cast<T*>(block.Data()); }
    const T* data() const { return reinterpret_cast<const T*>(block.Data()); }
    T& operator[](std::size_t i) { return data()[i]; }
    const T& operator[](std::size_t i) const { return data()[i]; }
    operator std::span<const T>() const { return {data(), count}; }

    void push_back(T value) {
        if (count == Capacity()) [[unlikely]]
            GrowFor(count + 1);
        data()[count++] = value;
    }
    void Append(const T* values, std::size_t n) {
        if (n > Capacity() - count)
            GrowFor(count + n);
        if (n != 0)
            std::memcpy(data() + count, values, n * sizeof(T));
        count += n;
    }
    // Every value of other after the own ones, other left empty; returns the
    // index of its first. Large buffers are joined by moving other's pages,
    // not by copying them, which leaves fewer than ColumnBlock::kMaxGap bytes
    // of unused values in between (counted in size()).
    std::size_t AppendMoving(ColumnBuffer&& other) {
        const std::size_t at = other.count == 0
                                   ? ColumnBlock::kNotMoved
                                   : block.MoveInBehind(other.block, count * sizeof(T));
        const std::size_t first = at == ColumnBlock::kNotMoved ? count : at / sizeof(T);
        if (at == ColumnBlock::kNotMoved)
            Append(other.data(), other.count);
        else
            count = first + other.count;
        other.count = 0;
        return first;
    }
    // The first n values of other after the own ones, other left empty. A
    // large other gives its memory back as its values are copied, so the two
    // never take much more than the values themselves.
    void AppendDraining(ColumnBuffer&& other, std::size_t n) {
        constexpr std::size_t kPart = ColumnBlock::kHugePage / sizeof(T);
        T* const out = Extend(n);
        for (std::size_t done = 0; done < n; done += kPart) {
            const std::size_t part = n - done < kPart ? n - done : kPart;
            std::memcpy(out + done, other.data() + done, part * sizeof(T));
            other.block.Discard(done * sizeof(T), part * sizeof(T));
        }
        other.block.Release();
        other.count = 0;
    }
    // n more values, left for the caller to write.
    T* Extend(std::size_t n) {
        if (n > Capacity() - count)
            GrowFor(count + n);
        T* added = data() + count;
        count += n;
        return added;
    }
    void resize_down(std::size_t n) {
        if (n < count)
            count = n;
    }
    // Empties the buffer and keeps its memory for reuse.
    void clear() { count = 0; }

private:
    std::size_t Capacity() const { return block.Capacity() / sizeof(T); }
    void GrowFor(std::size_t needed) {
        std::size_t wanted = Capacity() < 16 ? 16 : Capacity() * 2;
        if (wanted < needed)
            wanted = needed;
        if (wanted > static_cast<std::size_t>(-1) / 2 / sizeof(T))
            throw std::bad_alloc();
        block.Grow(wanted * sizeof(T), count * sizeof(T));
    }

    ColumnBlock block;
    std::size_t count = 0;
};
