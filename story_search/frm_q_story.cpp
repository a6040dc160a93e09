#include "story_search/frm_q_story.h"

#include "data/db_error.h"
#include "story_search/story_name_query.h"
#include "support/database_access.h"
#include "support/dialogs.h"
#include "support/input_helpers.h"
#include "ui/control_focus.h"
#include "ui/keyboard.h"
#include "ui/report_list.h"
#include "ui/toolbar.h"
#include "ui/twips.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString kOkKey = QStringLiteral("OK");
const QString kCancelKey = QStringLiteral("Cancel");

} // namespace

frmQStory::frmQStory(Library1::DatabaseAccess& database, Library1::Dialogs& dialogs,
                     QWidget* parent)
    : QDialog(parent), database_(database), dialogs_(dialogs) {
    BuildLayout();
    // The one path from the platform's events to the handlers: key presses through the
    // filter below, clicks and focus through these.
    Text1->installEventFilter(this);
    ListView1->installEventFilter(this);
    connect(ListView1, &platform::ReportList::dblClick, this, &frmQStory::ListView1_DblClick);
    connect(Toolbar1, &platform::Toolbar::buttonClick, this, &frmQStory::Toolbar1_ButtonClick);
    connect(new platform::ControlFocus(*this), &platform::ControlFocus::gotFocus, this,
            [this](QWidget* control) {
                if (control == Text1) {
                    Text1_GotFocus();
                }
            });
    Form_Load();
}

frmQStory::~frmQStory() = default;

void frmQStory::ShowModal() {
    exec();
}

void frmQStory::Form_Load() {
    Library1::CenterForm(*this);
    SelectedFlag = false;
    retStrID.clear();
    SetupColumns();
    Text1->setFocus();
}

void frmQStory::SetupColumns() {
    const platform::TwipsScale scale = platform::TwipsScale::of(this);
    ListView1->addColumn(QStringLiteral("รหัสชื่อหนังสือ"), scale.x(1500));
    ListView1->addColumn(QStringLiteral("ชื่อหนังสือ"), scale.x(6000));
}

void frmQStory::FillList(const QString& sql) {
    ListView1->clearItems();
    const std::unique_ptr<adodb::Recordset> rs = database_.OpenRecordset(sql, true);
    while (!rs->Eof()) {
        platform::ListItem item =
            ListView1->addItem(rs->Fields(QStringLiteral("BStrID")).Value.toString());
        item.SetSubItem(1, rs->Fields(QStringLiteral("BStrName")).Value.toString());
        rs->MoveNext();
    }
    rs->Close();
}

bool frmQStory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || (watched != Text1 && watched != ListView1)) {
        return QDialog::eventFilter(watched, event);
    }
    int keyCode = platform::virtualKeyCode(*static_cast<QKeyEvent*>(event));
    Form_KeyDown(keyCode);
    if (unloaded_) {
        return true; // the window is gone: the key has nothing left to reach
    }
    if (watched == Text1) {
        Text1_KeyDown(keyCode);
    } else {
        ListView1_KeyDown(keyCode);
    }
    return unloaded_;
}

void frmQStory::keyPressEvent(QKeyEvent* event) {
    // QDialog would close on Esc and press a default button on Enter. Here Esc chooses the
    // selected story and Enter belongs to the focused control; both are handled above.
    QWidget::keyPressEvent(event);
}

void frmQStory::Form_KeyDown(int keyCode) {
    // Esc chooses and F2 cancels, the other way round from the tooltips: the keys are this
    // dialog's own map, while the tooltips belong to the OK/Cancel strip both windows share.
    if (keyCode == platform::vk::Escape) {
        PressToolbarButton(kOkKey);
    } else if (keyCode == platform::vk::F2) {
        PressToolbarButton(kCancelKey);
    }
}

void frmQStory::Text1_KeyDown(int keyCode) {
    if (keyCode == platform::vk::Return) {
        SearchStories();
    } else {
        Library1::MoveFocusByKey(keyCode);
    }
}

void frmQStory::Text1_GotFocus() {
    // Typing replaces the previous fragment.
    Library1::SelectAllText(Text1);
}

void frmQStory::ListView1_KeyDown(int keyCode) {
    if (keyCode == platform::vk::Return) {
        PressToolbarButton(kOkKey);
    }
}

void frmQStory::ListView1_DblClick() {
    PressToolbarButton(kOkKey);
}

void frmQStory::Toolbar1_ButtonClick(platform::ToolbarButton* button) {
    if (button == nullptr) {
        return;
    }
    if (button->Key == kOkKey) {
        ChooseSelectedStory();
    } else if (button->Key == kCancelKey) {
        UnloadForm();
    }
}

void frmQStory::PressToolbarButton(const QString& key) {
    Toolbar1_ButtonClick(Toolbar1->buttonByKey(key));
}

void frmQStory::SearchStories() {
    try {
        FillList(StoryNameSearchSql(Text1->text()));
    } catch (const platform::DbError& error) {
        // Rows read before the failure would pass for a complete result.
        ListView1->clearItems();
        dialogs_.ShowError(error.description());
    }
}

void frmQStory::ChooseSelectedStory() {
    if (ListView1->itemCount() == 0) {
        return;
    }
    const std::optional<platform::ListItem> selected = ListView1->selectedItem();
    if (!selected) {
        return;
    }
    SelectedFlag = true;
    retStrID = selected->Text();
    retStrName = selected->SubItem(1);
    UnloadForm();
}

void frmQStory::UnloadForm() {
    // The result members outlive the window: the caller reads them after the dialog closed.
    unloaded_ = true;
    done(SelectedFlag ? QDialog::Accepted : QDialog::Rejected);
}
