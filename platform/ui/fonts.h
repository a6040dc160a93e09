#pragma once

#include <QFont>
#include <QString>

namespace platform {

// The layouts name the fonts "Tahoma" and "MS Sans Serif", which Linux lacks; map them to
// installed Thai-capable families so Thai renders well.
void installFontSubstitutes();

// A font by the layout's description: family, size in points, bold or regular.
QFont layoutFont(const QString& family, double pointSize, bool bold = false);

} // namespace platform
