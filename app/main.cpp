// The program starts into its main window; everything it reaches beyond the window is made
// here, once, and handed in.

#include "data/sqlite_engine.h"
#include "main_window/frm_main.h"
#include "story_search/frm_q_story_factory.h"
#include "support/database_access.h"
#include "support/dialogs.h"
#include "ui/fonts.h"
#include "ui/message_box.h"
#include "ui/platform_texts.h"
#include "ui/program_services.h"
#include "ui/window_system.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Before the window shows, so that the first lookup does not wait for it.
    platform::prepareSqlite();
    platform::prepareWindowSystem();
    QApplication app(argc, argv);
    platform::installFontSubstitutes();
    platform::installThaiPlatformTexts();

    platform::QtMessageBoxService messageBoxes;
    platform::QtProgramEnd programEnd;
    platform::QtProgramFolder programFolder;
    Library1::Dialogs dialogs(messageBoxes);
    Library1::DatabaseAccess database;
    FrmQStoryFactory storySearch(database, dialogs);

    frmMain window({database, dialogs, programEnd, programFolder, storySearch});
    if (!window.Form_Load()) {
        return 0;
    }
    window.show();
    const int status = QApplication::exec();
    // Ending at once from the toolbar skips the window's unload step: the operator chose to
    // leave, and closing the connection object changes nothing on the file.
    return programEnd.hasEnded() ? 0 : status;
}
