#include "jet/writer/shop_lock_file.h"

#include "jet/writer/file_io.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

constexpr std::size_t kNameSize = 32;
constexpr std::size_t kRecordSize = 2 * kNameSize;
// The shop program keeps at most 255 users in it; anything far larger is not its lock file.
constexpr std::size_t kMostBytesRead = 1 << 20;

std::string nameAt(const std::vector<char>& bytes, std::size_t at) {
    const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, bytes.size()));
    const auto end =
        bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at + kNameSize, bytes.size()));
    return std::string(begin, std::find(begin, end, '\0'));
}

// The lock file's bytes, or nothing when it exists but cannot be read.
std::optional<std::vector<char>> contentsOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::vector<char> bytes(std::min(static_cast<std::size_t>(info.st_size), kMostBytesRead));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

} // namespace

std::string shopLockFilePathFor(const std::string& databasePath) {
    const std::size_t slash = databasePath.rfind('/');
    const std::size_t dot = databasePath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? databasePath.substr(0, dot) : databasePath) + ".ldb";
}

std::optional<std::string> shopProgramUser(const std::string& lockFilePath) {
    const UniqueFd fd(::open(lockFilePath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        return std::string();
    }
    const auto bytes = contentsOf(fd.get());
    if (!bytes) {
        return std::string();
    }
    for (std::size_t at = 0; at < bytes->size(); at += kRecordSize) {
        const std::string machine = nameAt(*bytes, at);
        if (!machine.empty()) {
            return nameAt(*bytes, at + kNameSize) + "\n" + machine;
        }
    }
    return std::nullopt;
}

} // namespace jet
