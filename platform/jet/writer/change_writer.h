#pragma once

#include "jet/writer/change_plan.h"
#include "jet/writer/locked_file.h"

#include <functional>

namespace jet {

// A fault put into a plan between planning and checking: tests use it to show that the check
// stands between every plan and the file.
using PlanFault = std::function<void(PlannedWrite&)>;

// Writes one statement's change to the file, all or nothing, in its steps: the plan of every
// page it changes (planUpdate, planDeletion), the check of the file as the plan would leave it
// (checkPlannedUpdate, checkPlannedDeletion), then the journal of the pages' originals, the
// pages, and the journal's removal (LockedFile::commit). The database's pages are read
// afresh afterwards. Throws WriteError for every refusal; the file is then as it was.
void writeUpdate(LockedFile& file, const Database& database, const TableUpdate& update,
                 const PlanFault& fault = {});
void writeDeletion(LockedFile& file, const Database& database, const TableDeletion& deletion,
                   const PlanFault& fault = {});

} // namespace jet
