// The find buttons: the search dialog, and the chosen code put into the side that asked.

#include "main_window/frm_main.h"

#include "story_search/story_search.h"

#include <QLineEdit>

void frmMain::cmdFind1_Click() {
    SearchForSide(side1());
}

void frmMain::cmdFind2_Click() {
    SearchForSide(side2());
}

void frmMain::SearchForSide(Side side) {
    std::unique_ptr<StorySearch> dialog = services_.storySearch.create();
    dialog->ShowModal();
    if (dialog->SelectedFlag) {
        side.txtStrID->setText(dialog->retStrID);
        RunReportingFailures([&] { (this->*side.show)(dialog->retStrID); });
    }
}
