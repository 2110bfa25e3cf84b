// What a load running away from the interface thread shares with the window
// that waits for it: how many bytes it has read so far, and a request to stop.
// A load that finds the request set stops at its next block of bytes by
// raising LoadCancelled, which leaves nothing of the load behind.
#pragma once

#include <atomic>
#include <stdexcept>

class LoadProgress {
public:
    void AddBytes(long long bytes) { bytesRead.fetch_add(bytes, std::memory_order_relaxed); }
    long long BytesRead() const { return bytesRead.load(std::memory_order_relaxed); }

    void Cancel() { cancelled.store(true, std::memory_order_relaxed); }
    bool Cancelled() const { return cancelled.load(std::memory_order_relaxed); }
    // Raises LoadCancelled once Cancel has been called.
    void ThrowIfCancelled() const;

private:
    std::atomic<long long> bytesRead{0};
    std::atomic<bool> cancelled{false};
};

class LoadCancelled : public std::runtime_error {
public:
    LoadCancelled() : std::runtime_error("The load was cancelled.") {}
};

inline void LoadProgress::ThrowIfCancelled() const {
    if (Cancelled())
        throw LoadCancelled();
}
