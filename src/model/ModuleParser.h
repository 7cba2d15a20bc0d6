#pragma once
// The module parser: finds the routines and external declarations in tagged
// module text, numbers them and marks their head and End lines. It only
// searches lines for tagged keywords; strings, comments and line
// continuations were made harmless by the tagging pass before.
#include <vector>

#include <QString>

#include "base/Limits.h"
#include "base/Options.h"
#include "model/CodeDatabase.h"
#include "model/ParseError.h"

namespace lumo {

class WorkingStore;

inline constexpr int kAnchorLength = 12;

// One row of td_rout as the parser finds it.
using FoundRoutine = RoutineRow;

// A module taken apart: the text as stored, its routines in number order
// and its line count.
struct ParsedModule {
    QString text;
    std::vector<FoundRoutine> routines;
    int lineCount = 0;
};

// One pass for the tagged keyword of "Sub", "Function" or "Property" (as made
// by taggedKeyword) over the tagged text (which begins with the line break
// of the tagging pass). Draws routine numbers from routineCounter, records
// each head line in found, and puts start and end anchors, routine-line tags
// and the rle/rer blank lines and tabs into the text. A head that holds its
// own End after a colon is a whole routine (one anchor for both ends); a
// head met while the routine is open, after a conditional-compilation branch
// and no code or after an #Else or #ElseIf, is another head of that routine
// (tags only). Throws
// ParseError with the line counted in this text.
void parseRoutines(QString& text, const QString& keywordTag, const Options& options, qint32& routineCounter,
                   std::vector<FoundRoutine>& found);

// The display-only variant: routine-line tags, blank lines and tabs, but no
// numbers, anchors or names.
void tagRoutineLines(QString& text, const QString& keywordTag, const Options& options);

// The tagged text after the three passes becomes the stored text: the
// leading line break dropped, continuation, doubled-quote and escape tags
// undone, the anchors turned into the routines' start and end lines.
void finishModuleText(const QString& tagged, ParsedModule& module);

// The tagged fragment after the three passes as it is given back.
QString finishFragmentText(const QString& tagged);

// The whole module pipeline without the store. Throws ParseError naming the
// line of the module as given; routineCounter has then drawn numbers.
ParsedModule parseModule(const QString& code, const Options& options, qint32& routineCounter);

// For a module whose routines parseModule cannot split: the same pipeline,
// reading on past every head without name, End without head and head never
// closed; those are left in faults, in the order of their lines (the line of
// the module as the editor shows it), and every routine around them is
// kept. Throws ParseError only for what no reading on can mend (too many
// routines, indentation too deep).
ParsedModule parseModuleAsFarAsPossible(const QString& code, const Options& options, qint32& routineCounter,
                                        std::vector<ParseFault>& faults);

// The module's rows: its routines and the module itself, under
// store.moduleCounter, currentModuleName and currentModuleType.
void storeModule(const ParsedModule& module, WorkingStore& store);

}  // namespace lumo
