#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class StorySearchFactory;

namespace Library1 {
class DatabaseAccess;
class Dialogs;
} // namespace Library1

namespace platform {
class ImageList;
class ProgramEnd;
class ProgramFolder;
class Toolbar;
struct ToolbarButton;
} // namespace platform

// What the main window reaches beyond itself; tests put scripted stand-ins here.
struct MainWindowServices {
    Library1::DatabaseAccess& database;
    Library1::Dialogs& dialogs;
    platform::ProgramEnd& programEnd;
    platform::ProgramFolder& programFolder;
    StorySearchFactory& storySearch;
};

// The program's one top-level window: two code sides (old, new), each with its code box, find
// button, name and count displays; the delete option; the OK/Cancel toolbar. The controls are
// the window's only state: a side's name display also records whether its code was found.
//
// Names: an event handler is named after its control and event (txtStrID1_KeyDown); every
// other routine is verb-first (ShowOldStory, SaveCodeChange). Each handler lives in the file
// of the behaviour it belongs to: frm_main_startup (start-up, shutdown, the toolbar),
// frm_main_lookup (code entry and lookup), frm_main_change (the code change) and frm_main_find
// (the find buttons); frm_main.cpp routes the platform's events to them.
class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(const MainWindowServices& services, QWidget* parent = nullptr);
    ~frmMain() override;

    // The load step, before the window is first shown. False when the program has ended
    // instead (no database file beside it).
    bool Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // One code-entry side, for the routines both sides share: its controls (the members they
    // name) and the routine that shows its story.
    struct Side {
        QGroupBox*& Frame;
        QLineEdit*& txtStrID;
        QPushButton*& cmdFind;
        QLabel*& lblStrName;
        QLabel*& lblCnt;
        void (frmMain::*show)(const QString& code);
    };
    Side side1();
    Side side2();

    // Layout.
    void BuildLayout();
    void BuildSide(Side side, int number, int frameTop, int rowOffset);
    void BuildBottomStrip();

    // Start-up, shutdown and the toolbar.
    void Form_Unload(bool& cancel);
    void Toolbar1_ButtonClick(platform::ToolbarButton* button);

    // Code entry and lookup.
    void txtStrID1_GotFocus();
    void txtStrID2_GotFocus();
    void txtStrID1_KeyDown(int keyCode);
    void txtStrID2_KeyDown(int keyCode);
    void txtStrID1_LostFocus();
    void txtStrID2_LostFocus();
    void RunEnterRule(Side side, int keyCode);
    void RunLeaveRule(Side side);
    // Look a code up and fill the side's displays.
    void ShowOldStory(const QString& code);
    void ShowNewStory(const QString& code);
    void ShowStory(Side side, const QString& code);
    void GetStoryInfo(const QString& code, QString& name, qint64& count);
    QString GetStoryName(const QString& code);

    // The code change.
    void SaveCodeChange();
    bool ConfirmCodeChange(const QString& oldCode, const QString& newCode);
    void ResetSides();

    // The find buttons.
    void cmdFind1_Click();
    void cmdFind2_Click();
    void SearchForSide(Side side);

    // Routing of the platform's events to the handlers.
    void RouteGotFocus(QWidget* control);
    void RouteLostFocus(QWidget* control);
    // Runs a handler's database work; a failure is reported and the window goes on.
    void RunReportingFailures(const std::function<void()>& work);

    MainWindowServices services_;
    // The controls the behaviour uses, by their names.
    QGroupBox* Frame1 = nullptr;
    QLineEdit* txtStrID1 = nullptr;
    QPushButton* cmdFind1 = nullptr;
    QLabel* lblStrName1 = nullptr;
    QLabel* lblCnt1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLineEdit* txtStrID2 = nullptr;
    QPushButton* cmdFind2 = nullptr;
    QLabel* lblStrName2 = nullptr;
    QLabel* lblCnt2 = nullptr;
    QCheckBox* chkDel1 = nullptr;
    platform::Toolbar* Toolbar1 = nullptr;
    QLabel* lblTitle = nullptr;
    std::unique_ptr<platform::ImageList> ImageList1;
};
