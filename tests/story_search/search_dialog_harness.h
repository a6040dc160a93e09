#pragma once

#include "story_search/frm_q_story.h"
#include "support/database_access.h"
#include "support/dialogs.h"
#include "tests/testkit/scripted_services.h"
#include "tests/testkit/temp_store.h"
#include "tests/testkit/typing.h"

#include <QMap>
#include <QStringList>

#include <memory>

class QLineEdit;
namespace platform {
class ReportList;
class Toolbar;
} // namespace platform

// The stories of every test store, code to name, chosen so that name order, the wildcards
// and the apostrophe each have something to tell apart. One name is empty, one code has
// spaces around it, and one more story (S14) has no name at all.
const QMap<QString, QString>& storyNames();

// The dialog's controls, found by their names as any tool would find them.
QLineEdit* searchBoxOf(const QWidget& form);
platform::ReportList* listOf(const QWidget& form);
platform::Toolbar* toolbarOf(const QWidget& form);

// A search dialog on a store of its own, with message boxes that answer by script.
struct SearchDialogHarness {
    SearchDialogHarness();

    QLineEdit* searchBox() const { return searchBoxOf(*form); }
    platform::ReportList* list() const { return listOf(*form); }
    platform::Toolbar* toolbar() const { return toolbarOf(*form); }

    // Shown without a modal loop and made the active window, so keys and focus moves act
    // as they do for the operator.
    [[nodiscard]] bool showActive() const;
    // Types the text over the search box's text and presses Enter in it; returns once the
    // list shows the rows.
    void search(const QString& text) const;
    QStringList listedCodes() const;

    TempStore store;
    Library1::DatabaseAccess database;
    ScriptedMessageBoxes boxes;
    Library1::Dialogs dialogs{boxes};
    std::unique_ptr<frmQStory> form;
};
