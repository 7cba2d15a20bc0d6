#pragma once
// Which lines of a module VBA may compile: the branches of #If, #ElseIf and
// #Else, each with the condition that takes it. "check" asks whether a line
// is compiled by an Office with VBA7 (every Office since 2010, the 64-bit
// ones among them) for some value of the other constants (Mac, Win64, ...;
// a #Const of the module counts with its value).
#include <vector>

#include "navigate/CodeLines.h"

namespace lumo {

class CompileBranches {
public:
    explicit CompileBranches(const CodeLines& code);
    // False only where no setting with VBA7 compiles the line; true where
    // that cannot be told (a condition this reader does not understand).
    bool compiledUnderVba7(int line) const;
    // Whether the line lies inside some #If at all.
    bool conditional(int line) const { return line >= 1 && line <= int(pathOf_.size()) && pathOf_[size_t(line) - 1] > 0; }

private:
    struct Term {
        QString condition;  // as written between #If / #ElseIf and Then
        bool negated = false;
    };
    std::vector<std::vector<Term>> paths_;  // [0]: outside every #If
    std::vector<int> pathOf_;               // per line
    std::vector<std::pair<QString, int>> constants_;  // #Const
};

}  // namespace lumo
