#pragma once
// The store's own order, worked out in memory. Reading a large project, the
// store's ORDER BY on names asks the name collation hundreds of thousands of
// times; here each plain name is folded once. The order is certain to be the
// store's only where td_rout is the table a build makes (routineTableAsBuilt)
// and every value is of the kind a build writes (RoutineScan::sortable);
// otherwise the store sorts.
#include <optional>
#include <vector>

#include "model/CodeDatabase.h"

namespace lumo {

class WorkingStore;

// Puts rows [first, last), the routines of one module, in the order
// routinesByModuleAndName gives them.
void sortModuleRoutines(std::vector<RoutineRow>& rows, size_t first, size_t last);
// By module, each module's rows in the order they had (a build numbers its
// routines module by module: the rows mostly come so already).
void groupByModule(std::vector<RoutineRow>& rows);
// By module, then name, as routinesByModuleAndName gives them.
void sortByModuleAndName(std::vector<RoutineRow>& rows);

// Whether td_rout is the table a build makes, with its name collation and
// its one index: its rows then sort in memory exactly as the store's own
// ORDER BY would sort them.
bool routineTableAsBuilt(WorkingStore& store);

// td_rout read in the table's own order (no index: rowid order), with what
// the sort and the store's check need to know of the values' kinds, which a
// RoutineRow no longer tells: the check reads the rows in the same pass.
struct RoutineScan {
    std::vector<RoutineRow> rows;  // only when the names were read
    // Module numbers are integers, names texts, first lines integers from 1
    // or NULL (which the index puts first, as 0 sorts here).
    bool sortable = true;
    // Every routine belongs to a module of moduleLines and its lines lie
    // within the module's, by the same rules as the store check's query.
    bool linesFit = true;
};
// moduleLines[m]: the lines of module m (index 0 unused); empty: the lines are not checked.
// routines: the rows the table holds, when known, so that they are kept without moving.
RoutineScan scanRoutines(WorkingStore& store, bool withNames, const std::vector<qint64>& moduleLines,
                         qint64 routines = 0);

// td_mod in the order of modulesByTypeAndName, sorted here rather than by
// the store. Only where the order is certain: every type an integer, every
// name a text, and no two names of one type alike (the store leaves the
// order of such a pair open); nullopt otherwise, and the store sorts.
std::optional<std::vector<ModuleRow>> modulesSortedHere(WorkingStore& store);

}  // namespace lumo
