#pragma once
// The tagging from the escape tag to the undone widening as the chain of
// whole-text replacements it is defined as (one per keyword-list entry among
// them); the program's one scan (model/TagScanner.h) is held to it.
#include <QString>

namespace lumo::reference {

// wrapped: the text with a line break before and after, indented and without
// blank lines as the options ask.
QString tagWrapped(QString wrapped);

}  // namespace lumo::reference
