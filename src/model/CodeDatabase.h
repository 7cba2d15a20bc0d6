#pragma once
// Every statement on the two tables of the working store, as named
// functions. Nothing else in the program writes SQL on them but the check of
// a stored project (StoreCheck.h) and the store's order worked out in memory
// (StoreOrder.h), which read them.
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
