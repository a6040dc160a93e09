// Code entry and lookup: a side's name display doubles as the record of a found code.

#include "main_window/frm_main.h"

#include "support/database_access.h"
#include "support/input_helpers.h"
#include "support/text_helpers.h"
#include "ui/keyboard.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>

namespace {

// "#,##0": whole number, thousands grouped with the locale's separator, even where the
// locale would leave them ungrouped by default.
QString formatCount(qint64 count) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(count);
}

void showText(QLabel* display, const QString& text) {
    if (display->text() != text) {
        display->setText(text);
    }
}

} // namespace

QString frmMain::GetStoryName(const QString& code) {
    QString result;
    auto recordset =
        services_.database.OpenRecordset(QStringLiteral("SELECT * FROM Story Where BStrID = ") +
                                             Library1::SqlLiteral(code) + QStringLiteral(" "),
                                         false);
    if (!recordset->Eof()) {
        // A story without a name (NULL) reads as a blank name: not found, and no error.
        const QVariant name = recordset->Fields(QStringLiteral("BStrName")).Value;
        result = name.isNull() ? QString() : name.toString();
    }
    recordset->Close();
    return result;
}

void frmMain::GetStoryInfo(const QString& code, QString& name, qint64& count) {
    name = GetStoryName(code);
    count = 0;
    if (name.isEmpty()) {
        return;
    }
    auto recordset = services_.database.OpenRecordset(
        QStringLiteral("SELECT COUNT(*) FROM Book Where BStrID = ") + Library1::SqlLiteral(code) +
            QStringLiteral(" "),
        false);
    if (!recordset->Eof()) {
        const QVariant value = recordset->Fields(0).Value;
        if (!value.isNull()) {
            count = value.toLongLong(); // a shop can hold more copies than 32,767
        }
    }
    recordset->Close();
}

void frmMain::ShowOldStory(const QString& code) {
    ShowStory(side1(), code);
}

void frmMain::ShowNewStory(const QString& code) {
    ShowStory(side2(), code);
}

void frmMain::ShowStory(Side side, const QString& code) {
    QString name;
    qint64 count = 0;
    try {
        GetStoryInfo(code, name, count);
    } catch (...) {
        // The report of the failure finds the side's displays empty.
        showText(side.lblStrName, QString());
        showText(side.lblCnt, QString());
        throw;
    }
    const bool found = !Library1::TrimSpaces(name).isEmpty();
    // Nothing is painted before the lookup ends, so a display is touched only with its final
    // text: one that already shows it (the leave rule repeating Enter's lookup, the same code
    // entered again) is not laid out and repainted, nor is the frame and window beneath it.
    showText(side.lblStrName, found ? name : QString());
    showText(side.lblCnt, found ? formatCount(count) : QString());
}

void frmMain::txtStrID1_GotFocus() {
    // The box that gets the focus is the window's active control by now.
    Library1::SelectAllText(focusWidget());
}

void frmMain::txtStrID2_GotFocus() {
    Library1::SelectAllText(focusWidget());
}

void frmMain::txtStrID1_KeyDown(int keyCode) {
    RunEnterRule(side1(), keyCode);
}

void frmMain::txtStrID2_KeyDown(int keyCode) {
    RunEnterRule(side2(), keyCode);
}

void frmMain::txtStrID1_LostFocus() {
    RunLeaveRule(side1());
}

void frmMain::txtStrID2_LostFocus() {
    RunLeaveRule(side2());
}

void frmMain::RunEnterRule(Side side, int keyCode) {
    if (keyCode != platform::vk::Return) {
        Library1::MoveFocusByKey(keyCode);
        return;
    }
    bool looked = false;
    RunReportingFailures([&] {
        (this->*side.show)(Library1::TrimSpaces(side.txtStrID->text()));
        looked = true;
    });
    if (!looked) {
        // The failure has been reported and the side's displays are empty; the typed code
        // stays in the box with the focus, so Enter tries it again.
        return;
    }
    if (!side.lblStrName->text().isEmpty()) {
        Library1::MoveFocusByKey(keyCode);
    } else {
        side.txtStrID->clear();
    }
}

void frmMain::RunLeaveRule(Side side) {
    if (side.lblStrName->text().isEmpty()) {
        side.txtStrID->clear();
        return;
    }
    RunReportingFailures([&] { (this->*side.show)(side.txtStrID->text()); });
}
