#pragma once
// The tagging from the escape tag to the undone widening as the chain of
// whole-text replacements it is defined as (one per keyword-list entry among
// them); the program's one scan (model/TagScanner.h) is held to it.
#include <QRegularExpression>
#include <QString>

namespace lumo::reference {

// wrapped: the text with a line break before and after, indented and without
// blank lines as the options ask.
// A line continues where continuation matches: "_" and the line break
// after a blank, as VBA reads it.
const QRegularExpression& continuationAfterBlank();
QString tagWrapped(QString wrapped, const QRegularExpression& continuation = continuationAfterBlank());

}  // namespace lumo::reference
