// The code change: checks, the question, the two statements, the notice and the reset.

#include "main_window/frm_main.h"
#include "main_window/main_window_texts.h"

#include "data/stored_text.h"
#include "support/database_access.h"
#include "support/dialogs.h"
#include "support/text_helpers.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

void frmMain::SaveCodeChange() {
    using namespace MainWindowTexts;
    Library1::Dialogs& dialogs = services_.dialogs;
    if (Library1::TrimSpaces(txtStrID1->text()).isEmpty()) {
        dialogs.ShowError(QString::fromUtf8(kOldCodeInvalid));
        txtStrID1->setFocus();
        return;
    }
    if (Library1::TrimSpaces(txtStrID2->text()).isEmpty()) {
        dialogs.ShowError(QString::fromUtf8(kNewCodeInvalid));
        txtStrID2->setFocus();
        return;
    }
    // Moving copies onto their own code changes nothing, and with the delete option it would
    // delete the story those copies still carry.
    if (platform::sameStoredText(txtStrID1->text(), txtStrID2->text())) {
        dialogs.ShowError(QString::fromUtf8(kCodesMustDiffer));
        txtStrID2->setFocus();
        return;
    }
    if (!ConfirmCodeChange(txtStrID1->text(), txtStrID2->text())) {
        return;
    }
    const QString oldCode = Library1::SqlLiteral(txtStrID1->text());
    const QString newCode = Library1::SqlLiteral(txtStrID2->text());
    services_.database.ExecuteSql(QStringLiteral("UPDATE BOOK SET BStrID = ") + newCode +
                                  QStringLiteral(" Where BStrID = ") + oldCode +
                                  QStringLiteral(" "));
    if (chkDel1->checkState() == Qt::Checked) {
        services_.database.ExecuteSql(QStringLiteral("DELETE FROM Story Where BStrID = ") +
                                      oldCode + QStringLiteral(" "));
    }
    dialogs.ShowInfo(QString::fromUtf8(kSaved));
    ResetSides();
}

bool frmMain::ConfirmCodeChange(const QString& oldCode, const QString& newCode) {
    using namespace MainWindowTexts;
    const QString crlf = QStringLiteral("\r\n");
    const QString question = QString::fromUtf8(kConfirmTitle) + crlf + QString::fromUtf8(kFrom) +
                             oldCode + QStringLiteral("  ") + lblStrName1->text() + crlf +
                             QString::fromUtf8(kTo) + newCode + QStringLiteral("  ") +
                             lblStrName2->text() + crlf + crlf + QString::fromUtf8(kOrNot);
    return services_.dialogs.AskYesNo(question, false) == platform::msgbox::ResultYes;
}

void frmMain::ResetSides() {
    for (const Side& side : {side1(), side2()}) {
        side.txtStrID->clear();
        side.lblStrName->clear();
        side.lblCnt->clear();
    }
    txtStrID1->setFocus();
}
