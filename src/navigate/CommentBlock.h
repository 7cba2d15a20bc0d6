#pragma once
// The comment block directly above a line: the lines that end just before it
// and are nothing but comments. A routine's or a declaration's own account of
// itself is written there; jumps keep it in view and the hover shows it.
// Lines come from whoever holds them (the code view's text, the stored
// module text), one at a time and only as far up as the block goes.
#include <functional>

#include <QString>
#include <QStringList>
#include <QStringView>

namespace lumo {

// A line that holds a comment only: "' ..." or "Rem ..." after blanks.
bool isCommentLine(QStringView line);

// The first line of the comment block directly above line `line` (1-based),
// or `line` itself when the line before holds code or is blank. lineText(n)
// gives line n without its break; at most `maxLines` lines are looked at.
int commentBlockStart(const std::function<QString(int)>& lineText, int line, int maxLines = 200);

// The lines of that block, top down.
QStringList commentBlockAbove(const std::function<QString(int)>& lineText, int line, int maxLines = 200);

}  // namespace lumo
