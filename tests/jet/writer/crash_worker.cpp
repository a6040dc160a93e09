// A separate process that changes a file through DatabaseFile, so a test can stop it dead
// at any of the calls that write or sync. It is linked with --wrap for each of those calls:
// the wrappers below count them, note what each one does, and at the call chosen kill the
// process before the call happens ("kill N") or make the call fail ("fail N": ENOSPC for
// pwrite and ftruncate, EIO for fsync and unlink).
//
//   crash_worker commit <file> <first:count:step:grow> [kill|fail N]
//       opens the file, writes the PageChange, prints "result ok" or "result error <kind>"
//   crash_worker open <file> [kill|fail N]
//       opens the file, which plays back a journal left beside it, and prints "result ok"
//
// Then it prints "failed <function>" ("nothing" unless one was made to fail), "calls <total>"
// and "trace <steps>": what the calls did in order, repeats merged, such as "write journal,
// sync journal, sync folder, write database, ...".

#include "database_file.h"
#include "page_change.h"
#include "read_error.h"
#include "write_error.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    if (step != lastStep) {
        trace += (trace.empty() ? "" : ", ") + step;
        lastStep = step;
    }
    if (++calls != faultAt) {
        return false;
    }
    faulted = function;
    if (fault == Fault::Kill) {
        std::raise(SIGKILL);
    }
    return fault == Fault::Fail;
}

} // namespace

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

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: crash_worker commit|open <file> [...]\n", stderr);
        return 2;
    }
    const std::string mode = argv[1];
    const int faultArgument = mode == "commit" ? 4 : 3;
    if (argc == faultArgument + 2) {
        fault = std::strcmp(argv[faultArgument], "kill") == 0 ? Fault::Kill : Fault::Fail;
        faultAt = std::atol(argv[faultArgument + 1]);
    }
    try {
        auto file = jet::DatabaseFile::open(argv[2], std::chrono::seconds(5));
        if (mode == "commit") {
            const PageChange change = PageChange::parse(argv[3]);
            const auto pageCount =
                static_cast<std::uint32_t>(file->reader()->size() / jet::kPageSize);
            file->beginWrite();
            file->commit(change.pages(pageCount), change.newPageCount(pageCount));
            file->endWrite();
        }
        std::puts("result ok");
    } catch (const jet::WriteError& error) {
        std::printf("result error %d %s\n", static_cast<int>(error.kind()), error.what());
    } catch (const jet::ReadError& error) {
        std::printf("result readerror %s\n", error.what());
    }
    std::printf("failed %s\n", faulted);
    std::printf("calls %ld\ntrace %s\n", calls, trace.c_str());
    return 0;
}
