#pragma once

#include "byte_source.h"

#include <memory>

namespace jet {

// Reads through a descriptor someone else keeps open (and locked), so the bytes read are
// those of the file under that lock. The size is asked for each time: a change may have
// grown or cut the file.
std::unique_ptr<ByteSource> descriptorSource(int fd);

} // namespace jet
