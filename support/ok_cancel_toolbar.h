#pragma once

#include <QSize>

namespace platform {
class Toolbar;
}

namespace Library1 {

// Both windows end in the same strip: an OK button (key "OK", image 6) and a Cancel button
// (key "Cancel", image 7), captions and tooltips as the operator knows them.
void AddOkCancelButtons(platform::Toolbar& toolbar, QSize buttonSize);

} // namespace Library1
