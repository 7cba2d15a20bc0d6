#pragma once
// The names one routine declares for itself: the parameters of its head and
// what its Dim, Static, Const and ReDim statements declare. They hide every
// module-level or public name of the same spelling inside the routine.
#include <vector>

#include <QStringView>

#include "navigate/CodeLines.h"
#include "navigate/Declarations.h"

namespace lumo {

struct RoutineRow;

struct LocalName {
    Declaration declaration;  // kind Parameter, LocalVariable or LocalConstant; line of the name
    int column = 0;           // 1-based column of the name
    bool byReDim = false;     // only a ReDim names it: a module-level array of the name wins
};

// The last line of routine `r`'s head (a head may go on over several lines).
int headLastLine(const CodeLines& code, const RoutineRow& r);
// The last line of routine `r` (its End line, or its last head line
// for a routine without an End line).
int routineLastLine(const RoutineRow& r);

// The parameters of routine `r`, in text order.
std::vector<LocalName> routineParameters(const CodeLines& code, const RoutineRow& r);
// The parameters and, for routines with a body, the local declarations, in text order.
std::vector<LocalName> routineLocals(const CodeLines& code, const RoutineRow& r);
// The same for one name only: just the statements where the name stands are read.
std::vector<LocalName> routineLocalsNamed(const CodeLines& code, const RoutineRow& r, QStringView name);

}  // namespace lumo
