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
    if (Library1::TrimSpaces(side1_.codeBox->text()).isEmpty()) {
        dialogs.ShowError(QString::fromUtf8(kOldCodeInvalid));
        side1_.codeBox->setFocus();
        return;
    }
    if (Library1::TrimSpaces(side2_.codeBox->text()).isEmpty()) {
        dialogs.ShowError(QString::fromUtf8(kNewCodeInvalid));
        side2_.codeBox->setFocus();
        return;
    }
    // Moving copies onto their own code changes nothing, and with the delete option it would
    // delete the story those copies still carry.
    if (platform::sameStoredText(side1_.codeBox->text(), side2_.codeBox->text())) {
        dialogs.ShowError(QString::fromUtf8(kCodesMustDiffer));
        side2_.codeBox->setFocus();
        return;
    }
    if (!ConfirmCodeChange(side1_.codeBox->text(), side2_.codeBox->text())) {
        return;
    }
    const QString oldCode = Library1::SqlLiteral(side1_.codeBox->text());
    const QString newCode = Library1::SqlLiteral(side2_.codeBox->text());
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
                             oldCode + QStringLiteral("  ") + side1_.nameLabel->text() + crlf +
                             QString::fromUtf8(kTo) + newCode + QStringLiteral("  ") +
                             side2_.nameLabel->text() + crlf + crlf + QString::fromUtf8(kOrNot);
    return services_.dialogs.AskYesNo(question, false) == platform::msgbox::ResultYes;
}

void frmMain::ResetSides() {
    for (Side* side : {&side1_, &side2_}) {
        side->codeBox->clear();
        side->nameLabel->clear();
        side->countLabel->clear();
    }
    side1_.codeBox->setFocus();
}
