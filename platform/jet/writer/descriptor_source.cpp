#include "descriptor_source.h"

#include "read_error.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

[[noreturn]] void throwIo(const std::string& what, int error) {
    throw ReadError(ReadError::Kind::Io, what + ": " + std::strerror(error));
}

class DescriptorSource final : public ByteSource {
public:
    explicit DescriptorSource(int fd) : fd_(fd) {}

    std::uint64_t size() const override {
        struct stat info {};
        if (::fstat(fd_, &info) != 0) {
            throwIo("cannot inspect the database file", errno);
        }
        return static_cast<std::uint64_t>(info.st_size);
    }

    void read(std::uint64_t offset, std::span<std::uint8_t> out) const override {
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t got = ::pread(fd_, out.data() + done, out.size() - done,
                                        static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                throwIo("cannot read the database file", errno);
            }
            if (got == 0) {
                throwDamaged("the file ends before a page it should hold");
            }
            done += static_cast<std::size_t>(got);
        }
    }

private:
    int fd_;
};

} // namespace

std::unique_ptr<ByteSource> descriptorSource(int fd) {
    return std::make_unique<DescriptorSource>(fd);
}

} // namespace jet
