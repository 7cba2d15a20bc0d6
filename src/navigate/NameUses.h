#pragma once
// Every use of a declared name, as the resolver binds it: "Alle Verweise"
// (the declaration first, then every use by module and line, in the hit
// panel), the uses marked in the module shown, the hover's account of a name
// (its declaration and the comment block above it), and the name selected
// after a jump to its declaration or to a call.
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>
#include <QStringView>

#include "navigate/NameResolver.h"
#include "navigate/SearchHits.h"

namespace lumo {

class CodeWindow;
class TextView;
class Ui;
class WorkingStore;

// The caret of a view as the resolver counts places: line and column, 1-based.
struct CaretPlace {
    int line = 0;
    int column = 0;
};
CaretPlace caretPlace(const TextView& view);

// Line `line` of module `module` as the code view shows it (tags removed).
QString shownLineOf(ProjectScope& scope, int module, int line);

// Every reference of `targets` (one declared thing, or the Get, Let and Set
// of one property) as hits: the declaring places first, then every use by
// module and line. Module indexes are 0-based, positions found by column.
std::vector<SearchHit> referenceHits(NameResolver& resolver, const std::vector<Declaration>& targets);

struct ReferenceList {
    QString name;
    std::vector<SearchHit> hits;
};

// The command (Shift+F8): the name under the caret of the visible view, its
// references. Refused in the zoom view; a name that is no declared name of
// the project is told to the user; a member of an object of unknown class
// that several classes declare is offered to choose. Nothing when refused,
// told or dismissed.
std::optional<ReferenceList> allReferencesCommand(CodeWindow& window, WorkingStore& store, Ui& ui);

// The uses in module `module` of what the name at (line, column) means,
// its declaration among them when it is there; none for no declared name.
std::vector<NameReference> occurrencesAt(NameResolver& resolver, int module, int line, int column);

// What resting the mouse on a name shows.
struct HoverInfo {
    QString place;            // "Kunde, Zeile 5 (Routine)"
    QStringList comment;      // the comment block above the declaration
    QStringList declaration;  // its statement, continued lines included
};
std::optional<HoverInfo> hoverAt(ProjectScope& scope, int module, int line, int column);

// After a jump to line `line` of module `module`: its first use of `name`
// as a name is selected; without one the line's first word, as before.
void selectNameOnLine(TextView& view, ProjectScope& scope, int module, int line, QStringView name);
// The same on the caret's line of the visible view.
void selectNameOnCaretLine(CodeWindow& window, WorkingStore& store, QStringView name);

}  // namespace lumo
