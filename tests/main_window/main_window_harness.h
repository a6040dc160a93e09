#pragma once

#include "main_window/frm_main.h"
#include "story_search/story_search.h"
#include "support/database_access.h"
#include "support/dialogs.h"
#include "tests/testkit/message_box_answers.h"
#include "tests/testkit/scripted_services.h"
#include "tests/testkit/temp_store.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include <functional>
#include <memory>

// A search dialog whose outcome the test decides; counts how often it was opened.
class ScriptedStorySearchFactory final : public StorySearchFactory {
public:
    std::unique_ptr<StorySearch> create() override;

    void chooseNext(const QString& code) { choices_.push_back(code); }
    void cancelNext() { choices_.push_back(std::nullopt); }
    int opened() const { return opened_; }

private:
    std::vector<std::optional<QString>> choices_;
    int opened_ = 0;
};

// The real main window on a real store, with scripted program end, scripted or real message
// boxes, and a scripted or the real search dialog.
class MainWindowHarness {
public:
    enum class Search { Scripted, Real };
    enum class Boxes { Scripted, Real };
    explicit MainWindowHarness(const QString& storeScript = QString(),
                               Search search = Search::Scripted, Boxes boxes = Boxes::Scripted);

    // Runs the load step and, when it succeeds, shows the window and makes it active.
    bool load();

    frmMain& window() { return *window_; }
    TempStore& store() { return *store_; }
    ScriptedMessageBoxes& boxes() { return boxes_; }
    RecordingProgramEnd& programEnd() { return programEnd_; }
    ScriptedStorySearchFactory& search() { return search_; }
    Library1::DatabaseAccess& database() { return database_; }

    QLineEdit* box(int side);
    QLabel* name(int side);
    QLabel* count(int side);
    QPushButton* find(int side);
    QCheckBox* deleteOption();
    void clickToolbar(const char* key);

    // Types text into a side's box (focusing it first) and optionally presses a key.
    void type(int side, const QString& text);
    void press(int side, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // With real boxes: answers the first box that comes up with the first press and every
    // later one with the second, from the keyboard.
    void answerBoxesWith(QKeyCombination first, QKeyCombination then = Qt::Key_Return);
    const MessageBoxAnswers& realBoxAnswers() const { return *answers_; }

private:
    std::unique_ptr<TempStore> store_;
    ScriptedMessageBoxes boxes_;
    platform::QtMessageBoxService realBoxes_;
    Library1::Dialogs dialogs_;
    std::unique_ptr<MessageBoxAnswers> answers_;
    Library1::DatabaseAccess database_;
    RecordingProgramEnd programEnd_;
    std::unique_ptr<platform::GivenProgramFolder> folder_;
    ScriptedStorySearchFactory search_;
    std::unique_ptr<StorySearchFactory> realSearch_;
    std::unique_ptr<frmMain> window_;
};

// Waits, processing events, until the condition holds or a second has passed.
bool eventually(const std::function<bool()>& condition);
