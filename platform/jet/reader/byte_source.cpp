#include "jet/reader/byte_source.h"

#include "jet/reader/read_error.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

[[noreturn]] void throwIo(const std::string& what, int error) {
    throw ReadError(ReadError::Kind::Io, what + ": " + std::strerror(error));
}

// Fills out from offset, however many reads it takes.
void readFully(int fd, std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got =
            ::pread(fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            throwIo("cannot read the database file", errno);
        }
        if (got == 0) {
            // The file shrank under us since it was opened.
            throwDamaged("the file ends before a page it should hold");
        }
        done += static_cast<std::size_t>(got);
    }
}

std::uint64_t sizeOf(int fd, const std::string& what) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throwIo("cannot inspect " + what, errno);
    }
    return static_cast<std::uint64_t>(info.st_size);
}

class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) {
            throwIo("cannot open " + path, errno);
        }
        try {
            size_ = sizeOf(fd_, path);
        } catch (...) {
            ::close(fd_);
            throw;
        }
    }
    ~FileSource() override { ::close(fd_); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::uint64_t size() const override { return size_; }

    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        readFully(fd_, offset, out);
    }

private:
    int fd_;
    std::uint64_t size_ = 0;
};

class DescriptorSource final : public ByteSource {
public:
    explicit DescriptorSource(int fd) : fd_(fd) {}

    std::uint64_t size() const override { return sizeOf(fd_, "the database file"); }
    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        readFully(fd_, offset, out);
    }

private:
    int fd_;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint64_t size() const override { return bytes_.size(); }

    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
            throwDamaged("the file ends before a page it should hold");
        }
        if (out.empty()) {
            return;
        }
        std::memcpy(out.data(), bytes_.data() + offset, out.size());
    }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace

std::unique_ptr<ByteSource> openFileReadOnly(const std::string& path) {
    return std::make_unique<FileSource>(path);
}

std::unique_ptr<ByteSource> descriptorSource(int fd) {
    return std::make_unique<DescriptorSource>(fd);
}

std::unique_ptr<ByteSource> memorySource(std::vector<std::uint8_t> bytes) {
    return std::make_unique<MemorySource>(std::move(bytes));
}

} // namespace jet
