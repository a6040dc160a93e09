#pragma once

#include "jet/reader/database.h"
#include "jet/session/jet_write_state.h"
#include "jet/writer/locked_file.h"

#include <chrono>
#include <memory>
#include <string>

namespace platform {

// A Jet file opened for SQL: locked from open to destruction (see LockedFile), its database
// password checked as the engine checks it, its tables read and its changes written through
// writes(), which attachJetTables hands to SQLite.
class JetFileSession {
public:
    // How long opening or changing the file waits for another session that is changing it.
    static constexpr std::chrono::milliseconds kLockTimeout{5000};

    // Throws EngineFailure in the engine's words, path spelled as given: the file missing or
    // not a Jet 4.0 database, the password wrong, the file busy, or a change cut short that
    // cannot be played back.
    static std::unique_ptr<JetFileSession> open(const std::string& path,
                                                const std::u16string& password);

    JetWriteState& writes() noexcept { return writes_; }

private:
    JetFileSession(const std::string& path, std::unique_ptr<jet::LockedFile> file,
                   std::unique_ptr<jet::Database> database);

    std::unique_ptr<jet::LockedFile> file_;
    std::unique_ptr<jet::Database> database_;
    JetWriteState writes_;
};

} // namespace platform
