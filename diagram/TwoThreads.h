// Work shared by two threads on a machine with a second core: each half of a
// range is done by one. Every element is computed exactly as one thread would
// compute it, so the result does not depend on the split.
#pragma once

#include <cstddef>
#include <exception>
#include <thread>

// Whether a second thread can run beside this one.
inline bool HasSecondCore() {
    static const bool second = std::thread::hardware_concurrency() >= 2;
    return second;
}

// Calls work(begin, end) for [0, count): in two halves, the upper one in a
// thread of its own, when count is at least minCount and a second core is
// there; else once for the whole. An exception of either half is raised once
// both have ended.
template <class Work> void SplitInTwo(std::size_t count, std::size_t minCount, Work&& work) {
    if (count < minCount || count < 2 || !HasSecondCore()) {
        work(std::size_t{0}, count);
        return;
    }
    const std::size_t middle = count / 2;
    std::exception_ptr upperFailure;
    std::thread upper([&] {
        try {
            work(middle, count);
        } catch (...) {
            upperFailure = std::current_exception();
        }
    });
    try {
        work(std::size_t{0}, middle);
    } catch (...) {
        upper.join();
        throw;
    }
    upper.join();
    if (upperFailure)
        std::rethrow_exception(upperFailure);
}
