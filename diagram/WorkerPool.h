// The threads that the data-parallel parts of the program share: the second
// half of a large file, the numbers and summaries of its columns, the passes
// of the transform. One fewer than the machine's cores, started when the
// first task comes, so that no call starts a thread of its own and a small
// load starts none at all.
//
// A task handed to the pool may be taken back: a caller that needs its
// result and finds that no thread has started it yet runs it itself. So a
// caller never waits for a thread that is busy elsewhere, and a task that
// hands out tasks of its own cannot leave the pool waiting on itself.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class PoolTask {
public:
    // Runs the work here unless a thread of the pool has begun it, then waits
    // until it has ended. An exception of the work is raised here.
    void Join();
    // Leaves the work undone if no thread has begun it, else waits for it:
    // for a caller that no longer wants it.
    void Drop();
    ~PoolTask() { Drop(); }

private:
    friend class WorkerPool;
    enum class State { Queued, Running, Done };
    struct Shared {
        std::mutex mutex;
        std::condition_variable done;
        State state = State::Queued;
        std::function<void()> work;
        std::exception_ptr failure;
        // Runs the work once, if it is still queued; false when another
        // thread took it first.
        bool RunIfQueued();
        void WaitUntilDone();
    };
    explicit PoolTask(std::shared_ptr<Shared> shared) : shared(std::move(shared)) {}
    std::shared_ptr<Shared> shared;

public:
    PoolTask(PoolTask&&) = default;
    PoolTask& operator=(PoolTask&&) = delete;
    PoolTask(const PoolTask&) = delete;
    PoolTask& operator=(const PoolTask&) = delete;
};

class WorkerPool {
public:
    // The pool of the process.
    static WorkerPool& Shared();

    // Hands work to the pool; the task given back must be joined or dropped
    // before what the work uses goes away.
    [[nodiscard]] PoolTask Submit(std::function<void()> work);

    // Threads the pool runs (started or to be started): the machine's cores
    // less one.
    std::size_t Size() const { return size; }
    // For the tests: tasks handed to this pool so far, and threads started.
    std::uint64_t TasksSubmitted() const;
    std::size_t ThreadsStarted() const;

    explicit WorkerPool(std::size_t threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

private:
    void Serve();

    const std::size_t size;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<PoolTask::Shared>> queue;
    std::vector<std::thread> threads;
    std::uint64_t submitted = 0;
    bool stopping = false;
};

// Runs here() on this thread and beside() on a thread of the pool at the same
// time, and returns once both have ended; beside() runs here after here()
// when no thread of the pool got to it first. An exception of either is
// raised once both have ended, here()'s first.
template <class Here, class Beside> void RunBeside(Here&& here, Beside&& beside) {
    PoolTask task = WorkerPool::Shared().Submit(std::forward<Beside>(beside));
    try {
        here();
    } catch (...) {
        task.Drop();
        throw;
    }
    task.Join();
}
