#pragma once

// Files, folders and processes for the tests of the file layer: plain POSIX, so what a test
// sees of a file is the bytes on disk and nothing cached on the way.

#include "jet/reader/read_error.h"
#include "jet/writer/write_error.h"

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::vector<std::uint8_t> fileBytes(const std::string& path);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool exists(const std::string& path);
// Pages of bytes that vary from page to page and from seed to seed.
std::vector<std::uint8_t> patternedFile(std::uint32_t pages, std::uint32_t seed);

// The user the tests become when root, whom file permissions do not stop.
inline constexpr uid_t kUnprivilegedUser = 65534;
// Gives path to kUnprivilegedUser when running as root, and sets its mode.
void setOwnerAndMode(const std::string& path, mode_t mode);

// Runs body in a child process, as kUnprivilegedUser when running as root, and returns its
// result as the child's exit code (0 to 120); 125 means the child could not change user. A
// child still running after 20 seconds is stopped and the call throws.
int runUnprivileged(const std::function<int()>& body);
inline constexpr int kCannotChangeUser = 125;

// How a session ended, as a small number a child process can exit with: 0 without an error,
// writeErrorCode or readErrorCode of the kind of error it threw, 90 for a WriteError whose
// detail is not expectedDetail ("*" takes any), 91 for anything else.
int outcomeOf(const std::function<void()>& session, const std::string& expectedDetail = "*");
int writeErrorCode(jet::WriteError::Kind kind);
int readErrorCode(jet::ReadError::Kind kind);

struct ProgramRun {
    int exitCode = -1;  // when it exited
    int killedWith = 0; // the signal that ended it, if one did
    std::string output; // its standard output
};
ProgramRun runProgram(const std::vector<std::string>& arguments);

// What a worker printed: the rest of each line that starts with prefix, in order; the first
// of them, or "(none)"; and the calls it counted (its "calls" line).
std::vector<std::string> linesStartingWith(const std::string& output, const std::string& prefix);
std::string lineStartingWith(const std::string& output, const std::string& prefix);
long callsOf(const ProgramRun& run);

// The calls to stop a worker at, of total: all of them up to most, or else both ends and an
// even spread between, about most in all.
std::vector<long> pointsUpTo(long total, long most);
