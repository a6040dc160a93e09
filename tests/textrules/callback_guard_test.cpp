// An exception thrown inside a callback SQLite calls from C ends as an SQL error the statement
// reports, whatever was thrown, never as the end of the process.

#include "textrules/sqlite_callback_guard.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

struct Thrown {
    const char* name;
    std::function<void()> raise;
    int code;            // what the statement ends in
    const char* message; // part of its error message
};

void throwing(sqlite3_context* context, int, sqlite3_value**) noexcept {
    const auto* raise = static_cast<const std::function<void()>*>(sqlite3_user_data(context));
    textrules::guardedFunction(context, [&] { (*raise)(); });
}

class CallbackGuard : public ::testing::TestWithParam<Thrown> {};

TEST_P(CallbackGuard, TurnsAnyExceptionIntoTheStatementsError) {
    const Thrown& thrown = GetParam();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_create_function_v2(db, "fails", 0, SQLITE_UTF8,
                                         const_cast<std::function<void()>*>(&thrown.raise),
                                         throwing, nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT fails()", -1, &statement, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_step(statement), thrown.code);
    EXPECT_NE(std::string(sqlite3_errmsg(db)).find(thrown.message), std::string::npos)
        << sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

INSTANTIATE_TEST_SUITE_P(
    Exceptions, CallbackGuard,
    ::testing::Values(
        Thrown{"runtime_error", [] { throw std::runtime_error("the lock could not be let go"); },
               SQLITE_ERROR, "the lock could not be let go"},
        Thrown{"bad_alloc", [] { throw std::bad_alloc(); }, SQLITE_NOMEM, "out of memory"},
        Thrown{"not_an_exception_class", [] { throw 42; }, SQLITE_ERROR, "an unexpected error"}),
    [](const ::testing::TestParamInfo<Thrown>& param) { return std::string(param.param.name); });

} // namespace
