// The threads the data-parallel work shares: a task runs once, on a thread of
// the pool or taken back by the caller that waits for it, never twice and
// never lost; failures reach the caller; and a small load hands the pool
// nothing.
#include "diagram/WorkerPool.h"
#include "diagram/CDiagram.h"
#include "diagram/TwoThreads.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

// Holds a thread of a pool until released.
class Gate {
public:
    void Wait() {
        std::unique_lock lock(mutex);
        entered = true;
        changed.notify_all();
        changed.wait(lock, [this] { return open; });
    }
    void WaitUntilEntered() {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return entered; });
    }
    void Open() {
        const std::lock_guard lock(mutex);
        open = true;
        changed.notify_all();
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool open = false;
};

TEST(WorkerPool, ATaskNoThreadBeganIsRunByTheCallerThatJoinsIt) {
    WorkerPool pool(1);
    Gate gate;
    PoolTask busy = pool.Submit([&] { gate.Wait(); });
    gate.WaitUntilEntered();
    std::thread::id ranOn;
    PoolTask waiting = pool.Submit([&] { ranOn = std::this_thread::get_id(); });
    waiting.Join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    gate.Open();
    busy.Join();
    EXPECT_EQ(pool.ThreadsStarted(), 1u);
}

TEST(WorkerPool, WithoutThreadsEveryTaskRunsWhereItIsJoined) {
    WorkerPool pool(0);
    int runs = 0;
    PoolTask task = pool.Submit([&] { ++runs; });
    EXPECT_EQ(runs, 0);
    task.Join();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(pool.ThreadsStarted(), 0u);
}

TEST(WorkerPool, ADroppedTaskThatNoThreadBeganNeverRuns) {
    WorkerPool pool(1);
    Gate gate;
    PoolTask busy = pool.Submit([&] { gate.Wait(); });
    gate.WaitUntilEntered();
    std::atomic<int> runs{0};
    {
        PoolTask dropped = pool.Submit([&] { ++runs; });
    }
    gate.Open();
    busy.Join();
    // The thread has passed the dropped task by now: the next one runs after it.
    PoolTask after = pool.Submit([] {});
    after.Join();
    EXPECT_EQ(runs.load(), 0);
}

TEST(WorkerPool, EveryTaskRunsExactlyOnceWhoeverRunsIt) {
    WorkerPool pool(3);
    std::vector<std::atomic<int>> runs(2000);
    std::vector<PoolTask> tasks;
    for (std::size_t i = 0; i < runs.size(); ++i)
        tasks.push_back(pool.Submit([&runs, i] { ++runs[i]; }));
    for (std::size_t i = tasks.size(); i-- > 0;)
        tasks[i].Join();
    for (std::size_t i = 0; i < runs.size(); ++i)
        ASSERT_EQ(runs[i].load(), 1) << "task " << i;
}

TEST(RunBeside, RaisesTheFailureOfEitherSideOnceBothHaveEnded) {
    std::atomic<bool> besideEnded{false};
    EXPECT_THROW(RunBeside([] { throw std::runtime_error("here"); },
                           [&] {
                               std::this_thread::sleep_for(std::chrono::milliseconds(20));
                               besideEnded = true;
                           }),
                 std::runtime_error);
    // Dropped or finished, never left running with the caller's frame gone.
    bool hereEnded = false;
    EXPECT_THROW(RunBeside([&] { hereEnded = true; }, [] { throw std::logic_error("beside"); }),
                 std::logic_error);
    EXPECT_TRUE(hereEnded);
}

TEST(RunBeside, TasksThatSplitTheirOwnWorkDoNotWaitOnEachOther) {
    // Splits nested four deep on a pool of at most one thread per core.
    std::atomic<long> sum{0};
    const auto split = [&](auto&& self, std::size_t from, std::size_t to, int depth) -> void {
        if (depth == 0) {
            for (std::size_t i = from; i < to; ++i)
                sum += static_cast<long>(i);
            return;
        }
        const std::size_t middle = (from + to) / 2;
        RunBeside([&] { self(self, from, middle, depth - 1); },
                  [&] { self(self, middle, to, depth - 1); });
    };
    split(split, 0, 100'000, 4);
    EXPECT_EQ(sum.load(), 100'000L * 99'999 / 2);
}

TEST(WorkerPool, ASmallLoadHandsThePoolNothing) {
    const TempDir dir;
    std::string rows;
    for (int i = 0; i < 2000; ++i)
        rows += std::to_string(i) + ";" + std::to_string(i % 7) + "\n";
    const auto file = dir.Write("small.txt", "X=number\nSmall\nt;a\n" + rows);
    const std::uint64_t before = WorkerPool::Shared().TasksSubmitted();
    CDiagram diagram(nullptr);
    ASSERT_TRUE(diagram.LoadFile(file.string()));
    diagram.PrepareNumbers();
    EXPECT_EQ(WorkerPool::Shared().TasksSubmitted(), before);

    if (!HasSecondCore())
        return;
    // A large one does: its second half, and the numbers of its columns.
    LoadLimits limits;
    limits.twoThreadsFrom = 1;
    CDiagram large(nullptr);
    ASSERT_TRUE(large.LoadFile(file.string(), limits));
    EXPECT_GT(WorkerPool::Shared().TasksSubmitted(), before);
}

} // namespace
