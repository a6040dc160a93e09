#pragma once

class QWidget;

namespace Library1 {

// Enter and Down move the focus to the next control in the tab order, Up to the previous
// one; other keys do nothing. The focus has moved when this returns. Modifiers do not count.
void MoveFocusByKey(int keyCode);

// Selects the whole text of a text box; an empty box gets the caret at its start.
// Throws std::invalid_argument for a control without text selection.
void SelectAllText(QWidget* control);

// Places the window 50 twips left of and above the middle of the screen, by its outer size,
// frame included. A window not yet shown has no frame yet: it is placed when it is first
// shown, before it is painted.
void CenterForm(QWidget& form);

// The placement formula, in twips and single precision, unrounded: (screen - window - 100) / 2.
// Throws std::overflow_error where the result is not a finite number.
float CenteredPosition(float screenSize, float windowSize);

} // namespace Library1
