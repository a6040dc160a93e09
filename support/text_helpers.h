#pragma once

#include <QString>

namespace Library1 {

// Removes leading and trailing spaces, U+0020 only: a tab or a no-break space typed into a
// box is part of the code or fragment, so the checks and lookups keep it.
QString TrimSpaces(const QString& text);

} // namespace Library1
