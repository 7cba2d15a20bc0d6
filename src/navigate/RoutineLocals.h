#pragma once
// The names one routine declares for itself: the parameters of its head and
// what its Dim, Static, Const and ReDim statements declare. They hide every
// module-level or public name of the same spelling inside the routine.
#include <vector>

#include "navigate/CodeLines.h"
#include "navigate/Declarations.h"

namespace lumo {

struct RoutineRow;

struct LocalName {
    Declaration declaration;  // kind Parameter, LocalVariable or LocalConstant; line of the name
    int column = 0;           // 1-based column of the name
    bool byReDim = false;     // only a ReDim names it: a module-level array of the name wins
};

// The parameters of routine `r` (from its head lines) and, for routines
// with a body, its local declarations, in text order.
std::vector<LocalName> routineLocals(const CodeLines& code, const RoutineRow& r);

// The last line of routine `r`'s body (its End line, or its last head line
// for a routine without an End line).
int routineLastLine(const RoutineRow& r);

}  // namespace lumo
