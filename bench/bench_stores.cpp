#include "bench/bench_stores.h"

#include "bench/plain_sqlite.h"
#include "data/sqlite_store.h"
#include "support/database_access.h"
#include "textrules/sqlite_text_functions.h"
#include "tools/demo_store/store_builder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <stdexcept>

#include <unistd.h>

namespace bench {
namespace {

std::runtime_error failure(const QString& message) {
    return std::runtime_error(message.toStdString());
}

// The store's schema as SQLite alone would declare it: same tables, keys and index, no
// collation of ours.
QString plainSchemaSql() {
    QString sql = platform::storeSchemaSql();
    sql.remove(QStringLiteral(" COLLATE ") + QLatin1String(textrules::kCollationName));
    return sql;
}

void makeDemoStore(const ShopSize& size, const QString& path) {
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    QElapsedTimer timer;
    timer.start();
    demostore::createDemoStore(partial, benchPassword(), size.demoRequest());
    if (!QFile::rename(partial, path)) {
        throw failure(QStringLiteral("cannot move %1 into place").arg(partial));
    }
    std::printf("made %s in %.1f s\n", qPrintable(path),
                static_cast<double>(timer.elapsed()) / 1e3);
}

// Copies every row into a new file with the plain schema. The connection knows our text
// rules only so that SQLite can read the source's schema; the copy never uses them.
void makePlainCopy(const QString& source, const QString& path) {
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    {
        PlainConnection copy(partial, PlainConnection::Create);
        if (textrules::registerTextFunctions(copy.handle()) != 0) {
            throw failure(QStringLiteral("cannot register the text rules"));
        }
        copy.execute(QStringLiteral("BEGIN"));
        copy.execute(plainSchemaSql());
        copy.execute(QStringLiteral("DROP INDEX BookBStrID"));
        copy.execute(
            QStringLiteral("ATTACH DATABASE %1 AS source").arg(Library1::SqlLiteral(source)));
        copy.execute(QStringLiteral("INSERT INTO Story SELECT * FROM source.Story ORDER BY rowid"));
        copy.execute(QStringLiteral("INSERT INTO Book SELECT * FROM source.Book ORDER BY BookID"));
        copy.execute(QStringLiteral("CREATE INDEX BookBStrID ON Book (BStrID)"));
        copy.execute(QStringLiteral("COMMIT"));
        copy.execute(QStringLiteral("DETACH DATABASE source"));
    }
    if (!QFile::rename(partial, path)) {
        throw failure(QStringLiteral("cannot move %1 into place").arg(partial));
    }
}

// Copies a store and waits until the copy is on disk: writing back a fresh copy of the
// large store takes seconds, and a change measured meanwhile would wait for it in its own
// sync.
void copyFresh(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to)) {
        throw failure(QStringLiteral("cannot copy %1 to %2").arg(from, to));
    }
    QFile copy(to);
    if (!copy.open(QIODevice::ReadWrite) || fsync(copy.handle()) != 0) {
        throw failure(QStringLiteral("cannot sync %1").arg(to));
    }
}

std::int64_t countCopies(PlainConnection& db, const std::string& code) {
    return db.singleInteger(QStringLiteral("SELECT COUNT(*) FROM Book WHERE BStrID = %1")
                                .arg(Library1::SqlLiteral(QString::fromStdString(code))));
}

void checkCounts(PlainConnection& db, const ShopSize& size, const QString& path) {
    auto expect = [&](const std::string& code, std::int64_t copies) {
        const std::int64_t found = countCopies(db, code);
        if (found != copies) {
            throw failure(QStringLiteral("%1: story %2 has %3 copies, expected %4")
                              .arg(path, QString::fromStdString(code))
                              .arg(found)
                              .arg(copies));
        }
    };
    expect(size.codes.enterFew, size.codes.enterFewCopies);
    expect(size.codes.enterMany, size.codes.enterManyCopies);
    for (const ShopCodes::Move& move : size.codes.moves) {
        expect(move.from, move.copies);
        expect(move.to, 0);
    }
    const std::int64_t copies = db.singleInteger(QStringLiteral("SELECT COUNT(*) FROM Book"));
    const std::int64_t stories = db.singleInteger(QStringLiteral("SELECT COUNT(*) FROM Story"));
    if (copies != size.copies || stories != size.stories) {
        throw failure(QStringLiteral("%1 holds %2 stories and %3 copies, expected %4 and %5")
                          .arg(path)
                          .arg(stories)
                          .arg(copies)
                          .arg(size.stories)
                          .arg(size.copies));
    }
}

} // namespace

QString benchPassword() {
    return QLatin1String(Library1::DatabaseAccess::kDatabasePassword);
}

ShopFiles prepareShop(const ShopSize& size, const QString& cacheDir, const QString& workDir) {
    if (!QDir().mkpath(cacheDir)) {
        throw failure(QStringLiteral("cannot make %1").arg(cacheDir));
    }
    const QString key = QString::fromStdString(size.storeKey());
    const QString cachedStore = QDir(cacheDir).filePath(key + QStringLiteral(".mdb"));
    const QString cachedPlain = QDir(cacheDir).filePath(key + QStringLiteral(".plain.db"));
    if (!QFile::exists(cachedStore)) {
        makeDemoStore(size, cachedStore);
        QFile::remove(cachedPlain); // made from an older store
    }
    if (!QFile::exists(cachedPlain)) {
        makePlainCopy(cachedStore, cachedPlain);
    }

    ShopFiles files;
    files.size = size;
    files.folder = QDir(workDir).filePath(QString::fromStdString(size.label));
    if (!QDir().mkpath(files.folder)) {
        throw failure(QStringLiteral("cannot make %1").arg(files.folder));
    }
    files.store = QDir(files.folder).filePath(QStringLiteral("book.mdb"));
    files.plainStore = QDir(files.folder).filePath(QStringLiteral("plain.db"));
    copyFresh(cachedStore, files.store);
    copyFresh(cachedPlain, files.plainStore);

    PlainConnection plain(files.plainStore, PlainConnection::Existing);
    checkCounts(plain, size, files.plainStore);
    PlainConnection ours(files.store, PlainConnection::Existing);
    if (textrules::registerTextFunctions(ours.handle()) != 0) {
        throw failure(QStringLiteral("cannot register the text rules"));
    }
    checkCounts(ours, size, files.store);
    return files;
}

} // namespace bench
