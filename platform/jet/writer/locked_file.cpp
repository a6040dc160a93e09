#include "jet/writer/locked_file.h"

#include "jet/reader/read_error.h"
#include "jet/writer/file_io.h"
#include "jet/writer/file_lock.h"
#include "jet/writer/hot_journal.h"
#include "jet/writer/journaled_write.h"
#include "jet/writer/write_error.h"
#include "jet/writer/write_permission.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

[[noreturn]] void throwCannotOpen(const std::string& path, const std::string& why) {
    throw ReadError(ReadError::Kind::Io, "cannot open " + path + ": " + why);
}

std::string realPathOf(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        throwCannotOpen(path, std::strerror(errno));
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

struct OpenedFile {
    UniqueFd fd;
    bool writable = false;
};

// Opening never waits on a FIFO or a device, and takes nothing but an ordinary file.
OpenedFile openOrdinaryFile(const std::string& path) {
    constexpr int kFlags = O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC;
    OpenedFile opened{UniqueFd(::open(path.c_str(), O_RDWR | kFlags)), true};
    if (!opened.fd.valid()) {
        const int error = errno;
        if (error != EACCES && error != EROFS && error != EPERM && error != ETXTBSY &&
            error != EISDIR) {
            throwCannotOpen(path, std::strerror(error));
        }
        opened = {UniqueFd(::open(path.c_str(), O_RDONLY | kFlags)), false};
        if (!opened.fd.valid()) {
            throwCannotOpen(path, std::strerror(errno));
        }
    }
    struct stat info {};
    if (::fstat(opened.fd.get(), &info) != 0) {
        throwCannotOpen(path, std::strerror(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        throwCannotOpen(path, "not an ordinary file");
    }
    const int flags = ::fcntl(opened.fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(opened.fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        throwCannotOpen(path, std::strerror(errno));
    }
    return opened;
}

class DescriptorLockedFile final : public LockedFile {
public:
    DescriptorLockedFile(std::string path, OpenedFile file, std::chrono::milliseconds lockTimeout)
        : path_(std::move(path)), file_(std::move(file)), lockTimeout_(lockTimeout) {}

    std::unique_ptr<ByteSource> reader() override { return descriptorSource(file_.fd.get()); }

    void beginWrite() override {
        if (writing_) {
            return;
        }
        refuseIfUnfinished();
        requireWritable(file_.fd.get(), file_.writable, path_);
        requireNotInShopProgram(path_);
        if (!lockBefore(file_.fd.get(), LockMode::Exclusive, LockClock::now() + lockTimeout_)) {
            throw WriteError(WriteError::Kind::Busy, "another session holds " + path_);
        }
        writing_ = true;
    }

    void writePages(const StoredPages& pages, std::uint32_t newPageCount) override {
        if (!writing_) {
            throw std::logic_error("writePages outside beginWrite and endWrite");
        }
        refuseIfUnfinished();
        try {
            writeJournaled(file_.fd.get(), journalPathFor(path_), pages, newPageCount);
        } catch (const WriteError& error) {
            unfinished_ = error.kind() == WriteError::Kind::UnfinishedChange;
            throw;
        }
    }

    void endWrite() override {
        if (writing_) {
            tryLock(file_.fd.get(), LockMode::Shared);
            writing_ = false;
        }
    }

    const std::string& path() const override { return path_; }

private:
    void refuseIfUnfinished() const {
        if (unfinished_) {
            throw WriteError(WriteError::Kind::UnfinishedChange,
                             "a change to " + path_ + " could not be undone; open it again");
        }
    }

    std::string path_;
    OpenedFile file_;
    std::chrono::milliseconds lockTimeout_;
    bool writing_ = false;
    // A change could be neither finished nor undone: its journal waits for the next open.
    bool unfinished_ = false;
};

} // namespace

std::unique_ptr<LockedFile> LockedFile::open(const std::string& path,
                                             std::chrono::milliseconds lockTimeout) {
    std::string realPath = realPathOf(path);
    OpenedFile file = openOrdinaryFile(realPath);
    lockSettlingJournal(file.fd.get(), file.writable, realPath, LockClock::now() + lockTimeout);
    return std::make_unique<DescriptorLockedFile>(std::move(realPath), std::move(file),
                                                  lockTimeout);
}

std::string journalPathFor(const std::string& databasePath) {
    return databasePath + "-journal";
}

} // namespace jet
