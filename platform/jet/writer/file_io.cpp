#include "jet/writer/file_io.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

int UniqueFd::release() noexcept {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::reset() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

WriteError::Kind writeErrorKindFor(int error) noexcept {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return WriteError::Kind::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM:
        return WriteError::Kind::ReadOnly;
    default:
        return WriteError::Kind::Io;
    }
}

void throwWriteError(const std::string& what, int error) {
    throw WriteError(writeErrorKindFor(error), what + ": " + std::strerror(error));
}

void writeAllAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done,
                                   static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throwWriteError("cannot write", errno);
        }
        if (n == 0) {
            throwWriteError("cannot write", ENOSPC);
        }
        done += static_cast<std::size_t>(n);
    }
}

void readAllAt(int fd, std::span<std::uint8_t> bytes, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done,
                                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            throwWriteError("cannot read", errno);
        }
        if (n == 0) {
            throw WriteError(WriteError::Kind::Io, "the file ends early");
        }
        done += static_cast<std::size_t>(n);
    }
}

void syncFile(int fd, const std::string& what) {
    if (::fsync(fd) != 0) {
        throwWriteError("cannot sync " + what, errno);
    }
}

void syncFolder(const std::string& folder) {
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) {
        throwWriteError("cannot open the folder " + folder, errno);
    }
    // Some file systems cannot sync a folder at all and say so with EINVAL; they keep
    // their folders in order by other means.
    if (::fsync(dir.get()) != 0 && errno != EINVAL) {
        throwWriteError("cannot sync the folder " + folder, errno);
    }
}

void truncateFile(int fd, std::uint64_t size) {
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        throwWriteError("cannot set the size of the file", errno);
    }
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace jet
