// What a load running away from the interface thread shares with the window
// that waits for it: how many bytes it has read so far, and a request to stop.
// A load that finds the request set stops at its next block of bytes by
// raising LoadCancelled, which leaves nothing of the load behind.
#pragma once

#include <atomic>
#include <functional>
#include <stdexcept>

class LoadProgress {
public:
    void AddBytes(long long bytes) {
        const long long now = bytesRead.fetch_add(bytes, std::memory_order_relaxed) + bytes;
        if (listener && now >= nextNotice.load(std::memory_order_relaxed)) {
            nextNotice.store(now + noticeStep, std::memory_order_relaxed);
            listener();
        }
    }
    long long BytesRead() const { return bytesRead.load(std::memory_order_relaxed); }
    // Calls listener, on whichever thread counts, each time another step of
    // bytes has been read: for a window that shows the progress. Set before
    // the reading starts; the listener must be safe to call from any thread.
    void NotifyEvery(long long step, std::function<void()> onStep) {
        noticeStep = step > 0 ? step : 1;
        nextNotice.store(noticeStep, std::memory_order_relaxed);
        listener = std::move(onStep);
    }

    void Cancel() { cancelled.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return cancelled.load(std::memory_order_relaxed); }
    // Raises LoadCancelled once Cancel has been called.
    void ThrowIfCancelled() const;

private:
    std::atomic<long long> bytesRead{0};
    std::atomic<bool> cancelled{false};
    std::function<void()> listener;
    long long noticeStep = 1;
    std::atomic<long long> nextNotice{0};
};

class LoadCancelled : public std::runtime_error {
public:
    LoadCancelled() : std::runtime_error("The load was cancelled.") {}
};

inline void LoadProgress::ThrowIfCancelled() const {
    if (Cancelled())
        throw LoadCancelled();
}
