#include "jet/writer/journaled_write.h"

#include "jet/writer/file_io.h"
#include "jet/writer/rollback_journal.h"

#include <cerrno>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

struct FileShape {
    std::uint32_t pageCount = 0;
    mode_t mode = 0;
};

FileShape shapeOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        throwWriteError("cannot inspect the database", errno);
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size % kPageSize != 0 || size / kPageSize > std::numeric_limits<std::uint32_t>::max()) {
        refuseUnsupported("the file does not hold a whole number of pages");
    }
    return {static_cast<std::uint32_t>(size / kPageSize), info.st_mode & 0666};
}

void refuseBadPages(const StoredPages& pages, std::uint32_t pageCount, std::uint32_t newPageCount) {
    if (newPageCount == 0) {
        refuseUnsupported("a file without its header page");
    }
    for (const auto& [number, image] : pages) {
        if (number == 0) {
            refuseUnsupported("a change of the header page");
        }
        if (number >= newPageCount) {
            refuseUnsupported("page " + std::to_string(number) + " past the new end of " +
                              std::to_string(newPageCount) + " pages");
        }
    }
    for (std::uint32_t number = pageCount; number < newPageCount; ++number) {
        if (!pages.contains(number)) {
            refuseUnsupported("no image of new page " + std::to_string(number));
        }
    }
}

Journal journalFor(int fd, const StoredPages& pages, std::uint32_t pageCount,
                   std::uint32_t newPageCount) {
    Journal journal;
    journal.originalPageCount = pageCount;
    const auto keep = [&](std::uint32_t number) {
        JournalPage& page = journal.pages.emplace_back();
        page.number = number;
        readAllAt(fd, page.original, std::uint64_t{number} * kPageSize);
    };
    for (const auto& [number, image] : pages) {
        if (number < pageCount) {
            keep(number);
        }
    }
    for (std::uint32_t number = newPageCount; number < pageCount; ++number) {
        keep(number);
    }
    return journal;
}

void writePages(int fd, const StoredPages& pages, std::uint32_t pageCount,
                std::uint32_t newPageCount, const std::string& journalPath) {
    for (const auto& [number, image] : pages) {
        writeAllAt(fd, image, std::uint64_t{number} * kPageSize);
    }
    if (newPageCount < pageCount) {
        truncateFile(fd, std::uint64_t{newPageCount} * kPageSize);
    }
    syncFile(fd, "the database");
    retireJournal(journalPath);
}

} // namespace

void writeJournaled(int fd, const std::string& journalPath, const StoredPages& pages,
                    std::uint32_t newPageCount) {
    const FileShape shape = shapeOf(fd);
    refuseBadPages(pages, shape.pageCount, newPageCount);
    if (pages.empty() && newPageCount == shape.pageCount) {
        return;
    }
    const Journal journal = journalFor(fd, pages, shape.pageCount, newPageCount);
    writeJournal(journalPath, journal, shape.mode);
    try {
        writePages(fd, pages, shape.pageCount, newPageCount, journalPath);
    } catch (const WriteError& failure) {
        try {
            playBack(fd, journal, journalPath);
        } catch (const WriteError& undoFailure) {
            throw WriteError(WriteError::Kind::UnfinishedChange,
                             failure.detail() + "; undoing it failed too: " + undoFailure.detail());
        }
        throw;
    }
}

} // namespace jet
