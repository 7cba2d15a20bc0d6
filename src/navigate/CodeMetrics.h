#pragma once
// How large and how tangled code is, per routine and per module: lines,
// lines with code, lines with a comment, cyclomatic complexity (one plus
// each If, ElseIf, Case, For, loop condition and While) and the deepest
// nesting of blocks (If, For, Do, While, Select Case, With).
#include <vector>

#include "navigate/CodeLines.h"
#include "navigate/ShownLines.h"

namespace lumo {

struct Measures {
    int lines = 0;
    int codeLines = 0;
    int commentLines = 0;
    int complexity = 1;
    int nesting = 0;
    int deepestLine = 0;  // where the nesting is deepest (its block's first line)
};

// The measures of lines first..last (1-based) of a module.
Measures measureLines(const CodeLines& code, const std::vector<ShownLine>& shown, int first, int last);

}  // namespace lumo
