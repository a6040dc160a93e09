#pragma once

#include <stdexcept>
#include <string>

namespace jet {

// Why a file could not be read: it is not a Jet 4.0 database at all, its structures
// contradict each other (a truncated or damaged file), or the operating system failed us.
class ReadError : public std::runtime_error {
public:
    enum class Kind { NotJet4, Damaged, Io };

    ReadError(Kind kind, const std::string& detail);

    Kind kind() const noexcept { return kind_; }

private:
    Kind kind_;
};

[[noreturn]] void throwDamaged(const std::string& detail);
[[noreturn]] void throwNotJet4(const std::string& detail);

} // namespace jet
