// Renders the real windows to PNG, headless, on a demo store: the main window empty and with
// both codes looked up, the change question, and the search dialog listing stories.
//
//   QT_QPA_PLATFORM=offscreen render_windows <output folder>

#include "main_window/frm_main.h"
#include "story_search/frm_q_story_factory.h"
#include "support/database_access.h"
#include "support/dialogs.h"
#include "tools/demo_store/demo_store.h"
#include "tools/store_writer/store_writer.h"
#include "ui/fonts.h"
#include "ui/message_box.h"
#include "ui/platform_texts.h"
#include "ui/program_services.h"
#include "ui/report_list.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <cstdio>

namespace {

// Answers every box with No, after saving a picture of it.
class PhotographedMessageBoxes final : public platform::MessageBoxService {
public:
    explicit PhotographedMessageBoxes(QString path) : path_(std::move(path)) {}
    int show(const QString& prompt, int style, const QString& title) override {
        const std::unique_ptr<QMessageBox> box = platform::buildMessageBox(prompt, style, title);
        box->show();
        QTest::qWait(50);
        box->grab().save(path_);
        return platform::msgbox::ResultNo;
    }

private:
    QString path_;
};

void save(QWidget& window, const QString& path) {
    QTest::qWait(50); // let queued layout and painting settle
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(path));
}

void enter(QLineEdit* box, const QString& code) {
    box->setFocus();
    QTest::keyClicks(box, code);
    QTest::keyClick(box, Qt::Key_Return);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::installFontSubstitutes();
    platform::installThaiPlatformTexts();
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    QDir().mkpath(out.path());

    QTemporaryDir folder;
    const QString storePath = folder.filePath(QStringLiteral("book.mdb"));
    platform::createSqliteStore(storePath, QStringLiteral("kd=73"));
    {
        platform::StoreWriter writer(storePath, QStringLiteral("kd=73"));
        demostore::DemoRequest request;
        request.specials = {{"KH-0001", 1234, "ขายหัวเราะ"},
                            {"KH-0002", 56, "ขายหัวเราะ ฉบับรวมเล่มพิเศษ"}};
        demostore::fillDemoStore(writer, request);
    }

    PhotographedMessageBoxes boxes(out.filePath(QStringLiteral("change-question.png")));
    Library1::Dialogs dialogs(boxes);
    Library1::DatabaseAccess database;
    platform::QtProgramEnd programEnd;
    // The demo store's folder stands in for the program's own.
    platform::GivenProgramFolder programFolder(folder.path());
    FrmQStoryFactory search(database, dialogs);

    frmMain window(MainWindowServices{database, dialogs, programEnd, programFolder, search});
    if (!window.Form_Load()) {
        return 1;
    }
    window.show();
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window)) {
        return 1;
    }
    save(window, out.filePath(QStringLiteral("main-empty.png")));

    enter(window.findChild<QLineEdit*>(QStringLiteral("txtStrID1")), QStringLiteral("KH-0001"));
    enter(window.findChild<QLineEdit*>(QStringLiteral("txtStrID2")), QStringLiteral("KH-0002"));
    save(window, out.filePath(QStringLiteral("main-looked-up.png")));

    QTest::mouseClick(window.findChild<QToolButton*>(QStringLiteral("Toolbar1_OK")),
                      Qt::LeftButton);
    std::printf("%s\n", qPrintable(out.filePath(QStringLiteral("change-question.png"))));

    const std::unique_ptr<StorySearch> dialog = search.create();
    auto* dialogWindow = dynamic_cast<QWidget*>(dialog.get());
    dialogWindow->show();
    QApplication::setActiveWindow(dialogWindow);
    auto* text = dialogWindow->findChild<QLineEdit*>(QStringLiteral("Text1"));
    text->setText(QStringLiteral("มังกร"));
    QTest::keyClick(text, Qt::Key_Return);
    QTest::qWait(50);
    dialogWindow->findChild<platform::ReportList*>(QStringLiteral("ListView1"))->selectItem(2);
    save(*dialogWindow, out.filePath(QStringLiteral("search-listing.png")));
    return 0;
}
