#pragma once

#include "story_search/story_search.h"
#include "support/database_access.h"
#include "support/dialogs.h"
#include "ui/message_box.h"
#include "ui/program_services.h"

#include <QString>

#include <memory>

class QLabel;
class QLineEdit;
class frmMain;
class frmQStory;

namespace platform {
class ReportList;
}

namespace bench {

// Message boxes that never wait for anyone: each one is counted and answered No, so a
// failure shows up as a count instead of a window that blocks the run.
class CountingMessageBoxes final : public platform::MessageBoxService {
public:
    int show(const QString& prompt, int style, const QString& title) override;
    int shown() const { return shown_; }
    const QString& lastPrompt() const { return lastPrompt_; }

private:
    int shown_ = 0;
    QString lastPrompt_;
};

// The real main window on a store folder, shown (off screen) and active, driven by keys as
// the operator drives it.
class MainWindowDriver {
public:
    explicit MainWindowDriver(const QString& storeFolder);
    ~MainWindowDriver();

    // Puts the caret in the old-code box with the code typed in, the state just before the
    // operator presses Enter. Not part of what is timed.
    void typeOldCode(const QString& code);
    // Enter in the old-code box: the Enter rule's lookup, then the focus moves on and the
    // leave rule looks the code up again.
    void pressEnter();
    QString shownName() const;
    QString shownCount() const;
    int messages() const { return boxes_.shown(); }

private:
    class Services;
    CountingMessageBoxes boxes_;
    std::unique_ptr<Services> services_;
    std::unique_ptr<frmMain> window_;
    QLineEdit* codeBox_ = nullptr;
    QLabel* name_ = nullptr;
    QLabel* count_ = nullptr;
};

// The real search dialog, shown (off screen) and active, searched through its box and Enter.
class SearchDialogDriver {
public:
    explicit SearchDialogDriver(const QString& storePath);
    ~SearchDialogDriver();

    // Empties the list, as a newly opened dialog has it. Not part of what is timed.
    void clearList();
    // Types the fragment, presses Enter, and lets the list show the rows.
    void search(const QString& fragment);
    int listed() const;
    int messages() const { return boxes_.shown(); }

private:
    CountingMessageBoxes boxes_;
    Library1::Dialogs dialogs_{boxes_};
    Library1::DatabaseAccess database_;
    std::unique_ptr<frmQStory> dialog_;
    QLineEdit* searchBox_ = nullptr;
    platform::ReportList* list_ = nullptr;
};

} // namespace bench
