#pragma once

#include "jet/writer/file_lock.h"

#include <string>

namespace jet {

// Takes the shared lock on the database open as fd, first playing back the journal of a
// change that was cut short. A journal held under a writer's exclusive lock belongs to a
// change still running: this waits for it until deadline. One found while the shared lock is
// held, or under the exclusive lock, is hot: no live writer owns it.
//
// A hot journal is played back under the exclusive lock; one that is not whole was cut short
// before the file was touched and is removed. Throws WriteError (Busy) when the lock cannot
// be had by deadline, and WriteError (UnfinishedChange) when a hot journal cannot be dealt
// with: the file, its folder or its medium cannot be written, the journal is of an unknown
// format, or playing it back fails. The file must not be read then.
void lockSettlingJournal(int fd, bool openForWriting, const std::string& path,
                         LockClock::time_point deadline);

} // namespace jet
