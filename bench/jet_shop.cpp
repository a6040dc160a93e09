#include "bench/jet_shop.h"

#include "bench/plain_sqlite.h"
#include "data/adodb.h"
#include "data/sqlite_store.h"
#include "support/database_access.h"
#include "textrules/sqlite_text_functions.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace bench {
namespace {

std::runtime_error failure(const QString& message) {
    return std::runtime_error(message.toStdString());
}

ShopSize jetSize() {
    ShopSize size;
    size.label = "Jet";
    size.stories = 20'000;
    size.copies = 150'000;
    size.codes.enterFew = "LONG-255";
    size.codes.enterFewCopies = 8;
    size.codes.enterMany = "KH-0001";
    size.codes.enterManyCopies = kBestSellerCopies;
    size.codes.moves = {{"KH-0001", "NEW-0001", kBestSellerCopies}};
    return size;
}

// The Jet file's rows, read as the tool reads them, into a plain store.
void makePlainCopy(const QString& jet, const QString& path) {
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    {
        PlainConnection copy(partial, PlainConnection::Create);
        copy.execute(QStringLiteral("BEGIN"));
        QString schema = platform::storeSchemaSql();
        copy.execute(
            schema.remove(QStringLiteral(" COLLATE ") + QLatin1String(textrules::kCollationName)));
        const QString connection =
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Persist Security "
                           "Info=False;Jet OLEDB:Database Password=%2")
                .arg(jet, QLatin1String(Library1::DatabaseAccess::kDatabasePassword));
        for (const QString& table : {QStringLiteral("Story"), QStringLiteral("Book")}) {
            adodb::Recordset rows;
            rows.Open(QStringLiteral("SELECT * FROM ") + table, connection, adodb::adOpenStatic,
                      adodb::adLockReadOnly);
            const QString insert =
                QStringLiteral("INSERT INTO %1 VALUES (?1, ?2, ?3, ?4, ?5)").arg(table);
            for (; !rows.Eof(); rows.MoveNext()) {
                std::vector<std::optional<QByteArray>> values;
                for (int i = 0; i < rows.FieldCount(); ++i) {
                    const QVariant value = rows.Fields(i).Value;
                    values.push_back(value.isNull() ? std::nullopt
                                                    : std::optional(value.toString().toUtf8()));
                }
                copy.executeWith(insert, values);
            }
        }
        copy.execute(QStringLiteral("COMMIT"));
    }
    if (!QFile::rename(partial, path)) {
        throw failure(QStringLiteral("cannot move %1 into place").arg(partial));
    }
}

void copyInto(const QString& from, const QString& to) {
    QFile::remove(to);
    if (!QFile::copy(from, to) ||
        !QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        throw failure(QStringLiteral("cannot copy %1 to %2").arg(from, to));
    }
}

} // namespace

std::optional<JetShop> prepareJetShop(const QString& cacheDir, const QString& workDir) {
    const QString fixture = QStringLiteral(BENCH_TEST_DATA "/jet/shop-large.mdb");
    if (!QFile::exists(fixture)) {
        return std::nullopt;
    }
    const QString cachedPlain = QDir(cacheDir).filePath(QStringLiteral("jet-large.plain.db"));
    if (!QDir().mkpath(cacheDir)) {
        throw failure(QStringLiteral("cannot make %1").arg(cacheDir));
    }
    if (!QFile::exists(cachedPlain)) {
        makePlainCopy(fixture, cachedPlain);
    }
    JetShop shop;
    shop.files.size = jetSize();
    shop.files.folder = QDir(workDir).filePath(QStringLiteral("Jet"));
    if (!QDir().mkpath(shop.files.folder)) {
        throw failure(QStringLiteral("cannot make %1").arg(shop.files.folder));
    }
    shop.files.store = QDir(shop.files.folder).filePath(QStringLiteral("book.mdb"));
    shop.files.plainStore = QDir(shop.files.folder).filePath(QStringLiteral("plain.db"));
    shop.pristine = QDir(shop.files.folder).filePath(QStringLiteral("pristine.mdb"));
    copyInto(fixture, shop.pristine);
    copyInto(fixture, shop.files.store);
    copyInto(cachedPlain, shop.files.plainStore);
    return shop;
}

} // namespace bench
