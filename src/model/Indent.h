#pragma once
// The indentation formatter: throws away the existing indentation and gives
// every line as many tabs as the block statements above it call for. One
// forward pass with a running level; it looks only at the first words of a
// line (and, for If lines, at a trailing comment).
#include <QString>
#include <QStringView>

namespace lumo {

// text: lines separated by CR LF, ending with CR LF (the tagging pass wraps
// the module in line breaks first). Tabs are removed everywhere.
QString indentText(const QString& text);

// A tab before the underscore of a line continuation is the blank that makes
// it one; where removing the tabs would glue the underscore to a word, the
// last of them becomes a space.
void keepContinuationBlanks(QString& text);

// Level bookkeeping of one run; exposed for the tests of the block table.
struct IndentState {
    int level = 0;    // may become negative
    int outdent = 0;  // the current line gets level - outdent tabs
};

// Applies the block table to one line with its leading spaces removed.
void indentStep(IndentState& state, QStringView line);

}  // namespace lumo
