#include "jet/writer/change_writer.h"

#include "jet/writer/image_check.h"

namespace jet {
namespace {

void writeChecked(LockedFile& file, const Database& database, PlannedWrite plan,
                  const PlanFault& fault, const std::function<void(const PlannedWrite&)>& check) {
    if (fault) {
        fault(plan);
    }
    if (plan.pages.empty()) {
        return;
    }
    check(plan);
    file.writePages(plan.pages, plan.pageCount);
    database.pages().forgetPages();
}

} // namespace

void writeUpdate(LockedFile& file, const Database& database, const TableUpdate& update,
                 const PlanFault& fault) {
    writeChecked(file, database, planUpdate(database, update), fault,
                 [&](const PlannedWrite& plan) { checkPlannedUpdate(database, update, plan); });
}

void writeDeletion(LockedFile& file, const Database& database, const TableDeletion& deletion,
                   const PlanFault& fault) {
    writeChecked(file, database, planDeletion(database, deletion), fault,
                 [&](const PlannedWrite& plan) { checkPlannedDeletion(database, deletion, plan); });
}

} // namespace jet
