#pragma once

#include "tests/testkit/gtest_qt.h"

#include <QString>

#include <cstdio>

// One row of the reliability table that tools/reliability-report.sh collects: what was tried
// and what held. A test that has failed says so in its row instead of claiming the result.
inline void reportRow(const QString& tried, const QString& held) {
    const QString outcome =
        ::testing::Test::HasFailure() ? QStringLiteral("FAILED (see the test output)") : held;
    std::printf("[reliability] %s | %s\n", tried.toUtf8().constData(),
                outcome.toUtf8().constData());
    std::fflush(stdout);
}
