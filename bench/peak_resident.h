#pragma once

namespace bench {

// The process's peak resident memory (VmHWM in /proc/self/status), in KiB; -1 if the kernel
// does not say.
long long peakResidentKb();

} // namespace bench
