#pragma once

#include <QString>

class QLineEdit;

namespace platform {

// A box's length limit counts UTF-16 units, so a character outside the Basic Multilingual
// Plane typed or pasted at the limit would keep only its first half, and the box would then
// show and send something else than the operator typed. After every edit by the operator,
// such half characters are dropped.
void keepWholeCharacters(QLineEdit& box);

// The text without any surrogate that has lost its partner.
QString withoutHalfCharacters(const QString& text);

} // namespace platform
