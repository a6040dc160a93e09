#include "tests/jet/writer/call_faults.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

enum class Fault { None, Kill, Fail };

Fault fault = Fault::None;
long faultAt = 0;
long calls = 0;
const char* faulted = "nothing";
std::string trace;
std::string starts;
std::string lastStep;

std::string whatIsOpenAs(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        return "folder";
    }
    char target[4096];
    const ssize_t n =
        ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    return std::string(target, n > 0 ? static_cast<std::size_t>(n) : 0).ends_with("-journal")
               ? "journal"
               : "database";
}

// Notes the call; true when it is to fail. Kills the process when it is to die.
bool faultNow(const char* function, const std::string& step) {
    ++calls;
    if (step != lastStep) {
        trace += (trace.empty() ? "" : ", ") + step;
        starts += (starts.empty() ? "" : " ") + std::to_string(calls);
        lastStep = step;
    }
    if (calls != faultAt) {
        return false;
    }
    faulted = function;
    if (fault == Fault::Kill) {
        std::raise(SIGKILL);
    }
    return fault == Fault::Fail;
}

} // namespace

bool armCallFault(int argc, char** argv, int at) {
    if (argc < at + 2 ||
        (std::strcmp(argv[at], "kill") != 0 && std::strcmp(argv[at], "fail") != 0)) {
        return false;
    }
    fault = std::strcmp(argv[at], "kill") == 0 ? Fault::Kill : Fault::Fail;
    faultAt = std::atol(argv[at + 1]);
    return true;
}

void printCallReport() {
    std::printf("failed %s\ncalls %ld\ntrace %s\nstarts %s\n", faulted, calls, trace.c_str(),
                starts.c_str());
}

long callsSoFar() {
    return calls;
}

extern "C" {
ssize_t __real_pwrite(int fd, const void* buffer, size_t size, off_t offset);
int __real_fsync(int fd);
int __real_ftruncate(int fd, off_t length);
int __real_unlink(const char* path);

ssize_t __wrap_pwrite(int fd, const void* buffer, size_t size, off_t offset) {
    if (faultNow("pwrite", "write " + whatIsOpenAs(fd))) {
        errno = ENOSPC;
        return -1;
    }
    return __real_pwrite(fd, buffer, size, offset);
}

int __wrap_fsync(int fd) {
    if (faultNow("fsync", "sync " + whatIsOpenAs(fd))) {
        errno = EIO;
        return -1;
    }
    return __real_fsync(fd);
}

int __wrap_ftruncate(int fd, off_t length) {
    if (faultNow("ftruncate", "truncate " + whatIsOpenAs(fd))) {
        errno = ENOSPC;
        return -1;
    }
    return __real_ftruncate(fd, length);
}

int __wrap_unlink(const char* path) {
    if (faultNow("unlink", std::string(path).ends_with("-journal") ? "remove journal"
                                                                   : "remove something else")) {
        errno = EIO;
        return -1;
    }
    return __real_unlink(path);
}
}
