#pragma once

#include "jet/writer/write_error.h"

#include <cstdint>
#include <span>
#include <string>

namespace jet {

// A descriptor this code owns: closed when it goes.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return fd_; }
    bool valid() const noexcept { return fd_ >= 0; }
    int release() noexcept;
    void reset() noexcept;

private:
    int fd_ = -1;
};

// How a failed call reads to the user of a change: a full disk or quota, a file or medium
// that may not be written, or any other failure of the system.
WriteError::Kind writeErrorKindFor(int error) noexcept;
[[noreturn]] void throwWriteError(const std::string& what, int error);

// Writes or reads all of bytes at offset, retrying short transfers and interruptions.
// Throw WriteError; a read that meets the end of the file is an Io error.
void writeAllAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset);
void readAllAt(int fd, std::span<std::uint8_t> bytes, std::uint64_t offset);

void syncFile(int fd, const std::string& what);
// Makes a file's creation or removal in folder durable.
void syncFolder(const std::string& folder);
void truncateFile(int fd, std::uint64_t size);

// The folder that holds path (which is absolute): "/a/b" for "/a/b/c".
std::string folderOf(const std::string& path);

} // namespace jet
