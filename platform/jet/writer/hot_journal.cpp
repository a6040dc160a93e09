#include "jet/writer/hot_journal.h"

#include "jet/writer/file_io.h"
#include "jet/writer/locked_file.h"
#include "jet/writer/rollback_journal.h"
#include "jet/writer/write_permission.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

bool journalExists(const std::string& journalPath) {
    struct stat info {};
    // Anything but a clear "not there" goes on to be examined, and refused if need be.
    return ::lstat(journalPath.c_str(), &info) == 0 || errno != ENOENT;
}

[[noreturn]] void throwUnfinished(const std::string& journalPath, const std::string& why) {
    throw WriteError(WriteError::Kind::UnfinishedChange,
                     "a change cut short left " + journalPath + ": " + why);
}

void removeIncomplete(const std::string& journalPath) {
    if (::unlink(journalPath.c_str()) != 0 && errno != ENOENT) {
        throwUnfinished(journalPath, "it cannot be removed");
    }
    try {
        syncFolder(folderOf(journalPath));
    } catch (const WriteError&) {
        // An incomplete journal that comes back is only removed again.
    }
}

// Under the exclusive lock.
void settle(int fd, const std::string& path, const std::string& journalPath) {
    try {
        requireWritable(fd, true, path);
    } catch (const WriteError& error) {
        throwUnfinished(journalPath, error.detail());
    }
    ReadJournal found;
    try {
        found = readJournal(journalPath);
    } catch (const WriteError& error) {
        throwUnfinished(journalPath, error.detail());
    }
    switch (found.state) {
    case JournalState::Incomplete:
        removeIncomplete(journalPath);
        return;
    case JournalState::UnknownVersion:
        throwUnfinished(journalPath, "it was written in a format this version cannot read");
    case JournalState::Whole:
        try {
            playBack(fd, found.journal, journalPath);
        } catch (const WriteError& error) {
            throwUnfinished(journalPath, "playing it back failed: " + error.detail());
        }
        return;
    }
}

} // namespace

void lockSettlingJournal(int fd, bool openForWriting, const std::string& path,
                         LockClock::time_point deadline) {
    const std::string journalPath = journalPathFor(path);
    for (;;) {
        if (openForWriting && journalExists(journalPath)) {
            if (tryLock(fd, LockMode::Exclusive)) {
                if (journalExists(journalPath)) {
                    settle(fd, path, journalPath);
                }
                tryLock(fd, LockMode::Shared);
                return;
            }
        } else if (tryLock(fd, LockMode::Shared)) {
            if (!journalExists(journalPath)) {
                return;
            }
            // A writer was cut short between the look and the lock.
            if (!openForWriting) {
                throwUnfinished(journalPath, "the file may not be written");
            }
            unlock(fd);
            continue;
        }
        if (!pauseBeforeRetry(deadline)) {
            throw WriteError(WriteError::Kind::Busy, "another session holds " + path);
        }
    }
}

} // namespace jet
