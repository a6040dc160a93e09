// Code entry and lookup: a side's name display doubles as the record of a found code.

#include "frm_main.h"

#include "database_access.h"
#include "input_helpers.h"
#include "keyboard.h"

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

void frmMain::showStory(Side& side, const QString& code) {
    side.nameLabel->clear();
    side.countLabel->clear();
    QString name;
    qint64 count = 0;
    GetStoryInfo(code, name, count);
    if (!Library1::TrimSpaces(name).isEmpty()) {
        side.nameLabel->setText(name);
        side.countLabel->setText(formatCount(count));
    }
}

void frmMain::CodeBox_KeyDown(Side& side, int& keyCode) {
    if (keyCode != platform::vk::Return) {
        Library1::MoveFocusByKey(keyCode);
        return;
    }
    bool looked = false;
    reportingFailures([&] {
        showStory(side, Library1::TrimSpaces(side.codeBox->text()));
        looked = true;
    });
    if (!looked) {
        return; // the failure has been reported; the typed code stays for another try
    }
    if (!side.nameLabel->text().isEmpty()) {
        Library1::MoveFocusByKey(keyCode);
    } else {
        side.codeBox->clear();
    }
}

void frmMain::CodeBox_LostFocus(Side& side) {
    if (side.nameLabel->text().isEmpty()) {
        side.codeBox->clear();
        return;
    }
    reportingFailures([&] { showStory(side, side.codeBox->text()); });
}
