// The shop fixtures through the data-access objects, with the statement texts the tool issues.

#include "data/adodb.h"
#include "data/db_error.h"
#include "tests/jet/fixture_files.h"
#include "tests/jet/synthetic_shop_files.h"
#include "textrules/text_collator.h"

#include "tests/testkit/gtest_qt.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

namespace {

const QString kPassword = QStringLiteral("kd=73");
const QString kNotSupported = QStringLiteral("Operation is not supported for this type of object.");

class JetFixture : public JetFixtureTest {
protected:
    QString path(const QString& name) const { return fixture(name); }
    QString small() const {
        return jetConnectionString(path(QStringLiteral("shop-small")), kPassword);
    }
};

TEST_F(JetFixture, EveryTableReadsBackAsTheExpectedFilesSay) {
    for (const QString& fixture : kFixtureNames) {
        const QString password =
            fixture == QStringLiteral("shop-otherpass") ? QStringLiteral("secret") : kPassword;
        for (const QString& table : {QStringLiteral("Story"), QStringLiteral("Book")}) {
            QStringList header;
            QStringList rows = queryRows(QStringLiteral("SELECT * FROM ") + table,
                                         jetConnectionString(path(fixture), password), &header);
            // The expected files order rows by code (NULL first, then UTF-16 code units), then
            // by BookID.
            const int code = table == QStringLiteral("Story") ? 0 : 1;
            struct Keyed {
                bool nullCode;
                QString code;
                qlonglong id;
                QString row;
            };
            std::vector<Keyed> keyed;
            for (const QString& row : rows) {
                const QString c = row.section(QLatin1Char('\t'), code, code);
                keyed.push_back({c == QStringLiteral("\\N"), c,
                                 row.section(QLatin1Char('\t'), 0, 0).toLongLong(), row});
            }
            std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
                return std::make_tuple(!a.nullCode, a.code, a.id) <
                       std::make_tuple(!b.nullCode, b.code, b.id);
            });
            rows.clear();
            for (const Keyed& k : keyed) {
                rows << k.row;
            }
            rows.prepend(header.join(QLatin1Char('\t')));
            const QStringList expected = expectedLines(folder_, fixture, table);
            ASSERT_EQ(rows.size(), expected.size())
                << fixture.toStdString() << " " << table.toStdString();
            for (qsizetype i = 0; i < rows.size(); ++i) {
                ASSERT_EQ(rows[i], expected[i])
                    << fixture.toStdString() << " " << table.toStdString() << " line " << i + 1;
            }
        }
    }
}

TEST_F(JetFixture, PasswordIsCheckedOnlyWhereTheFileHasOne) {
    const QString invalid = QStringLiteral("Not a valid password.");
    const struct {
        const char* fixture;
        const char* password;
        QString error;
    } cases[] = {
        {"shop-small", "kd=73", {}},      {"shop-small", "KD=73", invalid},
        {"shop-small", "", invalid},      {"shop-small", "kd=73 ", invalid},
        {"shop-encoded", "kd=73", {}},    {"shop-encoded", "secret", invalid},
        {"shop-otherpass", "secret", {}}, {"shop-otherpass", "kd=73", invalid},
        {"shop-nopass", "", {}},          {"shop-nopass", "anything at all", {}},
    };
    for (const auto& c : cases) {
        const QString connection = jetConnectionString(path(QString::fromLatin1(c.fixture)),
                                                       QString::fromLatin1(c.password));
        EXPECT_EQ(queryError(storyLookup(QStringLiteral("KH-0001")), connection), c.error)
            << c.fixture << " / " << c.password;
        if (c.error.isEmpty()) {
            EXPECT_EQ(queryRows(storyLookup(QStringLiteral("KH-0001")), connection)
                          .value(0)
                          .section(QLatin1Char('\t'), 1, 1),
                      QStringLiteral("ขายหัวเราะ"))
                << c.fixture;
        }
    }
}

TEST_F(JetFixture, StoryLookupFindsTheCodeAsTheEngineComparesText) {
    const struct {
        const char* code;
        QString name; // "<none>" when no row is found
    } cases[] = {
        {"KH-0001", QStringLiteral("ขายหัวเราะ")},
        {"kh-0001", QStringLiteral("ขายหัวเราะ")},
        {"KH-0001   ", QStringLiteral("ขายหัวเราะ")},
        {"BL-0002", QStringLiteral("\\N")},
        {"BL-0003", QString()},
        {"BL-0001", QStringLiteral("     ")},
        {"O'NEIL1", QStringLiteral("O'Neil's Casebook คดีลับของนักสืบโอนีล")},
        {"NOPE-1", QStringLiteral("<none>")},
        {"ZZ-0001", QStringLiteral("<none>")},
    };
    for (const auto& c : cases) {
        const QStringList rows = queryRows(storyLookup(QString::fromLatin1(c.code)), small());
        EXPECT_EQ(rows.isEmpty() ? QStringLiteral("<none>")
                                 : rows[0].section(QLatin1Char('\t'), 1, 1),
                  c.name)
            << c.code;
    }
}

TEST_F(JetFixture, BookCountCountsCopiesIgnoringCase) {
    const struct {
        const char* file;
        QString code;
        const char* copies;
    } cases[] = {
        {"shop-small", QStringLiteral("KH-0001"), "1234"},
        {"shop-small", QStringLiteral("TH-0123"), "5"},
        {"shop-small", QStringLiteral("th-0123"), "5"},
        {"shop-small", QStringLiteral("NEW-0001"), "0"},
        {"shop-small", QStringLiteral("O'NEIL1"), "4"},
        {"shop-small", QStringLiteral("SERIES-2012-001"), "7"},
        {"shop-small", QStringLiteral("NV 0100"), "3"},
        {"shop-small", QStringLiteral("X0001"), "2"},
        {"shop-small", QStringLiteral("DEL-0042"), "4"},
        // A soft hyphen has no index code, so the copies are compared row by row, with the
        // collation, which ignores it as the embedded store does.
        {"shop-small", QStringLiteral("TH-0123\u00AD"), "5"},
        {"shop-encoded", QStringLiteral("KH-0001"), "1234"},
        {"shop-large", QStringLiteral("KH-0001"), "40000"},
        {"shop-large", QStringLiteral("th-0123"), "5"},
        {"shop-large", QStringLiteral("W0012"), "7"},
    };
    for (const auto& c : cases) {
        const QString connection =
            jetConnectionString(path(QString::fromLatin1(c.file)), kPassword);
        EXPECT_EQ(queryRows(bookCount(c.code), connection),
                  QStringList{QString::fromLatin1(c.copies)})
            << c.file << " " << c.code.toStdString();
    }
}

TEST_F(JetFixture, NameSearchKeepsWildcardsAndOrdersByName) {
    const struct {
        QString fragment;
        QStringList codes;
    } cases[] = {
        {QStringLiteral("100%"), {"W0002", "W0010"}},
        {QStringLiteral("50%_"), {"W0001"}},
        {QStringLiteral("[[]"), {"W0005", "W0006", "W0010"}},
        {QStringLiteral("my[_]secret"), {"W0004"}},
        {QStringLiteral("GHOST"), {"W0006"}},
        {QStringLiteral("_ลับ"),
         {"A0033", "A0050", "C0021", "M0040", "O'NEIL1", "TH-0029", "TH-0050", "W0003", "W0011"}},
        {QStringLiteral("[!ก-ฮ]ลับ"),
         {"A0033", "A0050", "C0021", "M0040", "O'NEIL1", "W0003", "W0011"}},
    };
    for (const auto& c : cases) {
        QStringList codes;
        for (const QString& row : queryRows(nameSearch(c.fragment), small())) {
            codes << row.section(QLatin1Char('\t'), 0, 0);
        }
        codes.sort();
        EXPECT_EQ(codes, c.codes) << c.fragment.toStdString();
    }

    // Every named story, in the collation's order.
    const QStringList all = queryRows(nameSearch(QString()), small());
    EXPECT_EQ(all.size(), 299) << "300 stories, one without a name";
    const textrules::TextCollator collator;
    for (qsizetype i = 1; i < all.size(); ++i) {
        EXPECT_LE(collator.compare(all[i - 1].section(QLatin1Char('\t'), 1).toStdString(),
                                   all[i].section(QLatin1Char('\t'), 1).toStdString()),
                  0)
            << all[i - 1].toStdString() << " before " << all[i].toStdString();
    }
}

TEST_F(JetFixture, FieldsHaveTheEngineNamesAndTypesWithoutACurrentRow) {
    using namespace adodb;
    const struct {
        QString sql;
        QStringList names;
        std::vector<DataTypeEnum> types;
    } cases[] = {
        {storyLookup(QStringLiteral("NOPE-1")),
         {"BStrID", "BStrName", "Author", "Category", "AddedDate"},
         {adVarWChar, adVarWChar, adVarWChar, adVarWChar, adDate}},
        {QStringLiteral("SELECT * FROM Book WHERE BookID < 0"),
         {"BookID", "BStrID", "VolNo", "Price", "Status"},
         {adInteger, adVarWChar, adSmallInt, adCurrency, adVarWChar}},
    };
    for (const auto& c : cases) {
        Recordset rs;
        rs.Open(c.sql, small(), adOpenStatic, adLockReadOnly);
        ASSERT_TRUE(rs.Eof()) << c.sql.toStdString();
        ASSERT_EQ(rs.FieldCount(), c.names.size());
        for (int i = 0; i < rs.FieldCount(); ++i) {
            EXPECT_EQ(rs.Fields(i).Name, c.names[i]) << c.sql.toStdString();
            EXPECT_EQ(rs.Fields(i).Type, c.types[static_cast<std::size_t>(i)])
                << c.sql.toStdString() << " " << c.names[i].toStdString();
        }
        EXPECT_THROW(rs.Fields(0).Value.toString(), platform::DbError);
    }
}

// Tables whose columns were deleted and added after their rows were written answer the tool's
// statements; an index serves the column whose number it names.
TEST(JetSyntheticFile, TablesChangedOverTheYearsAnswerTheToolsStatements) {
    const auto bytes = [](const std::vector<std::uint8_t>& file) {
        return QByteArray(reinterpret_cast<const char*>(file.data()),
                          static_cast<qsizetype>(file.size()));
    };
    const QByteArray deleted = bytes(jettest::deletedColumnsDatabase());
    const QByteArray added = bytes(jettest::addedColumnsDatabase());
    const struct {
        const QByteArray& file;
        QString sql;
        QStringList rows;
    } cases[] = {
        {deleted, bookCount(QStringLiteral("kh-0001")), {"2"}},
        {deleted, bookCount(QStringLiteral("X-1")), {"0"}},
        {deleted, QStringLiteral("SELECT * FROM Customer"), {"1\tSomchai", "2\tสมหญิง"}},
        {added,
         QStringLiteral("SELECT BStrID, Synopsis FROM Story WHERE BStrID = 'kh-0001'"),
         {"KH-0001\tStandard"}},
        {added, QStringLiteral("SELECT COUNT(*) FROM Rental WHERE Note IS NULL"), {"2"}},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("book.mdb"));
        QFile::remove(path);
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(c.file) == c.file.size());
        out.close();
        EXPECT_EQ(queryRows(c.sql, jetConnectionString(path, QString())), c.rows)
            << c.sql.toStdString();
    }
}

TEST_F(JetFixture, StatementsOtherThanTheChangeAreRefusedAndTheFileStaysUnchanged) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("book.mdb"));
    ASSERT_TRUE(QFile::copy(path(QStringLiteral("shop-small")), copy));
    const QByteArray before = fileBytes(copy);
    const QString connection = jetConnectionString(copy, kPassword);
    for (const QString& sql :
         {QStringLiteral("INSERT INTO Story (BStrID) VALUES ('X')"),
          QStringLiteral("DROP TABLE Book"), QStringLiteral("CREATE TABLE Shelf (Code TEXT)")}) {
        EXPECT_EQ(statementError(sql, connection), kNotSupported) << sql.toStdString();
        EXPECT_EQ(queryError(sql, connection), kNotSupported) << sql.toStdString();
    }
    EXPECT_EQ(queryRows(bookCount(QStringLiteral("KH-0001")), connection), QStringList{"1234"});
    EXPECT_TRUE(fileBytes(copy) == before) << "the file was changed";
}

TEST_F(JetFixture, OtherFormatsAndDamagedFilesGiveAnErrorNotACrash) {
    const QByteArray small = fileBytes(path(QStringLiteral("shop-small")));
    ASSERT_EQ(small.size(), 409600);
    const auto patched = [&](qsizetype at, QByteArray bytes) {
        return QByteArray(small).replace(at, bytes.size(), bytes);
    };
    // In the small shop file Book's definition sits on page 27 (usage map pointer at +55, the
    // BStrID index's root pointer at +368) and its first data page is page 43.
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"Jet 3", patched(0x14, QByteArray(1, '\0'))},
        {"ACE", patched(4, QByteArrayLiteral("Standard ACE DB")).replace(0x14, 1, "\x02")},
        {"cut in half", small.left(small.size() / 2)},
        {"cut mid-page", small.left(small.size() - 1000)},
        {"catalog pointing beyond the file",
         patched(2 * 4096 + 55, QByteArray("\x00\xFF\xFF\x00", 4))},
        {"Book's usage map beyond the file",
         patched(27 * 4096 + 55, QByteArray("\x00\xFF\xFF\x00", 4))},
        {"Book's index root beyond the file",
         patched(27 * 4096 + 368, QByteArray("\xFF\xFF\xFF\x00", 4))},
        {"row offset outside its page", patched(43 * 4096 + 14, QByteArray("\xFF\x1F", 2))},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString file = dir.filePath(QStringLiteral("book.mdb"));
        QFile::remove(file);
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.bytes);
        out.close();
        const QString connection = jetConnectionString(file, kPassword);
        QString error = queryError(QStringLiteral("SELECT * FROM Book"), connection);
        if (error.isEmpty()) {
            error = queryError(bookCount(QStringLiteral("KH-0001")), connection);
        }
        EXPECT_EQ(error, QStringLiteral("Unrecognized database format '%1'.").arg(file)) << c.name;
    }
}

} // namespace
