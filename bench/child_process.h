#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// What a helper program reported on its report descriptor, and when it was started.
struct ChildReport {
    std::int64_t startedNs = 0; // CLOCK_MONOTONIC, just before the program was started
    std::string line;           // the first line written to the report descriptor
    int exitStatus = -1;
};

// The descriptor a helper program writes its one-line report to, announced to it in
// the environment variable kReportFdVariable.
inline constexpr int kReportFd = 3;
inline constexpr const char* kReportFdVariable = "BENCH_REPORT_FD";

// Starts program with the arguments and extra environment entries, waits for it to end,
// and returns its report. Throws std::runtime_error if it cannot be started.
ChildReport runReporting(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& environment);

std::int64_t monotonicNs();

} // namespace bench
