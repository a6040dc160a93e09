// Hostile and odd text in the main window's code boxes and in the story search dialog's
// search box: each is found as the literal text it is (in the search, as the LIKE pattern it
// is) and no statement touches a row it should not.

#include "story_search/frm_q_story.h"
#include "support/database_access.h"
#include "tests/main_window/main_window_harness.h"
#include "tests/reliability/reliability_report.h"
#include "tests/testkit/typing.h"
#include "ui/report_list.h"

#include "tests/testkit/gtest_qt.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <map>
#include <set>

namespace {

// A code of up to 15 characters, hostile or odd, with its own copies in the store.
struct HostileCode {
    const char* why;
    const char* code;
};

const HostileCode kHostileCodes[] = {
    {"apostrophe and quote", "O'NEIL\"2"},
    {"injection", "x' OR '1'='1"},
    {"comment", "--"},
    {"comment after a code", "A0001' --"},
    {"statement separator", ";"},
    {"second statement", "';DELETE Story"},
    {"LIKE run wildcard", "%"},
    {"wildcard after text", "A%"},
    {"LIKE one-character wildcard", "_"},
    {"one-character wildcard after text", "A_"},
    {"open bracket", "["},
    {"bracket list", "[A]"},
    {"unclosed bracket", "[A"},
    {"backslash and quote", "C:\\x\""},
    {"15 Thai characters with combining marks", "น้ำผึ้งเดือนห้า"},
    {"outside the Basic Multilingual Plane", "📚𝔸1"},
    {"15 UTF-16 units ending in a surrogate pair", "1234567890123📚"},
};

// Codes a statement that read the text as a pattern or as SQL would touch too.
const char* const kDecoys[] = {"A0001", "x",          "A",         "AB", "A1",
                               "1",     "นำผึงเดือนหา", "น้ำผึ้งเดือนห้", "C:", "O"};

QString storeScript() {
    QString script;
    int copies = 10;
    const auto add = [&](const QString& code, const QString& name, int count) {
        script += QStringLiteral("INSERT INTO Story (BStrID, BStrName) VALUES (%1, %2);")
                      .arg(sqlLiteral(code), sqlLiteral(name));
        script += QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                 "WHERE i < %1) INSERT INTO Book (BStrID) SELECT %2 FROM n;")
                      .arg(count)
                      .arg(sqlLiteral(code));
    };
    for (const HostileCode& c : kHostileCodes) {
        add(QString::fromUtf8(c.code), QStringLiteral("เรื่อง ") + QString::fromUtf8(c.why),
            ++copies);
    }
    for (const char* decoy : kDecoys) {
        add(QString::fromUtf8(decoy), QStringLiteral("ตัวหลอก"), ++copies);
    }
    add(QStringLiteral("SRC-1"), QStringLiteral("ต้นทาง"), 3);
    add(QStringLiteral("NEW-1"), QStringLiteral("ปลายทาง"), 2);
    script.chop(1);
    return script;
}

int copiesOf(const char* code) {
    int copies = 10;
    for (const HostileCode& c : kHostileCodes) {
        ++copies;
        if (std::string_view(c.code) == code) {
            return copies;
        }
    }
    return -1;
}

// Every code's copies and every story, keyed by the exact bytes of the code.
struct Snapshot {
    std::map<QString, qint64> copies;
    std::set<QString> stories;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const TempStore& store) {
    Library1::DatabaseAccess db;
    db.InitDatabase(store.path());
    Snapshot s;
    auto book = db.OpenRecordset(
        QStringLiteral("SELECT hex(BStrID), COUNT(*) FROM Book GROUP BY hex(BStrID)"), true);
    for (; !book->Eof(); book->MoveNext()) {
        s.copies[book->Fields(0).Value.toString()] = book->Fields(1).Value.toLongLong();
    }
    book->Close();
    auto story = db.OpenRecordset(QStringLiteral("SELECT hex(BStrID) FROM Story"), true);
    for (; !story->Eof(); story->MoveNext()) {
        s.stories.insert(story->Fields(0).Value.toString());
    }
    story->Close();
    return s;
}

QString hexOf(const QString& code) {
    return QString::fromLatin1(code.toUtf8().toHex().toUpper());
}

void typeText(MainWindowHarness& h, int side, const QString& text) {
    QLineEdit* box = h.box(side);
    box->setFocus(Qt::OtherFocusReason);
    box->clear();
    typeText(box, text);
}

void lookUp(MainWindowHarness& h, int side, const QString& code) {
    typeText(h, side, code);
    EXPECT_EQ(h.box(side)->text(), code) << "the box did not take the code as typed";
    h.press(side, Qt::Key_Return);
}

TEST(HostileCodes, AreFoundAsTypedAndMoveExactlyTheirOwnCopies) {
    int held = 0;
    for (const HostileCode& c : kHostileCodes) {
        const QString code = QString::fromUtf8(c.code);
        SCOPED_TRACE(std::string(c.why) + ": " + c.code);
        bool ok = true;
        for (bool asOldCode : {true, false}) {
            SCOPED_TRACE(asOldCode ? "as the old code" : "as the new code");
            MainWindowHarness h(storeScript());
            ASSERT_TRUE(h.load());
            h.deleteOption()->setChecked(asOldCode);
            const QString from = asOldCode ? code : QStringLiteral("SRC-1");
            const QString to = asOldCode ? QStringLiteral("NEW-1") : code;
            const int moving = asOldCode ? copiesOf(c.code) : 3;

            lookUp(h, asOldCode ? 1 : 2, code);
            EXPECT_EQ(h.name(asOldCode ? 1 : 2)->text(),
                      QStringLiteral("เรื่อง ") + QString::fromUtf8(c.why));
            EXPECT_EQ(h.count(asOldCode ? 1 : 2)->text(), QString::number(copiesOf(c.code)));
            lookUp(h, asOldCode ? 2 : 1, asOldCode ? to : from);
            EXPECT_TRUE(h.boxes().shown().empty());

            Snapshot expected = snapshot(h.store());
            expected.copies.erase(hexOf(from));
            expected.copies[hexOf(to)] += moving;
            if (asOldCode) {
                expected.stories.erase(hexOf(from));
            }
            h.boxes().setNextAnswer(6);
            h.clickToolbar("OK");
            ASSERT_EQ(h.boxes().shown().size(), 2u);
            EXPECT_EQ(h.boxes().shown()[1].prompt, QStringLiteral("เสร็จสิ้นการบันทึกข้อมูล"));
            const Snapshot after = snapshot(h.store());
            EXPECT_TRUE(after == expected) << "a statement touched rows it should not";
            ok = ok && after == expected;
        }
        held += ok ? 1 : 0;
    }
    reportRow(QStringLiteral("Hostile codes in both code boxes (%1: quotes, injection, comment, "
                             "';', '%', '_', brackets, 15 Thai with marks, outside the BMP)")
                  .arg(std::size(kHostileCodes)),
              QStringLiteral("%1/%2 looked up as the literal code and moved exactly their own "
                             "copies, as old and as new code; no other row touched")
                  .arg(held)
                  .arg(std::size(kHostileCodes)));
}

// The stories behind the search tests; the code says what the name holds.
QString searchStoreScript() {
    const QString longName = QString(10050, u'x');
    return QStringLiteral(
               "INSERT INTO Story (BStrID, BStrName) VALUES"
               " ('S01', 'It''s mine'), ('S02', 'Say \"hi\"'),"
               " ('S03', 'x'' OR ''1''=''1 เล่ม 1'), ('S04', 'A--B'), ('S05', 'a;b'),"
               " ('S06', '100% จริง'), ('S07', 'snake_case'), ('S08', '[ป้าย] ชื่อ'),"
               " ('S09', 'น้ำผึ้งเดือนห้า'), ('S10', 'นำผึงเดือนหา'), ('S11', '𝔸 math 📚'),"
               " ('S12', 'ขายหัวเราะ'), ('S13', 'plain name'), ('S14', '%1'), ('S15', NULL)")
        .arg(longName);
}

// Puts text into the search box as the operator would: typed key by key, or pasted when it
// is too long to type.
void enterSearchText(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::OtherFocusReason);
    box->clear();
    if (text.size() > 100) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text.mid(i, length),
                            Qt::NoModifier);
        i += length - 1;
    }
}

struct SearchCase {
    const char* why;
    QString text;
    QStringList codes; // the stories found, in code order
};

TEST(HostileSearchText, IsMatchedAsTheLikePatternItIsAndChangesNothing) {
    const QStringList everyNamed = {"S01", "S02", "S03", "S04", "S05", "S06", "S07",
                                    "S08", "S09", "S10", "S11", "S12", "S13", "S14"};
    const SearchCase cases[] = {
        {"apostrophe", QStringLiteral("'"), {"S01", "S03"}},
        {"double quote", QStringLiteral("\""), {"S02"}},
        {"injection, found only as text", QStringLiteral("x' OR '1'='1"), {"S03"}},
        {"injection with a second statement", QStringLiteral("x'; DELETE FROM Story; --"), {}},
        {"comment", QStringLiteral("--"), {"S04"}},
        {"statement separator", QStringLiteral(";"), {"S05"}},
        {"run wildcard", QStringLiteral("%"), everyNamed},
        {"run wildcard after text", QStringLiteral("100%"), {"S06"}},
        {"one-character wildcard", QStringLiteral("_"), everyNamed},
        {"one-character wildcard between text", QStringLiteral("e_c"), {"S07"}},
        {"unclosed bracket, literal", QStringLiteral("["), {"S08"}},
        {"unclosed bracket before text, literal", QStringLiteral("[ป"), {"S08"}},
        {"bracket list, one of its characters",
         QStringLiteral("[ป้าย]"),
         {"S08", "S09", "S10", "S12"}},
        {"bracket range, case ignored",
         QStringLiteral("[a-c]"),
         {"S02", "S04", "S05", "S07", "S11", "S13"}},
        {"Thai with combining marks, marks count", QStringLiteral("น้ำผึ้ง"), {"S09"}},
        {"Thai without the marks", QStringLiteral("นำผึง"), {"S10"}},
        {"outside the BMP", QStringLiteral("𝔸"), {"S11"}},
        {"emoji", QStringLiteral("📚"), {"S11"}},
        {"10,000 characters found", QString(10000, u'x'), {"S14"}},
        {"10,000 Thai characters", QString(10000, QChar(0x0E01)), {}},
        {"10,000 apostrophes", QString(10000, u'\''), {}},
        {"10,000 run wildcards", QString(10000, u'%'), everyNamed},
        {"10,000 one-character wildcards", QString(10000, u'_'), {"S14"}},
        {"10,000 unclosed brackets", QString(10000, u'['), {}},
    };
    const TempStore store(searchStoreScript());
    const Snapshot before = snapshot(store);
    Library1::DatabaseAccess database;
    database.InitDatabase(store.path());
    ScriptedMessageBoxes boxes;
    Library1::Dialogs dialogs(boxes);
    frmQStory dialog(database, dialogs);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* list = dialog.findChild<platform::ReportList*>(QStringLiteral("ListView1"));
    ASSERT_TRUE(box != nullptr && list != nullptr);
    int held = 0;
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.why);
        enterSearchText(box, c.text);
        ASSERT_EQ(box->text(), c.text) << "the search box did not take the text";
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
        QStringList found;
        for (int index = 1; index <= list->itemCount(); ++index) {
            found << platform::ListItem(list, index).Text();
        }
        found.sort();
        EXPECT_EQ(found, c.codes);
        EXPECT_TRUE(boxes.shown().empty()) << boxes.shown().front().prompt.toStdString();
        held += found == c.codes && boxes.shown().empty() ? 1 : 0;
        boxes.clear();
    }
    EXPECT_TRUE(snapshot(store) == before);
    reportRow(QStringLiteral("Hostile texts typed or pasted into the story search dialog (%1: "
                             "quotes, injection, comment, ';', "
                             "wildcards, brackets, Thai marks, outside the BMP, 10,000 "
                             "characters)")
                  .arg(std::size(cases)),
              QStringLiteral("%1/%2 matched exactly the expected stories (wildcards as "
                             "wildcards, an unclosed '[' as itself); no row changed")
                  .arg(held)
                  .arg(std::size(cases)));
}

} // namespace
