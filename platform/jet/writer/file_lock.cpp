#include "jet/writer/file_lock.h"

#include "jet/writer/file_io.h"

#include <algorithm>
#include <cerrno>
#include <thread>

#include <fcntl.h>

namespace jet {
namespace {

constexpr auto kRetryPause = std::chrono::milliseconds(10);

bool setLock(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0; // to the end of the file, however far it grows
    while (::fcntl(fd, F_OFD_SETLK, &lock) != 0) {
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EACCES) {
            return false;
        }
        if (errno == EBADF && type == F_WRLCK) {
            throw WriteError(WriteError::Kind::ReadOnly, "the file is open for reading only");
        }
        throwWriteError("cannot lock the file", errno);
    }
    return true;
}

} // namespace

bool tryLock(int fd, LockMode mode) {
    return setLock(fd, mode == LockMode::Exclusive ? F_WRLCK : F_RDLCK);
}

void unlock(int fd) {
    setLock(fd, F_UNLCK);
}

bool pauseBeforeRetry(LockClock::time_point deadline) {
    const auto now = LockClock::now();
    if (now >= deadline) {
        return false;
    }
    std::this_thread::sleep_for(std::min<LockClock::duration>(kRetryPause, deadline - now));
    return true;
}

bool lockBefore(int fd, LockMode mode, LockClock::time_point deadline) {
    while (!tryLock(fd, mode)) {
        if (!pauseBeforeRetry(deadline)) {
            return false;
        }
    }
    return true;
}

} // namespace jet
