#include "tests/story_search/search_dialog_harness.h"

#include "story_search/frm_q_story_factory.h"
#include "ui/fonts.h"
#include "ui/report_list.h"
#include "ui/toolbar.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

using Action = std::function<void(const SearchDialogHarness&)>;

Action key(Qt::Key pressed, bool inList) {
    return [=](const SearchDialogHarness& h) {
        QTest::keyClick(inList ? static_cast<QWidget*>(h.list()) : h.searchBox(), pressed);
    };
}

Action button(const char* buttonKey) {
    return [=](const SearchDialogHarness& h) {
        QTest::mouseClick(h.toolbar()->buttonByKey(QString::fromLatin1(buttonKey))->widget,
                          Qt::LeftButton);
    };
}

void doubleClickSecondRow(const SearchDialogHarness& h) {
    const QRect row = h.list()->visualRect(h.list()->model()->index(1, 0));
    const QPoint at = row.isValid() ? row.center() : h.list()->viewport()->rect().center();
    QTest::mouseDClick(h.list()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

struct WayOut {
    const char* name;
    Action action;
    bool listed;  // the four dragon stories listed first
    int selected; // 1-based row selected beforehand, 0 for none
    bool closes;
    int chosen; // 1-based row handed back, 0 for none
};

const QStringList kDragonCodes = {"S04", "S03", "S02", "S01"};

const std::vector<WayOut>& waysOut() {
    static const std::vector<WayOut> ways = {
        {"OK button", button("OK"), true, 2, true, 2},
        {"OK button, no selection", button("OK"), true, 0, false, 0},
        {"OK button, empty list", button("OK"), false, 0, false, 0},
        {"Esc in search box", key(Qt::Key_Escape, false), true, 2, true, 2},
        {"Esc, no selection", key(Qt::Key_Escape, false), true, 0, false, 0},
        {"Esc, empty list", key(Qt::Key_Escape, false), false, 0, false, 0},
        {"Esc in list", key(Qt::Key_Escape, true), true, 1, true, 1},
        {"Enter in list", key(Qt::Key_Return, true), true, 3, true, 3},
        {"Enter in list, no selection", key(Qt::Key_Return, true), true, 0, false, 0},
        {"Enter in empty list", key(Qt::Key_Return, true), false, 0, false, 0},
        {"Enter in search box searches anew", key(Qt::Key_Return, false), true, 2, false, 0},
        {"double-click", doubleClickSecondRow, true, 0, true, 2},
        {"double-click on another row", doubleClickSecondRow, true, 4, true, 2},
        {"double-click, empty list", doubleClickSecondRow, false, 0, false, 0},
        {"Cancel button", button("Cancel"), true, 2, true, 0},
        {"Cancel button, empty list", button("Cancel"), false, 0, true, 0},
        {"F2 in search box", key(Qt::Key_F2, false), true, 2, true, 0},
        {"F2 in list", key(Qt::Key_F2, true), true, 2, true, 0},
        {"close command", [](const SearchDialogHarness& h) { h.form->close(); }, true, 2, true, 0},
    };
    return ways;
}

} // namespace

class FrmQStoryKeysTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void everyWayOutGoesThroughTheButtons_data() {
        QTest::addColumn<int>("way");
        for (int index = 0; index < static_cast<int>(waysOut().size()); ++index) {
            QTest::newRow(waysOut()[index].name) << index;
        }
    }

    void everyWayOutGoesThroughTheButtons() {
        QFETCH(int, way);
        const WayOut& wayOut = waysOut()[way];
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());
        if (wayOut.listed) {
            harness.search(QStringLiteral("มังกร"));
            QCOMPARE(harness.listedCodes(), kDragonCodes);
        }
        if (wayOut.selected != 0) {
            harness.list()->selectItem(wayOut.selected);
        }

        wayOut.action(harness);

        QCOMPARE(harness.form->isVisible(), !wayOut.closes);
        QCOMPARE(harness.form->SelectedFlag, wayOut.chosen != 0);
        const QString code = wayOut.chosen != 0 ? kDragonCodes[wayOut.chosen - 1] : QString();
        QCOMPARE(harness.form->retStrID, code);
        QCOMPARE(harness.form->retStrName, storyNames().value(code));
        QVERIFY(harness.boxes.shown().empty());
    }

    void codeIsHandedBackExactlyAsListed() {
        SearchDialogHarness harness;
        QVERIFY(harness.showActive());
        harness.search(QStringLiteral("ซอย"));
        harness.list()->selectItem(1);
        QTest::keyClick(harness.searchBox(), Qt::Key_Escape);
        QCOMPARE(harness.form->retStrID, QStringLiteral(" S15 "));
    }

    void everyOpeningGetsAFreshDialog() {
        SearchDialogHarness harness;
        FrmQStoryFactory factory(harness.database, harness.dialogs);
        std::unique_ptr<StorySearch> first = factory.create();
        auto* firstForm = dynamic_cast<frmQStory*>(first.get());
        QVERIFY(firstForm != nullptr);
        typeText(searchBoxOf(*firstForm), QStringLiteral("dragon"));
        QTest::keyClick(searchBoxOf(*firstForm), Qt::Key_Return);
        listOf(*firstForm)->selectItem(1);
        QTest::keyClick(listOf(*firstForm), Qt::Key_Return);
        QVERIFY(first->SelectedFlag);
        first.reset();

        const std::unique_ptr<StorySearch> second = factory.create();
        const auto* secondForm = dynamic_cast<frmQStory*>(second.get());
        QVERIFY(secondForm != nullptr);
        QVERIFY(!second->SelectedFlag && second->retStrID.isEmpty() &&
                second->retStrName.isEmpty());
        QVERIFY(searchBoxOf(*secondForm)->text().isEmpty());
        QCOMPARE(listOf(*secondForm)->itemCount(), 0);
        QCOMPARE(listOf(*secondForm)->columnHeaderCount(), 2);
    }

    void modalDialogIsDrivenByKeys() {
        SearchDialogHarness harness;
        FrmQStoryFactory factory(harness.database, harness.dialogs);
        const std::unique_ptr<StorySearch> search = factory.create();
        auto* form = dynamic_cast<frmQStory*>(search.get());
        QVERIFY(form != nullptr);
        bool startedInSearchBox = false;
        bool openAfterEscOnEmptyList = false;
        bool reachedList = false;
        QStringList selectedAfterEachKey;
        QTimer::singleShot(0, form, [&] {
            QApplication::setActiveWindow(form);
            QLineEdit* box = searchBoxOf(*form);
            platform::ReportList* list = listOf(*form);
            auto noteSelection = [&] {
                const auto item = list->selectedItem();
                selectedAfterEachKey << (item ? item->Text() : QStringLiteral("none"));
            };
            startedInSearchBox = QTest::qWaitForWindowActive(form) && box->hasFocus();
            QTest::keyClick(box, Qt::Key_Escape);
            openAfterEscOnEmptyList = form->isVisible();
            typeText(box, QStringLiteral("มังกร"));
            QTest::keyClick(box, Qt::Key_Return);
            noteSelection();
            QTest::keyClick(box, Qt::Key_Down); // no event processing: straight on, as typed
            reachedList = list->hasFocus();
            noteSelection();
            for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
                QTest::keyClick(list, key);
                noteSelection();
            }
            QTest::keyClick(list, Qt::Key_Return);
        });
        QTimer::singleShot(10000, form, [form] { form->close(); }); // never hang the run

        search->ShowModal();

        QVERIFY(startedInSearchBox);
        QVERIFY(openAfterEscOnEmptyList);
        QVERIFY(reachedList);
        // Search, Down, Enter takes the first story; the arrows move the choice row by row.
        QCOMPARE(selectedAfterEachKey, (QStringList{"none", "S04", "S03", "S04"}));
        QVERIFY(search->SelectedFlag);
        QCOMPARE(search->retStrID, QStringLiteral("S04"));
        QCOMPARE(search->retStrName, storyNames().value(QStringLiteral("S04")));
    }
};

QTEST_MAIN(FrmQStoryKeysTest)
#include "frm_q_story_keys_test.moc"
