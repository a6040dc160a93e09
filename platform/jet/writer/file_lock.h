#pragma once

#include <chrono>

namespace jet {

// Whole-file locks on an open file description (Linux OFD locks). They belong to the open
// file, not to the process: two opens of one file in the same process exclude each other,
// and closing some other descriptor of the file does not drop them. They go when the last
// descriptor of the open file is closed, so a killed process never leaves one behind.
enum class LockMode { Shared, Exclusive };

// Takes, changes (shared to exclusive and back) or drops the lock without waiting. False when
// another open file holds a lock in the way; throws WriteError for any other failure (an
// exclusive lock on a descriptor opened for reading only is ReadOnly).
bool tryLock(int fd, LockMode mode);
void unlock(int fd);

using LockClock = std::chrono::steady_clock;

// Sleeps a short while before the next attempt at something another process holds up.
// False, without sleeping, once deadline has passed.
bool pauseBeforeRetry(LockClock::time_point deadline);

// Takes the lock, retrying until deadline; false if it could not be had by then. A session
// that cannot have the exclusive lock keeps the shared lock it holds: giving it up would let
// another writer change pages it has read. Two sessions that both hold the file and both want
// to write therefore wait each other out, and both give up at their deadlines, changing
// nothing.
bool lockBefore(int fd, LockMode mode, LockClock::time_point deadline);

} // namespace jet
