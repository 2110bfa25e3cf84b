// A growable array whose indexed access is bounds-checked: an index outside the
// array raises InvalidArgumentError instead of reading past the end.
#pragma once

#include "diagram/InvalidArgumentError.h"

#include <vector>

template <class T> class CheckedArray {
public:
    // The name appears in the error message of a bad index.
    explicit CheckedArray(const char* name = "array") : name(name) {}

    int GetSize() const { return static_cast<int>(items.size()); }
    bool IsEmpty() const { return items.empty(); }

    T& operator[](long long i) {
        CheckIndex(i, items.size(), name);
        return items[static_cast<std::size_t>(i)];
    }
    const T& operator[](long long i) const {
        CheckIndex(i, items.size(), name);
        return items[static_cast<std::size_t>(i)];
    }

    void Add(T value) { items.push_back(std::move(value)); }
    void RemoveAll() { items.clear(); }

    auto begin() { return items.begin(); }
    auto end() { return items.end(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }

private:
    const char* name;
    std::vector<T> items;
};
