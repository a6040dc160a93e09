#include "write_error.h"

namespace jet {

WriteError::WriteError(Kind kind, std::string detail)
    : std::runtime_error(detail), kind_(kind), detail_(std::move(detail)) {}

void refuseUnsupported(const std::string& what) {
    throw WriteError(WriteError::Kind::Unsupported, what);
}

} // namespace jet
