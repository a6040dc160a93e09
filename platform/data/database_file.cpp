#include "data/database_file.h"

#include "jet/writer/file_io.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kSqliteApplicationIdAt = 68;

} // namespace

DatabaseFileHead readDatabaseFileHead(const QString& path) {
    // Opened without waiting: a FIFO, a device or a socket put in the file's place while the
    // window is open must never hold the program up, whoever made it. Only an ordinary file
    // counts as the database, as at start-up.
    const jet::UniqueFd file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0) {
        // A socket cannot be opened at all (ENXIO): it is no file either. A file that is
        // there but cannot be read is not recognized, as before.
        const bool absent = errno == ENOENT || errno == ENOTDIR || errno == ELOOP || errno == ENXIO;
        return {absent ? DatabaseFileKind::Missing : DatabaseFileKind::Unrecognized};
    }
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {DatabaseFileKind::Missing};
    }
    // Enough for SQLite's header up to its application id, and for Jet's version byte.
    unsigned char head[kSqliteApplicationIdAt + 4] = {};
    ssize_t got = -1;
    do {
        got = ::pread(file.get(), head, sizeof head, 0);
    } while (got < 0 && errno == EINTR);
    const QByteArray bytes(reinterpret_cast<const char*>(head),
                           got > 0 ? static_cast<qsizetype>(got) : 0);
    if (bytes.startsWith(QByteArray("SQLite format 3\0", 16))) {
        // Big-endian, as every number in SQLite's header; a header cut short reads as 0.
        std::uint32_t id = 0;
        for (int i = 0; i < 4; ++i) {
            id = id << 8 | head[kSqliteApplicationIdAt + i];
        }
        return {DatabaseFileKind::SqliteStore, id};
    }
    // Jet keeps its signature at offset 4 and the format version at 0x14: 1 is Jet 4.0;
    // Jet 3 and the later ACE format are other formats.
    if (bytes.size() > 0x14 && bytes.mid(4, 16) == QByteArray("Standard Jet DB\0", 16) &&
        bytes[0x14] == 1) {
        return {DatabaseFileKind::Jet4};
    }
    return {DatabaseFileKind::Unrecognized};
}

} // namespace platform
