#include "tests/jet/writer/writer_test_support.h"

#include <fcntl.h>
#include <grp.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/jet-file-layer-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    ::chmod(path_.c_str(), 0755);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<std::uint8_t> bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot read " + path);
    }
    return bytes;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::vector<std::uint8_t> patternedFile(std::uint32_t pages, std::uint32_t seed) {
    std::vector<std::uint8_t> bytes(std::size_t{pages} * 4096);
    std::uint32_t state = seed * 2654435761u + 1;
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

void setOwnerAndMode(const std::string& path, mode_t mode) {
    if ((::geteuid() == 0 && ::chown(path.c_str(), kUnprivilegedUser, kUnprivilegedUser) != 0) ||
        ::chmod(path.c_str(), mode) != 0) {
        throw std::runtime_error("cannot set the owner and mode of " + path);
    }
}

int runUnprivileged(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedUser) != 0 ||
                                 ::setuid(kUnprivilegedUser) != 0)) {
            ::_exit(kCannotChangeUser);
        }
        ::alarm(20);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        throw std::runtime_error("the child process failed");
    }
    return WEXITSTATUS(status);
}

ProgramRun runProgram(const std::vector<std::string>& arguments) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    const int spawned = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    ProgramRun run;
    char buffer[4096];
    for (ssize_t n; spawned == 0 && (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0) {
            run.output.append(buffer, static_cast<std::size_t>(n));
        } else if (errno != EINTR) {
            break;
        }
    }
    ::close(pipeFds[0]);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child) {
        throw std::runtime_error("cannot run " + arguments.front());
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.killedWith = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return run;
}

int outcomeOf(const std::function<void()>& session, const std::string& expectedDetail) {
    try {
        session();
        return 0;
    } catch (const jet::WriteError& error) {
        return expectedDetail == "*" || error.detail() == expectedDetail
                   ? writeErrorCode(error.kind())
                   : 90;
    } catch (const jet::ReadError& error) {
        return readErrorCode(error.kind());
    } catch (...) {
        return 91;
    }
}

int writeErrorCode(jet::WriteError::Kind kind) {
    return 1 + static_cast<int>(kind);
}

int readErrorCode(jet::ReadError::Kind kind) {
    return 50 + static_cast<int>(kind);
}

std::vector<std::string> linesStartingWith(const std::string& output, const std::string& prefix) {
    std::vector<std::string> found;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(prefix)) {
            found.push_back(line.substr(prefix.size()));
        }
    }
    return found;
}

std::string lineStartingWith(const std::string& output, const std::string& prefix) {
    const std::vector<std::string> found = linesStartingWith(output, prefix);
    return found.empty() ? "(none)" : found.front();
}

long callsOf(const ProgramRun& run) {
    return std::atol(lineStartingWith(run.output, "calls ").c_str());
}

std::vector<long> pointsUpTo(long total, long most) {
    std::vector<long> points;
    for (long n = 1; n <= total; ++n) {
        if (total <= most || n <= 4 || n > total - 4 ||
            n % ((total + most - 9) / (most - 8)) == 0) {
            points.push_back(n);
        }
    }
    return points;
}
