#pragma once

#include <QString>

#include <gtest/gtest.h>

#include <optional>

// The project's own test data (tests/data): the Jet fixtures and their expected contents.
QString testDataDir();

// The shared material beside the project, where the independent checker of Jet files lives;
// nothing where it is absent, as on a clone of the project alone.
std::optional<QString> sharedMaterialDir();

// Whether CI runs the tests (CI=true): it always has the shared material.
bool runningUnderCi();

// In a test (or SetUp) that needs the shared material: where it is absent, skips the test,
// saying what is not tested, or fails it under CI.
#define REQUIRE_SHARED_MATERIAL(what)                                                              \
    if (!sharedMaterialDir()) {                                                                    \
        if (runningUnderCi()) {                                                                    \
            FAIL() << (what) << ": the shared material beside the project is absent under CI";     \
        }                                                                                          \
        GTEST_SKIP() << "not tested without the shared material beside the project: " << (what);   \
    }
