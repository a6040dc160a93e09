// The same random changes on a shop's Jet file and on an embedded store holding the same rows:
// after every step both answer every query the windows issue alike, and in the end every copy
// carries the same code in both. Codes come from the stories, in other letter case, with
// trailing spaces or apostrophes, and from nowhere at all.

#include "tests/jet/fixture_files.h"
#include "tests/jet/writer/file_structure_check.h"
#include "tests/jet/writer/jet_copy.h"
#include "tests/jet/writer/jet_oracle.h"
#include "tests/testkit/temp_store.h"

#include "tests/testkit/gtest_qt.h"

#include <QFile>

#include <random>

namespace {

// The embedded store with the Jet file's rows, inserted as they read.
QString copyScript(const JetCopy& jet) {
    QStringList script;
    const auto cells = [](const QString& row) {
        QStringList values;
        for (const QString& cell : row.split(QLatin1Char('\t'))) {
            values << (cell == QStringLiteral("\\N")
                           ? QStringLiteral("NULL")
                           : sqlLiteral(
                                 QString(cell)
                                     .replace(QStringLiteral("\\t"), QStringLiteral("\t"))
                                     .replace(QStringLiteral("\\\\"), QStringLiteral("\\"))));
        }
        return values.join(QLatin1Char(','));
    };
    for (const QString& row : jet.query(QStringLiteral("SELECT * FROM Story"))) {
        script << QStringLiteral("INSERT INTO Story VALUES (%1)").arg(cells(row));
    }
    for (const QString& row : jet.query(QStringLiteral("SELECT * FROM Book"))) {
        script << QStringLiteral("INSERT INTO Book VALUES (%1)").arg(cells(row));
    }
    return script.join(QLatin1Char(';'));
}

QStringList codePool(const JetCopy& jet, std::mt19937& random) {
    QStringList stories = jet.query(QStringLiteral("SELECT BStrID FROM Story"));
    std::shuffle(stories.begin(), stories.end(), random);
    QStringList pool = stories.mid(0, 12);
    for (const QString& code : stories.mid(12, 6)) {
        pool << code.toLower() << code + QStringLiteral("  ");
    }
    pool << QStringLiteral("O'NEIL1") << QStringLiteral("D'004") << QStringLiteral("ZZ-0001")
         << QStringLiteral("zz-0001 ") << QStringLiteral("NULL") << QStringLiteral("A9999")
         << QStringLiteral("TH-0123") << QStringLiteral("th-0123");
    return pool;
}

struct RandomRun {
    const char* fixture;
    int steps;
    // Moves every run makes first, whatever the dice say.
    std::vector<std::pair<const char*, const char*>> moves;
};

class Differential : public ::testing::TestWithParam<RandomRun> {};

TEST_P(Differential, JetFileAndEmbeddedStoreAnswerAlike) {
    const QString folder = fixtureFolder();
    const RandomRun& run = GetParam();
    const JetCopy jet(folder, QString::fromUtf8(run.fixture));
    const TempStore store(copyScript(jet));
    std::mt19937 random(20261207);
    const QStringList pool = codePool(jet, random);
    const auto pick = [&] { return pool[static_cast<qsizetype>(random() % pool.size())]; };

    std::vector<std::pair<QString, QString>> moves;
    for (const auto& [from, to] : run.moves) {
        moves.emplace_back(QString::fromUtf8(from), QString::fromUtf8(to));
    }
    for (int i = 0; i < run.steps; ++i) {
        moves.emplace_back(pick(), pick());
    }
    int refused = 0;
    for (const auto& [from, to] : moves) {
        const std::string step = from.toStdString() + " -> " + to.toStdString();
        const QString error = jet.execute(codeUpdate(from, to));
        if (!error.isEmpty()) {
            // A new code whose key cannot be proven is the one refusal these files allow.
            EXPECT_TRUE(error.startsWith(QStringLiteral("เปลี่ยนเป็นรหัส")))
                << step << ": " << error.toStdString();
            ++refused;
            continue;
        }
        ASSERT_EQ(statementError(codeUpdate(from, to), store.connectionString()), "") << step;
        if (random() % 3 == 0) {
            ASSERT_EQ(jet.execute(storyDeletion(from)), "") << step;
            ASSERT_EQ(statementError(storyDeletion(from), store.connectionString()), "") << step;
        }
        for (const QString& code : {from, to, pick()}) {
            for (const QString& sql : {storyLookup(code), bookCount(code)}) {
                EXPECT_EQ(jet.query(sql), queryRows(sql, store.connectionString()))
                    << step << ": " << sql.toStdString();
            }
        }
    }
    EXPECT_LT(refused, static_cast<int>(moves.size()) / 2);
    for (const QString& sql :
         {QStringLiteral("SELECT BookID, BStrID FROM Book ORDER BY BookID"),
          QStringLiteral("SELECT BStrID, BStrName FROM Story ORDER BY BStrID"),
          nameSearch(QStringLiteral("ขาย")), nameSearch(QStringLiteral("'"))}) {
        EXPECT_TRUE(jet.query(sql) == queryRows(sql, store.connectionString()))
            << sql.toStdString();
    }
    if (const auto verdict = runJetOracle(jet.path())) {
        EXPECT_TRUE(verdict->sound) << verdict->output.toStdString();
    } else {
        checkerAbsent();
    }
    const auto problems = structureProblems(QFile::encodeName(jet.path()).toStdString());
    EXPECT_TRUE(problems.empty()) << problems.front();
}

INSTANTIATE_TEST_SUITE_P(
    ShopFiles, Differential,
    ::testing::Values(
        RandomRun{"shop-small", 40, {{"KH-0001", "NEW-0001"}}},
        RandomRun{"writer/shop-codes", 40, {{"mix-case", "ก"}, {"ก", "๑๒๓"}}},
        RandomRun{"writer/shop-tight", 25, {{"K1", "KH-000000000099"}, {"K10", "K100"}}},
        RandomRun{"shop-large", 3, {{"KH-0001", "NEW-0001"}, {"NEW-0001", "kh-0001"}}}),
    [](const ::testing::TestParamInfo<RandomRun>& param) {
        return QString::fromUtf8(param.param.fixture)
            .section(QLatin1Char('/'), -1)
            .remove(QLatin1Char('-'))
            .toStdString();
    });

} // namespace
