// Files the desktop database product wrote itself (rows its engine deleted, Numeric values,
// cascading relationships, unique and NULL-ignoring indexes): read as the checker reads them,
// and changed through the tool's data-access objects on one copy and by the checker's own
// library on another, after which the two copies hold the same rows, table by table, and ours
// passes the checker; a change the tool refuses leaves its copy byte for byte as it was.

#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/jet_copy.h"
#include "tests/jet/writer/jet_oracle.h"
#include "tests/testkit/shared_material.h"
#include "tests/testkit/temp_store.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>

#include <array>
#include <random>

namespace {

const char* const kDesktop = "desktop/";

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QStringList sorted(QStringList lines) {
    lines.sort();
    return lines;
}

QStringList tablesOf(const QString& path) {
    QStringList names;
    const auto run = runOracle({QStringLiteral("tables"), path});
    for (const QString& line : run ? run->output.split(QLatin1Char('\n')) : QStringList{}) {
        if (!line.isEmpty()) {
            names << line.section(QLatin1Char('\t'), 0, 0);
        }
    }
    return names;
}

QString dump(const QString& path, const QString& table) {
    const auto run = runOracle({QStringLiteral("dump"), path, table});
    return run && run->status == 0 ? run->output : QStringLiteral("<dump failed>");
}

using DesktopFiles = JetFixtureTest;

TEST_F(DesktopFiles, ReadEveryTableAsTheCheckerDumpsIt) {
    const QDir expected(QDir(folder_).filePath(QStringLiteral("desktop/expected")));
    const QStringList files = expected.entryList({QStringLiteral("*.tsv")});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        const QString file = name.section(QLatin1Char('.'), 0, 0);
        const QString table = name.section(QLatin1Char('.'), 1, 1);
        const QString connection = jetConnectionString(fixture(kDesktop + file), QString());
        QStringList header;
        const QStringList rows =
            queryRows(QStringLiteral("SELECT * FROM [%1]").arg(table), connection, &header);
        QStringList lines = expectedLines(folder_, kDesktop + file, table);
        ASSERT_FALSE(lines.isEmpty()) << name.toStdString();
        EXPECT_EQ(header.join(QLatin1Char('\t')), lines.takeFirst()) << name.toStdString();
        EXPECT_EQ(sorted(rows), sorted(lines)) << name.toStdString();
    }
}

struct DesktopChange {
    const char* file;
    // A change the checker makes first on both copies (table, column, old, new), or none: a
    // text its library keys, which the tool can then only copy from the file.
    std::array<const char*, 4> prepared;
    const char* sql;
    // The same change for the checker: table, column, old value, new value ("-" deletes).
    std::array<const char*, 4> change;
    // The start of the tool's error, "" when it succeeds; and whether the checker refuses too.
    const char* refusal;
    bool checkerRefuses;
};

const char* const kUnsupported = "โปรแกรมแก้ไขไฟล์นี้ให้ถูกต้องแน่นอนไม่ได้";
const char* const kDuplicate = "The changes you requested to the table were not successful";
const char* const kRelated = "The record cannot be deleted or changed because table 'Table1'";
const char* const kUnknownKey = "เปลี่ยนเป็นรหัส";

const DesktopChange kChanges[] = {
    // Pages whose deleted rows have no bytes left.
    {"delTestV2000",
     {},
     "UPDATE [Table] SET a = 'q' WHERE a = 'z'",
     {"Table", "a", "z", "q"},
     "",
     false},
    {"delTestV2000", {}, "DELETE FROM [Table] WHERE a = 'v'", {"Table", "a", "v", "-"}, "", false},
    // A row with a memo value and Numeric columns.
    {"fixedNumericTestV2000",
     {},
     "DELETE FROM test WHERE col1 = 'some data'",
     {"test", "col1", "some data", "-"},
     "",
     false},
    {"fixedNumericTestV2000",
     {},
     "UPDATE test SET col1 = 'other'",
     {"test", "col1", "some data", "other"},
     kUnsupported,
     false},
    // Deletes that cascade, and one that the related rows forbid.
    {"indexTestV2000",
     {},
     "DELETE FROM Table2 WHERE data = 'foo1'",
     {"Table2", "data", "foo1", "-"},
     "",
     false},
    {"indexTestV2000",
     {},
     "DELETE FROM Table3 WHERE data = 'bar13'",
     {"Table3", "data", "bar13", "-"},
     kRelated,
     true},
    {"indexTestV2000",
     {},
     "UPDATE Table1 SET data = 'baz99' WHERE data = 'baz11'",
     {"Table1", "data", "baz11", "baz99"},
     "",
     false},
    // Keys the tool works out, in single- and multi-column indexes that ignore NULLs or are
    // unique.
    {"testIndexPropertiesV2000",
     {},
     "UPDATE TableIgnoreNulls1 SET data = 'zebra' WHERE data = 'stuff'",
     {"TableIgnoreNulls1", "data", "stuff", "zebra"},
     "",
     false},
    {"testIndexPropertiesV2000",
     {},
     "UPDATE TableIgnoreNulls2 SET data1 = 'Some' WHERE data1 = 'more'",
     {"TableIgnoreNulls2", "data1", "more", "Some"},
     "",
     false},
    {"testIndexPropertiesV2000",
     {},
     "UPDATE TableUnique2_temp SET data1 = 'stuff' WHERE data1 = 'some'",
     {"TableUnique2_temp", "data1", "some", "stuff"},
     "",
     false},
    {"testIndexPropertiesV2000",
     {},
     "DELETE FROM TableIgnoreNulls2 WHERE row = 'row3'",
     {"TableIgnoreNulls2", "row", "row3", "-"},
     "",
     false},
    {"testIndexPropertiesV2000",
     {},
     "UPDATE TableUnique1_temp SET data = 'more' WHERE data = 'stuff'",
     {"TableUnique1_temp", "data", "stuff", "more"},
     kDuplicate,
     true},
    // A key the tool cannot work out: refused while the file lacks it, copied once it has it.
    {"testIndexPropertiesV2000",
     {},
     "UPDATE TableIgnoreNulls1 SET data = 'ข้อมูล' WHERE data = 'more'",
     {"TableIgnoreNulls1", "data", "more", "ข้อมูล"},
     kUnknownKey,
     false},
    {"testIndexPropertiesV2000",
     {"TableIgnoreNulls1", "data", "some", "ข้อมูล"},
     "UPDATE TableIgnoreNulls1 SET data = 'ข้อมูล' WHERE data = 'more'",
     {"TableIgnoreNulls1", "data", "more", "ข้อมูล"},
     "",
     false},
};

class DesktopChanges : public ::testing::TestWithParam<DesktopChange> {};

TEST_P(DesktopChanges, AgreeWithTheCheckersLibrary) {
    REQUIRE_SHARED_MATERIAL("the independent checker of Jet files");
    const QString folder = fixtureFolder();
    const DesktopChange& change = GetParam();
    const QString file = text(kDesktop) + text(change.file);
    const JetCopy ours(folder, file, QString());
    const JetCopy theirs(folder, file, QString());
    if (change.prepared[0] != nullptr) {
        for (const JetCopy* copy : {&ours, &theirs}) {
            QStringList arguments{QStringLiteral("change"), copy->path()};
            for (const char* operand : change.prepared) {
                arguments << text(operand);
            }
            ASSERT_EQ(runOracle(arguments)->status, 0);
        }
    }
    const QByteArray before = ours.bytes();
    const QString error = ours.execute(text(change.sql));
    QStringList arguments{QStringLiteral("change"), theirs.path()};
    for (const char* operand : change.change) {
        arguments << text(operand);
    }
    const auto checker = runOracle(arguments);
    ASSERT_TRUE(checker.has_value());
    if (*change.refusal != '\0') {
        EXPECT_TRUE(error.startsWith(text(change.refusal))) << error.toStdString();
        EXPECT_TRUE(ours.bytes() == before) << "a refused change touched the file";
        EXPECT_EQ(checker->status == 3, change.checkerRefuses) << checker->output.toStdString();
        return;
    }
    ASSERT_EQ(error, QString());
    ASSERT_EQ(checker->status, 0) << checker->output.toStdString();
    EXPECT_TRUE(ours.bytes() != before);
    for (const QString& table : tablesOf(ours.path())) {
        EXPECT_EQ(dump(ours.path(), table), dump(theirs.path(), table)) << table.toStdString();
    }
    const auto verdict = runJetOracle(ours.path(), QString());
    EXPECT_TRUE(verdict->sound) << verdict->output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(DesktopFiles, DesktopChanges, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<DesktopChange>& param) {
                             return std::string(param.param.file) + "_" +
                                    std::to_string(param.index);
                         });

// Where a sequence of random changes runs: the file, and its tables' text columns.
struct Sequence {
    const char* file;
    std::vector<std::pair<const char*, const char*>> columns; // table, column
    int steps;
};

class DesktopSequences : public ::testing::TestWithParam<Sequence> {};

// The same random updates and deletes on two copies, by the tool and by the checker's
// library, with values the tool can key: both refuse the same ones (a unique index), and in the
// end both copies hold the same rows and ours passes the checker.
TEST_P(DesktopSequences, EndAsTheCheckersLibraryEnds) {
    REQUIRE_SHARED_MATERIAL("the independent checker of Jet files");
    const QString folder = fixtureFolder();
    const Sequence& sequence = GetParam();
    const QString file = text(kDesktop) + text(sequence.file);
    const JetCopy ours(folder, file, QString());
    const JetCopy theirs(folder, file, QString());
    std::mt19937 random(20261210);
    const QStringList fresh = {QStringLiteral("alpha"), QStringLiteral("Beta 2"),
                               QStringLiteral("x-ray"), QStringLiteral("O'Hara"),
                               QStringLiteral("v1.2_b")};
    int changed = 0;
    for (int step = 0; step < sequence.steps; ++step) {
        const auto& [table, column] = sequence.columns[random() % sequence.columns.size()];
        const QStringList values =
            ours.query(QStringLiteral("SELECT [%1] FROM [%2] WHERE [%1] IS NOT NULL")
                           .arg(text(column), text(table)));
        if (values.isEmpty()) {
            continue;
        }
        const QString old = values[static_cast<qsizetype>(random() % values.size())];
        const bool deletes = random() % 4 == 0;
        const QString now = deletes ? QStringLiteral("-")
                            : random() % 2 == 0
                                ? fresh[static_cast<qsizetype>(random() % fresh.size())]
                                : values[static_cast<qsizetype>(random() % values.size())];
        const QString sql =
            deletes ? QStringLiteral("DELETE FROM [%1] WHERE [%2] = %3")
                          .arg(text(table), text(column), sqlLiteral(old))
                    : QStringLiteral("UPDATE [%1] SET [%2] = %3 WHERE [%2] = %4")
                          .arg(text(table), text(column), sqlLiteral(now), sqlLiteral(old));
        const QString error = ours.execute(sql);
        const auto checker = runOracle(
            {QStringLiteral("change"), theirs.path(), text(table), text(column), old, now});
        ASSERT_TRUE(checker.has_value());
        EXPECT_EQ(error.isEmpty(), checker->status == 0)
            << sql.toStdString() << ": " << error.toStdString() << " / "
            << checker->output.toStdString();
        changed += error.isEmpty() ? 1 : 0;
    }
    EXPECT_GT(changed, sequence.steps / 2) << "the sequence changed too little to say much";
    for (const QString& table : tablesOf(ours.path())) {
        EXPECT_EQ(dump(ours.path(), table), dump(theirs.path(), table)) << table.toStdString();
    }
    const auto verdict = runJetOracle(ours.path(), QString());
    EXPECT_TRUE(verdict->sound) << verdict->output.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    DesktopFiles, DesktopSequences,
    ::testing::Values(Sequence{"testIndexPropertiesV2000",
                               {{"TableIgnoreNulls1", "data"},
                                {"TableIgnoreNulls2", "data1"},
                                {"TableUnique1_temp", "data"},
                                {"TableUnique2_temp", "data1"}},
                               24},
                      Sequence{"indexTestV2000",
                               {{"Table1", "data"}, {"Table2", "data"}, {"Table3", "data"}},
                               14}),
    [](const ::testing::TestParamInfo<Sequence>& param) { return std::string(param.param.file); });

} // namespace
