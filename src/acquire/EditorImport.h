#pragma once
// Module files not written by the VBA editor (by hand, or by other tools)
// read as the editor imports them: it writes every keyword in its own
// spelling ("end function" becomes End Function) and gives a Sub, Function
// or Property head without a parameter list its "()". The tagging pass and
// the parser rely on both, as every document already holds them.
#include <QStringList>

namespace lumo {

// The code lines of a module file (strings, comments and their
// continuations are left alone); lines already in that form stay as they are.
QStringList asEditorImports(QStringList lines);

}  // namespace lumo
