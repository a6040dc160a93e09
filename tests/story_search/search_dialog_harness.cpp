#include "tests/story_search/search_dialog_harness.h"

#include "ui/report_list.h"
#include "ui/toolbar.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

const QMap<QString, QString>& storyNames() {
    static const QMap<QString, QString> names = {
        {"S01", "มังกรหยก"},   {"S02", "ดาบมังกรทอง"},  {"S03", "จอมยุทธ์มังกร"},
        {"S04", "เกมมังกร"},   {"S05", "Dragon Ball"}, {"S06", "dragon quest"},
        {"S07", "100% Love"}, {"S08", "A_B"},         {"S09", "AxB"},
        {"S10", "AyC"},       {"S11", "O'Neil"},      {"S12", "ขอบฟ้า สีคราม"},
        {"S13", ""},          {" S15 ", "ท้ายซอย"},
    };
    return names;
}

QLineEdit* searchBoxOf(const QWidget& form) {
    return form.findChild<QLineEdit*>(QStringLiteral("Text1"));
}

platform::ReportList* listOf(const QWidget& form) {
    return form.findChild<platform::ReportList*>(QStringLiteral("ListView1"));
}

platform::Toolbar* toolbarOf(const QWidget& form) {
    return form.findChild<platform::Toolbar*>(QStringLiteral("Toolbar1"));
}

SearchDialogHarness::SearchDialogHarness() {
    QStringList rows{QStringLiteral("('S14', NULL)")};
    for (auto it = storyNames().cbegin(); it != storyNames().cend(); ++it) {
        rows << QStringLiteral("(%1, %2)").arg(sqlLiteral(it.key()), sqlLiteral(it.value()));
    }
    store.run("INSERT INTO Story (BStrID, BStrName) VALUES " + rows.join(u','));
    database.InitDatabase(store.path());
    form = std::make_unique<frmQStory>(database, dialogs);
}

bool SearchDialogHarness::showActive() const {
    form->show();
    QApplication::setActiveWindow(form.get());
    return QTest::qWaitForWindowActive(form.get());
}

void SearchDialogHarness::search(const QString& text) const {
    searchBox()->clear();
    typeText(searchBox(), text);
    QTest::keyClick(searchBox(), Qt::Key_Return);
    // The list shows rows added in a burst once control is back in the event loop, as it is
    // between two of the operator's key presses.
    QCoreApplication::processEvents();
}

QStringList SearchDialogHarness::listedCodes() const {
    QStringList codes;
    for (int index = 1; index <= list()->itemCount(); ++index) {
        codes << platform::ListItem(list(), index).Text();
    }
    return codes;
}
