#include "tests/story_search/search_dialog_harness.h"

#include "story_search/story_name_query.h"
#include "ui/fonts.h"
#include "ui/report_list.h"

#include <QLineEdit>
#include <QTest>

class FrmQStorySearchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void queryText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("empty") << ""
                               << "'%%'";
        QTest::newRow("outer spaces dropped, inner kept") << "  a b  "
                                                          << "'%a b%'";
        QTest::newRow("a tab is no space") << "\tx "
                                           << "'%\tx%'";
        QTest::newRow("wildcards untouched") << "50%_[a-c][!d]"
                                             << "'%50%_[a-c][!d]%'";
        QTest::newRow("apostrophes doubled") << "O'Neil''s"
                                             << "'%O''Neil''''s%'";
    }

    void queryText() {
        QFETCH(QString, typed);
        QFETCH(QString, pattern);
        QCOMPARE(StoryNameSearchSql(typed),
                 "Select [BStrID], [BStrName] From  Story  Where BStrName Like " + pattern +
                     " Order by BStrName");
    }

    void listsMatchingStoriesInStoreOrder_data() {
        // Every named story, by name: the empty name, Latin names, then Thai in dictionary
        // order (the leading vowel of เกมมังกร does not count).
        const QStringList all = {"S13", "S07", "S08", "S09", "S10", "S05",   "S06",
                                 "S11", "S04", "S12", "S03", "S02", " S15 ", "S01"};
        QTest::addColumn<QString>("fragment");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("empty") << "" << all;
        QTest::newRow("spaces only") << "   " << all;
        QTest::newRow("percent alone") << "%" << all;
        QTest::newRow("at the start") << "มังกรห" << QStringList{"S01"};
        QTest::newRow("in the middle") << "กรท" << QStringList{"S02"};
        QTest::newRow("at the end") << "ยุทธ์มังกร" << QStringList{"S03"};
        QTest::newRow("anywhere, by name") << "มังกร" << QStringList{"S04", "S03", "S02", "S01"};
        QTest::newRow("outer spaces ignored") << "  ฟ้า สี  " << QStringList{"S12"};
        QTest::newRow("inner space must match") << "ฟ้าสี" << QStringList{};
        QTest::newRow("case ignored") << "DRAGON" << QStringList{"S05", "S06"};
        QTest::newRow("percent") << "0%L" << QStringList{"S07"};
        QTest::newRow("underscore") << "A_B" << QStringList{"S08", "S09"};
        QTest::newRow("character list") << "A[xy]" << QStringList{"S09", "S10"};
        QTest::newRow("negated list") << "A[!x]B" << QStringList{"S08"};
        QTest::newRow("apostrophe") << "O'Ne" << QStringList{"S11"};
        QTest::newRow("apostrophe alone") << "'" << QStringList{"S11"};
        QTest::newRow("no match") << "zzz" << QStringList{};
    }

    void listsMatchingStoriesInStoreOrder() {
        QFETCH(QString, fragment);
        QFETCH(QStringList, codes);
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());

        harness.search(fragment);

        QCOMPARE(harness.listedCodes(), codes);
        for (int index = 1; index <= harness.list()->itemCount(); ++index) {
            const platform::ListItem row(harness.list(), index);
            QCOMPARE(row.SubItem(1), storyNames().value(row.Text()));
        }
        QVERIFY(harness.boxes.shown().empty());
        QVERIFY(!harness.list()->selectedItem());
        QCOMPARE(harness.searchBox()->text(), fragment);
        QTRY_VERIFY(harness.searchBox()->hasFocus());
    }

    void secondSearchReplacesTheRows() {
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());
        harness.search(QStringLiteral("มังกร"));
        QCOMPARE(harness.list()->itemCount(), 4);

        harness.search(QStringLiteral("dragon"));

        QCOMPARE(harness.listedCodes(), (QStringList{"S05", "S06"}));
        QCOMPARE(harness.list()->model()->rowCount(), 2);
        QCOMPARE(harness.list()->columnHeaderCount(), 2);
    }

    void longResultIsListedWhole() {
        SearchDialogHarness harness;
        harness.store.run(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
            "INSERT INTO Story (BStrID, BStrName) SELECT 'L' || i, 'เล่ม ' || i FROM n");
        QVERIFY(harness.showActive());

        harness.search(QStringLiteral("เล่ม"));

        QCOMPARE(harness.list()->itemCount(), 100000);
        QCOMPARE(harness.list()->model()->rowCount(), 100000);
    }

    void databaseFailureIsReportedAndTheDialogGoesOn() {
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());
        harness.search(QStringLiteral("มังกร"));
        harness.database.InitDatabase(harness.store.folder() + QStringLiteral("/gone.mdb"));

        harness.search(QStringLiteral("มังกร"));

        QCOMPARE(static_cast<int>(harness.boxes.shown().size()), 1);
        const ScriptedMessageBoxes::Shown& error = harness.boxes.shown()[0];
        QCOMPARE(error.title, QStringLiteral("ข้อผิดพลาด"));
        QCOMPARE(error.style, platform::msgbox::Critical);
        QCOMPARE(error.prompt, "Could not find file '" + harness.store.folder() + "/gone.mdb'.");
        QVERIFY(harness.form->isVisible());
        QCOMPARE(harness.list()->itemCount(), 0);

        harness.database.InitDatabase(harness.store.path());
        harness.search(QStringLiteral("dragon"));
        QCOMPARE(harness.list()->itemCount(), 2);
        QCOMPARE(static_cast<int>(harness.boxes.shown().size()), 1);
    }
};

QTEST_MAIN(FrmQStorySearchTest)
#include "frm_q_story_search_test.moc"
