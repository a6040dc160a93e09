#include "jet/reader/read_error.h"

namespace jet {

ReadError::ReadError(Kind kind, const std::string& detail)
    : std::runtime_error(detail), kind_(kind) {}

void throwDamaged(const std::string& detail) {
    throw ReadError(ReadError::Kind::Damaged, detail);
}

void throwNotJet4(const std::string& detail) {
    throw ReadError(ReadError::Kind::NotJet4, detail);
}

} // namespace jet
