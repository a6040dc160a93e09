#include "jet/writer/rollback_journal.h"

#include "jet/reader/byte_order.h"
#include "jet/writer/file_io.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

constexpr std::array<std::uint8_t, 8> kMagic = {'J', 'E', 'T', 'J', 'R', 'N', 'L', '\n'};
// Version 1 summed its bytes one at a time; version 2 eight at a time, which a change of
// thousands of pages feels. Both are read.
constexpr std::uint32_t kVersion = 2;
constexpr std::uint32_t kOldestVersion = 1;
constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kChecksumAt = 24;
constexpr std::size_t kRecordSize = 4 + kPageSize;
// Records go out in batches of this many, so a large journal needs no second copy in memory.
constexpr std::size_t kRecordsPerWrite = 64;

using Header = std::array<std::uint8_t, kHeaderSize>;

// FNV-1a 64 over the header's first part and over each record, one piece at a time: in
// version 2 over the piece's little-endian 64-bit words (its last bytes one at a time), each
// product folded so that its high bits reach the next step.
class Checksum {
public:
    explicit Checksum(std::uint32_t version) : byWords_(version >= 2) {}

    void add(std::span<const std::uint8_t> bytes) {
        std::size_t i = 0;
        if (byWords_) {
            for (; i + 8 <= bytes.size(); i += 8) {
                value_ = (value_ ^ u64At(bytes, i)) * kPrime;
                value_ ^= value_ >> 29;
            }
        }
        for (; i < bytes.size(); ++i) {
            value_ = (value_ ^ bytes[i]) * kPrime;
        }
    }
    std::uint64_t value() const { return value_; }

private:
    static constexpr std::uint64_t kPrime = 0x100000001b3ULL;
    bool byWords_;
    std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

void putRecord(std::uint8_t* at, const JournalPage& page) {
    putLittleEndian({at, 4}, 0, page.number, 4);
    std::memcpy(at + 4, page.original.data(), kPageSize);
}

Header headerFor(const Journal& journal) {
    Header header{};
    std::copy(kMagic.begin(), kMagic.end(), header.begin());
    putLittleEndian(header, 8, kVersion, 4);
    putLittleEndian(header, 12, static_cast<std::uint32_t>(kPageSize), 4);
    putLittleEndian(header, 16, journal.originalPageCount, 4);
    putLittleEndian(header, 20, static_cast<std::uint32_t>(journal.pages.size()), 4);
    Checksum sum(kVersion);
    sum.add(std::span(header).first(kChecksumAt));
    std::array<std::uint8_t, kRecordSize> record{};
    for (const JournalPage& page : journal.pages) {
        putRecord(record.data(), page);
        sum.add(record);
    }
    putLittleEndian(header, kChecksumAt, sum.value(), 8);
    return header;
}

void writeRecords(int fd, const Journal& journal) {
    std::vector<std::uint8_t> batch;
    std::uint64_t offset = kHeaderSize;
    for (std::size_t first = 0; first < journal.pages.size(); first += kRecordsPerWrite) {
        const std::size_t count = std::min(kRecordsPerWrite, journal.pages.size() - first);
        batch.resize(count * kRecordSize);
        for (std::size_t i = 0; i < count; ++i) {
            putRecord(batch.data() + i * kRecordSize, journal.pages[first + i]);
        }
        writeAllAt(fd, batch, offset);
        offset += batch.size();
    }
}

// The journal a header that has passed its checks and its records make, or nothing when
// they do not agree.
std::optional<Journal> wholeJournal(const Header& header, Bytes records) {
    Checksum sum(u32At(header, 8));
    sum.add(std::span(header).first(kChecksumAt));
    for (std::size_t at = 0; at < records.size(); at += kRecordSize) {
        sum.add(records.subspan(at, kRecordSize));
    }
    if (sum.value() != u64At(header, kChecksumAt)) {
        return std::nullopt;
    }
    Journal journal;
    journal.originalPageCount = u32At(header, 16);
    for (std::size_t at = 0; at < records.size(); at += kRecordSize) {
        JournalPage& page = journal.pages.emplace_back();
        page.number = u32At(records, at);
        if (page.number == 0 || page.number >= journal.originalPageCount) {
            return std::nullopt;
        }
        std::memcpy(page.original.data(), records.data() + at + 4, kPageSize);
    }
    return journal;
}

} // namespace

void writeJournal(const std::string& path, const Journal& journal, mode_t mode) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!fd.valid()) {
        if (errno == EEXIST) {
            throw WriteError(WriteError::Kind::UnfinishedChange,
                             "the journal of an earlier change is still in the way: " + path);
        }
        throwWriteError("cannot create the journal " + path, errno);
    }
    try {
        writeAllAt(fd.get(), headerFor(journal), 0);
        writeRecords(fd.get(), journal);
        syncFile(fd.get(), "the journal");
        fd.reset();
        syncFolder(folderOf(path));
    } catch (const WriteError&) {
        fd.reset();
        ::unlink(path.c_str());
        throw;
    }
}

ReadJournal readJournal(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw WriteError(WriteError::Kind::UnfinishedChange,
                         "cannot read the journal of an unfinished change: " + path);
    }
    ReadJournal result;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    Header header{};
    if (size < kHeaderSize) {
        return result;
    }
    readAllAt(fd.get(), header, 0);
    if (!std::equal(kMagic.begin(), kMagic.end(), header.begin())) {
        return result;
    }
    if (u32At(header, 8) < kOldestVersion || u32At(header, 8) > kVersion) {
        result.state = JournalState::UnknownVersion;
        return result;
    }
    const std::uint32_t count = u32At(header, 20);
    if (u32At(header, 12) != kPageSize || count > u32At(header, 16) ||
        size != kHeaderSize + std::uint64_t{count} * kRecordSize) {
        return result;
    }
    std::vector<std::uint8_t> records(size - kHeaderSize);
    readAllAt(fd.get(), records, kHeaderSize);
    if (auto journal = wholeJournal(header, records)) {
        result = {JournalState::Whole, std::move(*journal)};
    }
    return result;
}

void retireJournal(const std::string& path) {
    const UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid()) {
        throwWriteError("cannot open the journal " + path, errno);
    }
    writeAllAt(fd.get(), Header{}, 0);
    syncFile(fd.get(), "the journal");
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throwWriteError("cannot remove the journal " + path, errno);
    }
    // Should the removal not last, what comes back is a journal without a header, which the
    // next open removes without touching the file.
    try {
        syncFolder(folderOf(path));
    } catch (const WriteError&) {
    }
}

void playBack(int fd, const Journal& journal, const std::string& journalPath) {
    for (const JournalPage& page : journal.pages) {
        writeAllAt(fd, page.original, std::uint64_t{page.number} * kPageSize);
    }
    truncateFile(fd, std::uint64_t{journal.originalPageCount} * kPageSize);
    syncFile(fd, "the database");
    if (::unlink(journalPath.c_str()) != 0 && errno != ENOENT) {
        throwWriteError("cannot remove the journal " + journalPath, errno);
    }
    // The file is whole and synced: should the removal not last, the journal only plays the
    // same pages back once more.
    try {
        syncFolder(folderOf(journalPath));
    } catch (const WriteError&) {
    }
}

} // namespace jet
