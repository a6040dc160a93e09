#pragma once

#include <QSize>

namespace platform {
class Toolbar;
}

namespace Library1 {

// Both windows end in the same strip: an OK button (key "OK", image 6) and a Cancel button
// (key "Cancel", image 7). Captions and tooltips are fixed to the letter, spaces included:
// the spaces around the captions set the buttons' look.
void AddOkCancelButtons(platform::Toolbar& toolbar, QSize buttonSize);

} // namespace Library1
