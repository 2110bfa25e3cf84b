// The temporary file of a file write in progress, kept where a signal handler
// can reach it: a fixed buffer that RemovePendingTemporaryFile reads with
// nothing but async-signal-safe calls.
#pragma once

// Records path (made absolute) as the one temporary file in progress. A path
// too long for the buffer is not recorded.
void SetPendingTemporaryFile(const char* path);
// The write has ended; nothing is pending.
void ClearPendingTemporaryFile();
// Unlinks the pending temporary file, if any. Safe to call from a signal
// handler: it allocates nothing and takes no lock.
void RemovePendingTemporaryFile() noexcept;
