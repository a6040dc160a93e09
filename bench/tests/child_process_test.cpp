#include "bench/child_process.h"

#include <gtest/gtest.h>

namespace {

TEST(ChildProcess, ReadsTheReportLineAndTheExitStatus) {
    const bench::ChildReport report = bench::runReporting(
        "/bin/sh", {"-c", "echo noise; echo \"$GREETING $BENCH_REPORT_FD\" >&3; exit 4"},
        {{"GREETING", "hello"}});
    EXPECT_EQ(report.line, "hello 3");
    EXPECT_EQ(report.exitStatus, 4);
    EXPECT_GT(report.startedNs, 0);
    EXPECT_LE(report.startedNs, bench::monotonicNs());
}

TEST(ChildProcess, NoReportIsAnEmptyLine) {
    const bench::ChildReport report = bench::runReporting("/bin/true", {}, {});
    EXPECT_EQ(report.line, "");
    EXPECT_EQ(report.exitStatus, 0);
}

TEST(ChildProcess, AProgramThatCannotStartIsAnError) {
    EXPECT_THROW(bench::runReporting("/nonexistent/program", {}, {}), std::runtime_error);
}

} // namespace
