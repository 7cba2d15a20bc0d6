#pragma once
// "Definition": from the identifier under the caret to the routine of that
// name. A routine of the shown module wins, whatever its visibility; then
// the routines of every module that are not Private.
#include <optional>

#include <QString>

namespace lumo {

class CodeWindow;
class RoutineHistory;
class Ui;
class WorkingStore;

struct DefinitionTarget {
    int moduleNumber = 0;  // 1-based
    QString moduleName;
    int line = 0;          // rou_start
};

// Where the definition of `name` lies, seen from module `moduleNumber`;
// nothing when no routine of that name can be reached. Throws StoreError.
std::optional<DefinitionTarget> definitionOf(WorkingStore& store, const QString& name, int moduleNumber);

// Jumps to the definition of `name`: its module shown, the caret on its
// first line, the panels naming it. False, after telling the user, when
// there is none.
bool findDefinition(CodeWindow& window, WorkingStore& store, const QString& name, Ui& ui);

// The command (F8): refused in the zoom view; otherwise the word under the
// caret is looked up, and a jump is recorded in the history after the place
// it was asked from. The code view gets the focus in every case but the
// refusal.
void definitionCommand(CodeWindow& window, RoutineHistory& history, WorkingStore& store, Ui& ui);

// The information that Definition and both searches give in the zoom view.
QString zoomRefusal();

}  // namespace lumo
