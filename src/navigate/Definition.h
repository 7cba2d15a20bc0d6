#pragma once
// "Definition": from the identifier under the caret to where that name is
// declared: a routine, a module, a constant, an enumeration or one of its
// members, a type, an event or a module-level variable. A declaration of the
// shown module wins, whatever its visibility; then the declarations of every
// other module that are not Private.
#include <optional>
#include <vector>

#include <QString>

#include "navigate/Declarations.h"
#include "navigate/NameResolver.h"

namespace lumo {

class CodeWindow;
class RoutineHistory;
class Ui;
class WorkingStore;

struct DefinitionTarget {
    int moduleNumber = 0;  // 1-based
    QString moduleName;
    int line = 0;          // rou_start; 1 for a module's own name
    DeclarationKind kind = DeclarationKind::Routine;
};

// Every place `name` may be defined, seen from module `moduleNumber`, one
// per module: the shown module's own declaration first (a routine before
// anything else of that name), then the modules with a public routine of
// that name (the answer the routine lookup always gave), then the modules
// of that name (a class before a variable named after it), then those with
// another public declaration of it, each in module order. Empty when the
// name cannot be reached. Throws StoreError.
std::vector<DefinitionTarget> definitionCandidates(WorkingStore& store, const QString& name, int moduleNumber);
// The same from an index that holds (at least) every declaration of `name`,
// for many lookups over one reading of the project.
std::vector<DefinitionTarget> definitionCandidates(const DeclarationIndex& index, const QString& name,
                                                   int moduleNumber);

// Where the name resolved at a place may be defined, one per module (a
// routine before anything else of its module): the own module first, then
// the others in module order. A function's return value leads to the
// function; a name that is no name of the project to nothing.
std::vector<DefinitionTarget> definitionTargets(const ProjectScope& scope, const Resolution& resolution,
                                                int moduleNumber);

// The first of the candidates; nothing when there is none. Throws StoreError.
std::optional<DefinitionTarget> definitionOf(WorkingStore& store, const QString& name, int moduleNumber);

// "Kunde, Zeile 5 (Routine)": a candidate as the chooser lists it.
QString definitionLabel(const DefinitionTarget& target);

// Jumps to the definition of `name`: its module shown, the caret on its
// first line, the panels naming it. A declaration of the shown module is
// taken at once; several in other modules are offered to choose from. False
// when there is none (the user is told) or the choice was dismissed.
bool findDefinition(CodeWindow& window, WorkingStore& store, const QString& name, Ui& ui);

// The command (F8): refused in the zoom view; otherwise the word under the
// caret is looked up, and a jump is recorded in the history after the place
// it was asked from (recordJump), so that Back always leads there. The code view gets the focus in every case but the
// refusal.
void definitionCommand(CodeWindow& window, RoutineHistory& history, WorkingStore& store, Ui& ui);

// The information that Definition and both searches give in the zoom view.
QString zoomRefusal();

}  // namespace lumo
