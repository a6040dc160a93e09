#pragma once

#include "jet/writer/change_plan.h"

namespace jet {

// The check a change passes before the first byte of the file is touched. It reads the file
// as the plan would leave it with the reader, apart from how the plan was made, and looks at
// what the change writes, not at the whole file:
// - every row: the rows the statement names hold what it asks (the new text in its column,
//   every other field as it was, or deleted); every other row keeps its bytes and its slot;
//   every data page written keeps the format's rules and its free-space count;
// - every index of a table the change touches: the pages written lose exactly the old entries
//   of the rows changed or deleted and gain exactly their new ones, each the key the row's
//   values give in that index (a key copied from the file only where the file holds it for
//   that very text); each page keeps its entries in order and agrees with its parent and its
//   neighbours; unique indexes stay unique;
// - enforced relationships, row counts, the usage maps and the free-space maps agree with the
//   pages, and no page is written that nothing of the change explains.
// Anything that does not hold throws WriteError (Unsupported) naming the structure that failed;
// nothing has been written then.
void checkPlannedUpdate(const Database& database, const TableUpdate& update,
                        const PlannedWrite& plan);
void checkPlannedDeletion(const Database& database, const TableDeletion& deletion,
                          const PlannedWrite& plan);

} // namespace jet
