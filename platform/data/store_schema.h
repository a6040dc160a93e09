#pragma once

#include <QString>

namespace platform {

// The shop's tables and index as a new store gets them: Story and Book with the columns the
// shop keeps, text columns compared by the engine's rules (JETTEXT), and Book's index on its
// story code, which every lookup and change goes through.
QString storeSchemaSql();

} // namespace platform
