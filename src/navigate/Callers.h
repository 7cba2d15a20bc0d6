#pragma once
// "Aufrufe": every routine whose body names the routine of the caret. The
// stored module texts are searched with their tagged spans (keywords,
// comments, string literals, routine head and End lines) blanked out, so
// that only code can hold a reference.
#include <span>
#include <vector>

#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace lumo {

class NodeTree;
struct RoutineRow;
class Ui;
class WorkingStore;

// The spans of a tagged text from an opening tag to its matching end tag
// (the routine-line close tag for a routine-line tag, the close tag for the
// others), tags included, in text order. A span whose end tag is missing
// runs to the end of the text.
struct TaggedSpan {
    qsizetype begin = 0;
    qsizetype end = 0;  // one past the span's last character
};
std::vector<TaggedSpan> taggedSpans(QStringView tagged);

// The tagged text with its spans turned into spaces; everything else stays
// where it was. The search works on the spans directly; this is the text
// it behaves as if it searched.
QString blankTaggedSpans(const QString& tagged);

// The characters that make a name part of a longer one, so that an
// occurrence beside them is no reference: letters of either case (with
// Ä Ö Ü ä ö ü ß), digits and "_". The set as first written held only the
// lower-case letters and ";", which listed ExecuteInShell among the callers
// of Execute and missed `Debug.Print Foo;`.
bool isCallerIdentChar(QChar c);

// The routine the caller tree lists for `line` of a module whose routines
// are given in order of first line: the first whose lines hold it; nullptr
// outside every routine.
const RoutineRow* coveringRoutine(std::span<const RoutineRow> moduleRoutines, int line);

// The lines of one module that reference a name, ascending; a line with
// several references is listed once per reference.
struct ModuleReferences {
    int module = 0;
    std::vector<int> lines;
    QString text;  // the module text searched, where asked for
};
// The modules of the references found, in their order.
std::vector<int> moduleNumbersOf(const std::vector<ModuleReferences>& found);

class NameResolver;

// The calls of routine `routineNumber` (rou_num) that the resolver finds,
// as reference lines per module, by module: a use of another routine or a
// local of the same spelling, a function's return value inside it and a
// call qualified with another module are none.
std::vector<ModuleReferences> routineCalls(NameResolver& resolver, int routineNumber);

// Adds to `tree` the callers of routine `routineNumber`: a module node
// before the first call in that module and one node per routine holding
// calls. True when anything was added.
bool collectCallers(NodeTree& tree, WorkingStore& store, NameResolver& resolver, int routineNumber);

enum class CallersOutcome {
    Stopped,    // nothing to search for, or the routine cannot be searched (the user was told)
    NoneFound,  // the tree was cleared and stays empty
    Found,      // the tree holds the callers
};

// The command: `routineName` is the routine of the caret (the status panel),
// `currentModule` the 0-based index of the shown module. A Private routine
// is searched only in its module, every other one in all modules; each
// name found there counts as the resolver binds it.
// `searched` gets the rou_num of the routine whose callers were listed.
CallersOutcome callersCommand(NodeTree& tree, WorkingStore& store, const QString& routineName, int currentModule,
                              int moduleCount, Ui& ui, int* searched = nullptr);

}  // namespace lumo
