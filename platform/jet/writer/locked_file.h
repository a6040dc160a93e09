#pragma once

#include "jet/reader/byte_source.h"
#include "jet/reader/page_store.h"

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
//
// The locks belong to the session, not to the process (Linux open-file-description locks on
// the whole file): a session holds a shared lock from open to destruction and the exclusive
// lock from beginWrite to endWrite, so a change can only begin while no other session, of
// this process or another, has the file open. A session kept out retries every few
// milliseconds until its timeout and then throws WriteError (Busy); it never waits forever.
class LockedFile {
public:
    // Opens path, following symbolic links to the real file (the journal lives beside it).
    // Never waits on a FIFO or device. Waits up to lockTimeout for another process that is
    // writing. Throws ReadError (Io) when there is no ordinary file to open, WriteError (Busy)
    // when the lock cannot be had, WriteError (UnfinishedChange) when a journal must be played
    // back and cannot be.
    static std::unique_ptr<LockedFile> open(const std::string& path,
                                            std::chrono::milliseconds lockTimeout);
    virtual ~LockedFile() = default;

    // Reads through this file; valid while it lives.
    virtual std::unique_ptr<ByteSource> reader() = 0;

    // Makes this session the only one on the file and checks that the change can be written
    // (file, folder and medium writable; the shop program's lock file names no user). Throws
    // WriteError and changes nothing. A session refused Busy keeps its shared lock, so the
    // pages it has read stay as they are: two sessions that both want to write both wait out
    // their timeouts and both get Busy.
    virtual void beginWrite() = 0;
    // Writes pages and sets the file to newPageCount pages, all or nothing; only between
    // beginWrite and endWrite. Pages at or past the current end are appended: every one of
    // them must be given. Pages past newPageCount are cut off. Throws WriteError; the file is
    // then as it was. Unsupported (page 0, a page past newPageCount, a missing new page, a
    // file that is not a whole number of pages) comes before anything is written.
    // UnfinishedChange means the change could be neither finished nor undone: the journal
    // stays for the next open to play back, and this session can only be closed.
    virtual void writePages(const StoredPages& pages, std::uint32_t newPageCount) = 0;
    // Lets other readers in again; the session keeps its shared lock.
    virtual void endWrite() = 0;

    // The real file's path, after symbolic links.
    virtual const std::string& path() const = 0;
};

// The journal of a change to the file at databasePath.
std::string journalPathFor(const std::string& databasePath);

} // namespace jet
