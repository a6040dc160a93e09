#pragma once

#include "jet/reader/database.h"
#include "jet/writer/change_plan.h"
#include "jet/writer/locked_file.h"
#include "jet/writer/write_error.h"

#include <optional>
#include <string>
#include <vector>

struct sqlite3_vtab;
struct sqlite3_value;

namespace platform {

// The change one statement makes to a Jet file: SQLite hands over its rows one by one, and
// the whole change is worked out and written, all or nothing, when SQLite syncs the
// statement's transaction. A refusal is kept for the session to report, and its message is
// the engine's words about the file at path (as the user gave it).
class JetWriteState {
public:
    JetWriteState(const jet::Database& database, jet::LockedFile& file, std::string path);

    const jet::Database& database() const noexcept { return database_; }
    const std::string& path() const noexcept { return path_; }
    const std::optional<jet::WriteError>& failure() const noexcept { return failure_; }

    // The virtual-table hooks of one table; each returns an SQLite result code and, on
    // failure, leaves the engine's words in vtab. None of them lets an exception out.
    int begin(sqlite3_vtab* vtab) noexcept;
    int update(sqlite3_vtab* vtab, const jet::UserTable& table, int argc,
               sqlite3_value** argv) noexcept;
    int sync(sqlite3_vtab* vtab) noexcept;
    // The statement is over, whether SQLite commits or rolls back its transaction.
    int endStatement(sqlite3_vtab* vtab) noexcept;

private:
    // Runs a hook's body behind the guard: a refusal is kept for the session to report.
    template <typename Body> int guarded(sqlite3_vtab* vtab, Body&& body) noexcept;
    void addUpdate(const jet::UserTable& table, jet::RowLocation row, int argc,
                   sqlite3_value** argv);
    void reset() noexcept;

    const jet::Database& database_;
    jet::LockedFile& file_;
    const std::string path_;
    std::optional<jet::WriteError> failure_;
    bool writing_ = false;
    const jet::UserTable* table_ = nullptr;
    std::optional<std::size_t> column_;
    std::vector<jet::RowUpdate> updates_;
    std::vector<jet::RowLocation> deletions_;
};

} // namespace platform
