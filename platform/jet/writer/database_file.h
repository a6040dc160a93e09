#pragma once

#include "byte_source.h"
#include "page_store.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace jet {

// The pages one change writes, as they are to be stored (already encoded where the file
// encodes its pages), by page number. Page 0 is never among them.
using StoredPages = std::map<std::uint32_t, PageBuffer>;

// A Jet file as one session holds it: open for reading, and for writing where the file and
// its medium allow, under a lock shared with other readers. A change is written all or
// nothing: the original images of the pages it overwrites go to a journal beside the file
// (written and synced) before the first page is touched, and the journal goes once the file
// is synced. A journal found at open belongs to a change that was cut short and is played
// back first.
class DatabaseFile {
public:
    // Opens path, following symbolic links to the real file (the journal lives beside it).
    // Never waits on a FIFO or device. Waits up to lockTimeout for another process that is
    // writing. Throws ReadError (Io) when there is no ordinary file to open, WriteError (Busy)
    // when the lock cannot be had, WriteError (UnfinishedChange) when a journal must be played
    // back and cannot be.
    static std::unique_ptr<DatabaseFile> open(const std::string& path,
                                              std::chrono::milliseconds lockTimeout);
    virtual ~DatabaseFile() = default;

    // Reads through this file; valid while it lives.
    virtual std::unique_ptr<ByteSource> reader() = 0;

    // Makes this session the only one on the file and checks that the change can be written
    // (file, folder and medium writable; the shop program's lock file names no user). Throws
    // WriteError and changes nothing.
    virtual void beginWrite() = 0;
    // Writes pages and sets the file to newPageCount pages, all or nothing. Pages at or past
    // the current end are appended. Throws WriteError; the file is then as it was.
    virtual void commit(const StoredPages& pages, std::uint32_t newPageCount) = 0;
    // Lets other readers in again.
    virtual void endWrite() = 0;

    // The real file's path, after symbolic links.
    virtual const std::string& path() const = 0;
};

// The journal of a change to the file at databasePath.
std::string journalPathFor(const std::string& databasePath);

} // namespace jet
