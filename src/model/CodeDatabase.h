#pragma once
// Every statement on the two tables of the working store, as named
// functions. Nothing else in the program writes SQL on them.
//
//   td_mod: one row per module, in the order the modules were read
//   +---------+-----------+---------+------------+
//   | mod_num | mod_name  | mod_typ | mod_zeilen |
//   +---------+-----------+---------+------------+
//   mod_num     1, 2, ... within one build; unique
//   mod_name    the component's name (compares without regard to case)
//   mod_typ     ModuleType (model/Codes.h)
//   mod_zeilen  lines of the module text file; written, never read back
//
//   td_rout: one row per routine or external declaration
//   +---------+---------+----------+---------+----------+----------------+-----------+----------+
//   | rou_num | mod_num | rou_name | rou_typ | rou_open | anz_dec_zeilen | rou_start | rou_ende |
//   +---------+---------+----------+---------+----------+----------------+-----------+----------+
//   rou_num         1, 2, ... across all modules of one build; unique
//   mod_num         the module the routine belongs to
//   rou_name        without parameters (compares without regard to case)
//   rou_typ         RoutineType; a declaration is its kind + kDeclarationOffset
//   rou_open        Visibility
//   anz_dec_zeilen  physical lines of the head (1 without continuations)
//   rou_start       1-based line of the head in the module text file
//   rou_ende        1-based line of the End line; for a declaration
//                   rou_start + anz_dec_zeilen - 1; NULL (0 here) when the
//                   routine has no End line
//
// Every function binds its values as parameters and throws StoreError.
#include <optional>
#include <vector>

#include <QString>

#include "model/Codes.h"

namespace lumo {

class WorkingStore;

struct ModuleRow {
    int number = 0;
    QString name;
    int type = ModStandard;
    int lines = 0;
};

struct RoutineRow {
    qint32 number = 0;
    int type = 0;
    int visibility = OpenPublic;
    int headLines = 1;
    QString name;
    int start = 0;   // 0 while unknown
    int end = 0;     // 0 when the routine has no End line
    int module = 0;  // mod_num
};

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
// Puts rows [first, last), the routines of one module, in the order
// routinesByModuleAndName gives them.
void sortModuleRoutines(std::vector<RoutineRow>& rows, size_t first, size_t last);

// Why the open store cannot be one a build wrote, in German; empty when it
// can. Every reader trusts what a build writes, so a stored project is
// checked before use: td_mod and td_rout are tables (a view in their place
// could run for ever), modules and routines are numbered 1, 2, ... without
// gaps and within the counts the numbering allows, every routine belongs to
// a module and its lines lie within the module's, and the module texts are
// together within kMaxStoredText. `rows`, when given, receives every module
// and routine as the check read them (untouched when the store is damaged).
// The module texts: by default only their sizes, as any file that is one
// counts (its reader refuses the rest and names it); a window that shows
// every module wants each a regular file of the project's own (a link could
// lead out of the folder, to a pipe or a device).
enum class TextCheck { Sizes, OwnRegularFiles };
QString storeDamage(WorkingStore& store, ProjectRows* rows = nullptr, TextCheck texts = TextCheck::Sizes);
// Whether td_rout is the table a build makes, with its name collation and
// its one index: its rows then sort in memory exactly as the store's own
// ORDER BY would sort them.
bool routineTableAsBuilt(WorkingStore& store);

// One module with its routines, all under module.number.
void insertModule(WorkingStore& store, const ModuleRow& module, const std::vector<RoutineRow>& routines);

// By type code, then name: the order of the module tree.
std::vector<ModuleRow> modulesByTypeAndName(WorkingStore& store);
std::optional<ModuleRow> moduleByNumber(WorkingStore& store, int moduleNumber);
// Every module, by number.
std::vector<ModuleRow> modulesByNumber(WorkingStore& store);
int moduleCount(WorkingStore& store);

// Every routine, by module number, then name: the order of the routine nodes.
std::vector<RoutineRow> routinesByModuleAndName(WorkingStore& store);
// The routines of one module, in number order.
std::vector<RoutineRow> routinesOfModule(WorkingStore& store, int moduleNumber);
// The routines of modules first..last, by module, then first line, then
// number: within a module the order in which routineCoveringLine meets them.
// Head lines are not read (headLines stays 1).
std::vector<RoutineRow> routinesOfModulesByStart(WorkingStore& store, int firstModule, int lastModule);
// The same for the modules named (a search reads only the modules it found).
std::vector<RoutineRow> routinesOfModulesByStart(WorkingStore& store, const std::vector<int>& moduleNumbers);
std::optional<RoutineRow> routineByNumber(WorkingStore& store, int routineNumber);
// The routine of the module whose lines rou_start..rou_ende hold `line`.
std::optional<RoutineRow> routineCoveringLine(WorkingStore& store, int moduleNumber, int line);
// The first routine of that name in the module, any visibility.
std::optional<RoutineRow> routineByNameInModule(WorkingStore& store, const QString& name, int moduleNumber);
// The routines of that name in any module that are not Private, with their
// module's name; in the store's order.
struct RoutineInModule {
    RoutineRow routine;
    QString moduleName;
};
std::vector<RoutineInModule> publicRoutinesByName(WorkingStore& store, const QString& name);
// The routines of that name in every module, any visibility, by module,
// then first line, then number.
std::vector<RoutineRow> routinesNamed(WorkingStore& store, const QString& name);
// Per module that has any, the first line of its first Sub, Function or
// Property (external declarations not counted): module-level declarations
// stand above it. By module number.
struct ModuleLine {
    int module = 0;
    int line = 0;
};
std::vector<ModuleLine> firstProcedureLines(WorkingStore& store);
// The last line of the declarations part: the module's first routine line
// minus one; nothing when the module has no routines.
std::optional<int> declarationsEnd(WorkingStore& store, int moduleNumber);

}  // namespace lumo
