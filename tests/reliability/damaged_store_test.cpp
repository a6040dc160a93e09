// book.mdb is not a store of ours, is damaged, lacks the shop's tables or columns, or has
// another password: the first lookup says so in the engine's words, the change is refused the same
// way, and the file is left exactly as it was.

#include "tests/main_window/main_window_harness.h"
#include "tests/main_window/shop_fixture.h"
#include "tests/reliability/reliability_report.h"

#include "tests/testkit/gtest_qt.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <functional>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool overwrite(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& b : bytes) {
        b = static_cast<char>(random.bounded(256));
    }
    return bytes;
}

// A store made with another password, read back as bytes.
QByteArray storeWithPassword(const QString& password) {
    const TempStore other(shopScript(), password);
    return contents(other.path());
}

// The shop's store with its schema changed by the script, read back as bytes.
QByteArray storeChangedBy(const QString& script) {
    const TempStore other(shopScript());
    other.run(script);
    return contents(other.path());
}

struct DamageCase {
    const char* name;
    std::function<QByteArray(const QByteArray& sound)> damage;
    QString message;            // %1 is the store's path
    QString changeMessage = {}; // the change's, where it differs
};

// As the statement spells the table: Story in the lookup, BOOK in the change.
QString noTable(const char* name) {
    return QStringLiteral("The Microsoft Jet database engine cannot find the input table or "
                          "query '%1'. Make sure it exists and that its name is spelled "
                          "correctly.")
        .arg(QLatin1String(name));
}

TEST(DamagedStore, TheFirstLookupReportsItAndNothingIsWritten) {
    const DamageCase cases[] = {
        {"a text file", [](const QByteArray&) { return QByteArray("Story;Book\r\nA0001;1\r\n"); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"an empty file", [](const QByteArray&) { return QByteArray(); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"random bytes", [](const QByteArray& s) { return randomBytes(s.size(), 7); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"the store's header, then random bytes",
         [](const QByteArray& s) { return s.left(100) + randomBytes(s.size() - 100, 11); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"random bytes past the first page",
         [](const QByteArray& s) { return s.left(4096) + randomBytes(s.size() - 4096, 13); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"truncated to its header", [](const QByteArray& s) { return s.left(100); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"truncated to a tenth", [](const QByteArray& s) { return s.left(s.size() / 10); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"truncated to half", [](const QByteArray& s) { return s.left(s.size() / 2); },
         QStringLiteral("Unrecognized database format '%1'.")},
        {"another password",
         [](const QByteArray&) { return storeWithPassword(QStringLiteral("kd=74")); },
         QStringLiteral("Not a valid password.")},
        {"no password", [](const QByteArray&) { return storeWithPassword(QString()); },
         QStringLiteral("Not a valid password.")},
        {"the shop's tables under other names",
         [](const QByteArray&) {
             return storeChangedBy(QStringLiteral(
                 "ALTER TABLE Story RENAME TO Stories; ALTER TABLE Book RENAME TO Books"));
         },
         noTable("Story"), noTable("BOOK")},
        {"no story code in Book",
         [](const QByteArray&) {
             return storeChangedBy(
                 QStringLiteral("ALTER TABLE Book RENAME COLUMN BStrID TO StoryCode"));
         },
         QStringLiteral("No value given for one or more required parameters.")},
    };
    int held = 0;
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowHarness h(shopScript());
        const QString path = h.store().path();
        const QByteArray damaged = c.damage(contents(path));
        ASSERT_TRUE(overwrite(path, damaged));
        ASSERT_TRUE(h.load());
        h.deleteOption()->setChecked(true);
        QString message = c.message;
        message.replace(QStringLiteral("%1"), path);
        const QString changeMessage = c.changeMessage.isEmpty() ? message : c.changeMessage;

        h.type(1, QStringLiteral("A0001"));
        h.press(1, Qt::Key_Return);
        ASSERT_EQ(h.boxes().shown().size(), 1u);
        EXPECT_EQ(h.boxes().shown()[0].prompt, message);
        EXPECT_EQ(h.boxes().shown()[0].style, 16);
        EXPECT_EQ(h.name(1)->text(), "");

        h.box(2)->setText(QStringLiteral("B0001"));
        h.boxes().setNextAnswer(6);
        h.clickToolbar("OK");
        ASSERT_EQ(h.boxes().shown().size(), 3u);
        EXPECT_EQ(h.boxes().shown()[2].prompt, changeMessage);

        EXPECT_EQ(contents(path), damaged) << "the file was written to";
        EXPECT_EQ(QDir(h.store().folder()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"book.mdb"});
        held += ::testing::Test::HasFailure() ? 0 : 1;
    }
    reportRow(
        QStringLiteral(
            "book.mdb damaged, foreign or not the shop's (%1 kinds: text, empty, random bytes, "
            "random after a valid header, truncated, another or no password, "
            "tables renamed, a column renamed)")
            .arg(std::size(cases)),
        QStringLiteral("%1/%2: the first lookup and the change reported it clearly, a "
                       "missing table or column in the engine's words; no crash; the file "
                       "byte-identical, nothing created beside it")
            .arg(held)
            .arg(std::size(cases)));
}

} // namespace
