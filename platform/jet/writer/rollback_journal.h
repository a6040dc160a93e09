#pragma once

#include "jet/reader/page_store.h"

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace jet {

// What a change is about to overwrite: the original images of the pages it writes that the
// file already holds, and the file's length in pages before it.
//
// On disk, all integers little-endian:
//   0  8  magic "JETJRNL\n"
//   8  4  format version (2; 1 is read too)
//  12  4  page size (4096)
//  16  4  original page count
//  20  4  number of records
//  24  8  checksum of bytes 0..23 and of every record after them (rollback_journal.cpp)
//  32     records: page number (4 bytes), then the page's original 4096 bytes
// A journal is whole only when all of that is present and agrees, the file holding nothing
// after the last record: only a whole journal is ever synced before the file is touched.
struct JournalPage {
    std::uint32_t number = 0;
    PageBuffer original{};
};

struct Journal {
    std::uint32_t originalPageCount = 0;
    std::vector<JournalPage> pages;
};

// Creates the journal at path (it must not exist yet), writes it and syncs it and its
// folder. Throws WriteError and leaves no journal behind; the database has not been touched.
void writeJournal(const std::string& path, const Journal& journal, mode_t mode);

enum class JournalState {
    Whole,
    // Cut short while being written, or not ours: the database was never touched under it.
    Incomplete,
    // Written by a later format this code cannot play back.
    UnknownVersion,
};

struct ReadJournal {
    JournalState state = JournalState::Incomplete;
    Journal journal;
};

// Reads and checks the journal at path. Throws WriteError (UnfinishedChange) when it cannot be
// read at all.
ReadJournal readJournal(const std::string& path);

// Ends the journal of a change that is written and synced, so that nothing can bring it back
// to undo the change: its header is wiped and synced first (a journal without one is never
// played back), then it is removed and its folder synced. Throws WriteError while the header
// cannot be wiped or the journal removed; after that nothing fails.
void retireJournal(const std::string& path);

// Puts the original pages back, cuts the file to its original length, syncs it, removes the
// journal at journalPath and syncs its folder. Doing it again after it was cut short gives
// the same file. Throws WriteError; the journal stays until the file is whole again.
void playBack(int fd, const Journal& journal, const std::string& journalPath);

} // namespace jet
