#include "data/sqlite_engine.h"

#include <sqlite3.h>

#include <cstddef>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {
namespace {

constexpr int kPageSize = 4096; // the stores' page size, and SQLite's default
// Enough pages for the largest page cache one connection keeps (the default 2,000 KiB)
// with room for a second one open beside it; pages beyond come from the heap as before.
constexpr std::size_t kSlots = 512;
constexpr std::size_t kSlotRoom = kPageSize + 512; // a page and SQLite's header for it

// SQLite links every slot into its free list when it starts, so the whole block (2.3 MB) is
// mapped in once, then, and stays.
alignas(64) unsigned char pageBlock[kSlots * kSlotRoom];

using SystemOpen = int (*)(const char*, int, int);
SystemOpen systemOpen = nullptr;

// SQLite's own open, without waiting: an ordinary file gets its blocking mode back; anything
// else (a folder SQLite syncs, a FIFO, a device) stays non-blocking, so no read can wait.
int openWithoutWaiting(const char* path, int flags, int mode) {
    const int fd = systemOpen(path, flags | O_NONBLOCK | O_NOCTTY, mode);
    if (fd < 0) {
        return fd;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // The status flags as SQLite asked for them: O_NONBLOCK cleared, the rest as given.
        ::fcntl(fd, F_SETFL, flags);
    }
    return fd;
}

void configureMemory() {
    int header = 0;
    if (sqlite3_config(SQLITE_CONFIG_PCACHE_HDRSZ, &header) != SQLITE_OK) {
        return; // started by someone else already: nothing of the memory can change now
    }
    const int slot = (kPageSize + header + 7) / 8 * 8;
    if (static_cast<std::size_t>(slot) <= kSlotRoom) {
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, pageBlock, slot,
                       static_cast<int>(sizeof pageBlock / static_cast<std::size_t>(slot)));
    }
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
}

void openFilesWithoutWaiting() {
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    if (vfs == nullptr || vfs->iVersion < 3 || vfs->xGetSystemCall == nullptr) {
        return;
    }
    systemOpen = reinterpret_cast<SystemOpen>(vfs->xGetSystemCall(vfs, "open"));
    if (systemOpen != nullptr) {
        vfs->xSetSystemCall(vfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(openWithoutWaiting));
    }
}

} // namespace

void prepareSqlite() {
    static std::once_flag once;
    std::call_once(once, [] {
        configureMemory();
        sqlite3_initialize();
        openFilesWithoutWaiting();
    });
}

} // namespace platform
