#pragma once

#include <QString>

namespace platform {

// Whether the database would take two texts for the same value in a comparison: letter case
// and trailing spaces do not count, accents and Thai tone marks do.
bool sameStoredText(const QString& a, const QString& b);

} // namespace platform
