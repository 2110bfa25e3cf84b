#include "diagram/WorkerPool.h"

#include <algorithm>

bool PoolTask::Shared::RunIfQueued() {
    {
        const std::lock_guard lock(mutex);
        if (state != State::Queued)
            return false;
        state = State::Running;
    }
    try {
        work();
    } catch (...) {
        failure = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex);
        state = State::Done;
        work = nullptr;
    }
    done.notify_all();
    return true;
}

void PoolTask::Shared::WaitUntilDone() {
    std::unique_lock lock(mutex);
    done.wait(lock, [this] { return state == State::Done; });
}

void PoolTask::Join() {
    if (!shared)
        return;
    if (!shared->RunIfQueued())
        shared->WaitUntilDone();
    const std::exception_ptr failure = shared->failure;
    shared.reset();
    if (failure)
        std::rethrow_exception(failure);
}

void PoolTask::Drop() {
    if (!shared)
        return;
    bool taken = false;
    {
        const std::lock_guard lock(shared->mutex);
        if (shared->state == State::Queued) {
            shared->state = State::Done;
            shared->work = nullptr;
            taken = true;
        }
    }
    if (!taken)
        shared->WaitUntilDone();
    shared.reset();
}

WorkerPool& WorkerPool::Shared() {
    static WorkerPool pool(std::max(1u, std::thread::hardware_concurrency()) - 1);
    return pool;
}

WorkerPool::WorkerPool(std::size_t threads) : size(threads) {}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& thread : threads)
        thread.join();
}

PoolTask WorkerPool::Submit(std::function<void()> work) {
    auto shared = std::make_shared<PoolTask::Shared>();
    shared->work = std::move(work);
    {
        const std::lock_guard lock(mutex);
        ++submitted;
        if (size == 0)
            return PoolTask(shared); // the caller runs it when it joins
        // A task that no thread took stays queued after the caller took it
        // back; the threads skip it.
        queue.push_back(shared);
        if (threads.empty())
            for (std::size_t i = 0; i < size; ++i)
                threads.emplace_back([this] { Serve(); });
    }
    wake.notify_one();
    return PoolTask(std::move(shared));
}

void WorkerPool::Serve() {
    for (;;) {
        std::shared_ptr<PoolTask::Shared> task;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty())
                return;
            task = std::move(queue.front());
            queue.pop_front();
        }
        task->RunIfQueued();
    }
}

std::uint64_t WorkerPool::TasksSubmitted() const {
    const std::lock_guard lock(mutex);
    return submitted;
}

std::size_t WorkerPool::ThreadsStarted() const {
    const std::lock_guard lock(mutex);
    return threads.size();
}
