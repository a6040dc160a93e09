#pragma once

#include "jet/writer/locked_file.h"

#include <string>

namespace jet {

// Writes pages into the database open as fd and sets it to newPageCount pages, all or
// nothing. The originals of the pages overwritten or cut off go to the journal at
// journalPath first, synced with its folder; then the pages are written and the file synced;
// wiping the journal's header is the moment the change counts, and the journal goes after it. A
// failure after the file was touched plays the journal back at once.
//
// Throws WriteError (Unsupported) for page 0, a page past newPageCount, a page missing
// between the old end and the new one, or a file that does not end on a page boundary, before
// anything is written. Throws WriteError (UnfinishedChange) when the change can be neither
// finished nor undone: the journal then stays for the next open to play back.
void writeJournaled(int fd, const std::string& journalPath, const StoredPages& pages,
                    std::uint32_t newPageCount);

} // namespace jet
