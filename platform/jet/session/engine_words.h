#pragma once

#include "jet/reader/read_error.h"
#include "jet/writer/write_error.h"

#include <stdexcept>
#include <string>

namespace platform {

// A failure as the user reads it: the engine's own words where the engine has them, in Thai
// otherwise with what to do about it, in UTF-8, and the SQLite result code that goes with
// them. Free of Qt, so the window and the SQLite shell's extension say the same. Paths are
// given as the user gave them.
struct EngineWords {
    std::string text;
    int code = 0;
};

EngineWords fileNotFoundWords(const std::string& path);
EngineWords unrecognizedFormatWords(const std::string& path);
EngineWords invalidPasswordWords();
EngineWords fileInUseWords(const std::string& path);
EngineWords readOnlyWords();
EngineWords diskFullWords();
// A read or write of the file that the system failed: the file not found, if it has gone.
EngineWords diskErrorWords(const std::string& path);
// A statement the file cannot run at all (anything but reading, UPDATE and DELETE).
EngineWords unsupportedStatementWords();

// What reading the Jet file at path failed with.
EngineWords readErrorWords(const jet::ReadError& error, const std::string& path);
// Why a change to the Jet file at path did not happen.
EngineWords writeErrorWords(const jet::WriteError& error, const std::string& path);

// A failure that reaches the user as it is: what opening a Jet file throws.
class EngineFailure : public std::runtime_error {
public:
    explicit EngineFailure(const EngineWords& words)
        : std::runtime_error(words.text), code_(words.code) {}
    int code() const noexcept { return code_; }

private:
    int code_;
};

} // namespace platform
