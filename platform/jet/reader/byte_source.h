#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace jet {

// Where the bytes of a database come from: a file opened read-only, or memory (tests and
// the fuzzer). Reads never write anything back.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t size() const = 0;
    // Fills out from offset; throws ReadError when the bytes cannot all be read.
    virtual void read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

// Opens path for reading only. Throws ReadError (Io) when the file cannot be opened.
std::unique_ptr<ByteSource> openFileReadOnly(const std::string& path);

// Reads through a descriptor someone else keeps open (and may be writing through): the size
// is asked anew each time.
std::unique_ptr<ByteSource> descriptorSource(int fd);

std::unique_ptr<ByteSource> memorySource(std::vector<std::uint8_t> bytes);

} // namespace jet
