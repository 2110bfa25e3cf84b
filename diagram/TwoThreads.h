// Work shared by two threads on a machine with a second core: each half of a
// range is done by one, the upper half by a thread of the worker pool. Every
// element is computed exactly as one thread would compute it, so the result
// does not depend on the split.
#pragma once

#include "diagram/WorkerPool.h"

#include <cstddef>
#include <thread>

// Whether a second thread can run beside this one.
inline bool HasSecondCore() {
    static const bool second = std::thread::hardware_concurrency() >= 2;
    return second;
}

// Calls work(begin, end) for [0, count): in two halves, the upper one on the
// worker pool, when count is at least minCount and a second core is there;
// else once for the whole. An exception of either half is raised once both
// have ended.
template <class Work> void SplitInTwo(std::size_t count, std::size_t minCount, Work&& work) {
    if (count < minCount || count < 2 || !HasSecondCore()) {
        work(std::size_t{0}, count);
        return;
    }
    const std::size_t middle = count / 2;
    RunBeside([&] { work(std::size_t{0}, middle); }, [&] { work(middle, count); });
}
