#pragma once
// Connects caret positions in a code view with the line ranges of the
// routines in td_rout. Line numbers are 1-based; positions and lines of
// positions follow TextView (0-based, a line break counts twice).
#include <optional>

#include <QString>

namespace lumo {

class TextView;
struct RoutineRow;
class Ui;
class WorkingStore;

// Caret at the start of line `line`, first word selected. Finds the line by
// bisection over positions, asking the view only for the line of a position,
// so a long module costs about log2(length) questions. A line beyond the end
// leaves the caret at the end of the text.
void goToLine(TextView& view, int line);

// Caret to the start of its line, first word selected (an indented line gets
// an empty selection at its start).
void markLineStart(TextView& view);

// goToLine to the first line of routine `routineNumber`; nothing when the
// store has no such routine. Throws StoreError.
void goToRoutine(TextView& view, WorkingStore& store, int routineNumber);

// Shows in `zoom` the routine of module `moduleNumber` that covers `line`,
// or, for a line outside every routine, the declarations before the first
// routine. Failures go to the user as a plain message and leave `zoom` as
// it was. Returns true when the zoom view was filled.
bool zoomToRoutine(TextView& code, TextView& zoom, WorkingStore& store, int moduleNumber, int line, Ui& ui);

struct RoutineHit {
    QString name;
    int number = 0;
    int type = 0;  // rou_typ
    int open = 0;  // rou_open
};

// The routine of module `moduleNumber` covering `line`, if any. Throws StoreError.
std::optional<RoutineHit> routineAtLine(WorkingStore& store, int line, int moduleNumber);

// The name for the status panel "Routine": the covering routine's name, or "".
QString routineNameAtLine(WorkingStore& store, int line, int moduleNumber);

// The module number in a node key "M12" (the number after the first character).
int keyNumber(const QString& key);

struct RoutineLookup {
    int result = 0;         // 0 not usable, 1 private routine, 2 any other visibility
    int routineNumber = 0;
};

// Where the caller search looks for the callers of routine `asked`: nowhere
// for a property, only in its module for a Private routine, in every
// module otherwise.
enum class CallerScope { Refused, OwnModule, AllModules };
CallerScope callerScope(const RoutineRow& asked);

// Looks a routine of module `moduleNumber` up by name for the caller search.
// Tells the user why when it cannot be used.
RoutineLookup routineByName(WorkingStore& store, const QString& name, int moduleNumber, Ui& ui);

// Remembers the line last reported to the panel "Routine", so that moving the
// caret within one line does not ask the store again.
class CaretTracker {
public:
    // The caret's line when it differs from the one reported last (and
    // remembers it); nothing otherwise, or when no code is shown.
    std::optional<int> changedLine(const TextView& view, bool codeShown);
    // After a jump: the caret's line becomes the reported one, whatever it was.
    int take(const TextView& view);
    void reset() { lastStatusLine_ = -1; }
    int lastStatusLine() const { return lastStatusLine_; }

private:
    int lastStatusLine_ = -1;
};

}  // namespace lumo
