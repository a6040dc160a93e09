#pragma once

#include "story_search/story_search.h"
#include "ui/image_list.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace Library1 {
class DatabaseAccess;
class Dialogs;
} // namespace Library1

namespace platform {
class LineControl;
class ReportList;
class Toolbar;
struct ToolbarButton;
} // namespace platform

// The story search dialog. The operator types part of a story name and presses Enter; the
// list shows the matching stories by name. Choosing a row hands its code and name back
// through the result members and closes the dialog. Every way of choosing or cancelling
// (buttons, keys, double-click) runs through the one toolbar click handler.
//
// The dialog sees every key press before the focused control does (a filter on its
// controls), because Esc and F2 work wherever the focus is.
//
// Names as in the main window: an event handler is named after its control and event
// (Text1_KeyDown), every other routine is verb-first (FillList).
class frmQStory final : public QDialog, public StorySearch {
    Q_OBJECT

public:
    frmQStory(Library1::DatabaseAccess& database, Library1::Dialogs& dialogs,
              QWidget* parent = nullptr);
    ~frmQStory() override;

    void ShowModal() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_KeyDown(int keyCode);
    void Text1_GotFocus();
    void Text1_KeyDown(int keyCode);
    void ListView1_KeyDown(int keyCode);
    void ListView1_DblClick();
    void Toolbar1_ButtonClick(platform::ToolbarButton* button);

    void BuildLayout();
    void SetupColumns();
    void FillList(const QString& sql);
    void PressToolbarButton(const QString& key);
    void SearchStories();
    void ChooseSelectedStory();
    void UnloadForm();

    Library1::DatabaseAccess& database_;
    Library1::Dialogs& dialogs_;
    bool unloaded_ = false;

    platform::ImageList ImageList1;
    QLineEdit* Text1 = nullptr;
    QLabel* Label1 = nullptr;
    platform::ReportList* ListView1 = nullptr;
    platform::Toolbar* Toolbar1 = nullptr;
    QLabel* lblTitle = nullptr;
    platform::LineControl* Line1 = nullptr;
    platform::LineControl* Line2 = nullptr;
};
