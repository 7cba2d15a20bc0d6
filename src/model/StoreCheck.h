#pragma once
// The check of a stored project before anything reads it. Every reader
// trusts what a build writes; a store from elsewhere (damaged, edited,
// hostile) is refused with the reason in German instead.
#include <vector>

#include <QString>

#include "model/CodeDatabase.h"
#include "model/StoreOrder.h"

namespace lumo {

class WorkingStore;

// Every module and routine of a store, in the order of the trees that show
// them: what a window showing the whole project reads once.
struct ProjectRows {
    std::vector<ModuleRow> modules;    // as modulesByTypeAndName gives them
    std::vector<RoutineRow> routines;  // as routinesByModuleAndName gives them, but see namesSorted
    // False: each module's routines still come in the table's order, for
    // sortModuleRoutines to put in name order when they are needed (most
    // modules of a large project never are).
    bool namesSorted = true;
};

// Why the open store cannot be one a build wrote, in German; empty when it
// can. td_mod and td_rout are tables (a view in their place could run for
// ever), modules are numbered 1, 2, ... without gaps, routines with distinct
// numbers from 1 on (gaps allowed), both within what the numbering allows,
// every routine belongs to a module and its lines lie within the module's, and the module texts are together within
// kMaxStoredText. `rows`, when given, receives every module and routine as
// the check read them (untouched when the store is damaged).
// The module texts: by default only their sizes, as any file that is one
// counts (its reader refuses the rest and names it); a window that shows
// every module wants each a regular file of the project's own (a link could
// lead out of the folder, to a pipe or a device).
enum class TextCheck { Sizes, OwnRegularFiles };
QString storeDamage(WorkingStore& store, ProjectRows* rows = nullptr, TextCheck texts = TextCheck::Sizes);

}  // namespace lumo
