#pragma once
// The module parser: finds the routines and external declarations in tagged
// module text, numbers them and marks their head and End lines. It only
// searches lines for tagged keywords; strings, comments and line
// continuations were made harmless by the tagging pass before.
#include <vector>

#include <QString>

#include "app/Options.h"

namespace lumo {

class WorkingStore;

enum RoutineType {
    RouSub = 1,
    RouFunction = 2,
    RouPropertyLet = 3,
    RouPropertyGet = 4,
    RouPropertySet = 5,
    RouDeclareSub = 11,
    RouDeclareFunction = 12,
};

enum Visibility { OpenPublic = 1, OpenPrivate = 2, OpenFriend = 3 };

// Routine numbers travel in 12-character anchors with 8 digits.
inline constexpr qint32 kMaxRoutineNumber = 99999999;
inline constexpr int kAnchorLength = 12;

// One row of td_rout.
struct FoundRoutine {
    qint32 number = 0;
    int type = 0;
    int visibility = OpenPublic;
    int headLines = 1;  // physical lines of the head (anz_dec_zeilen)
    QString name;
    int start = 0;      // 1-based line of the head; 0 until the anchors are read
    int end = 0;        // 1-based last line; 0 when the routine has no End line
};

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
// and the rle/rer blank lines and tabs into the text. Throws ParseError.
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

// The whole module pipeline without the store. Throws ParseError.
ParsedModule parseModule(const QString& code, const Options& options, qint32& routineCounter);

// The module's rows: its routines and the module itself, under
// store.moduleCounter, currentModuleName and currentModuleType.
void storeModule(const ParsedModule& module, WorkingStore& store);

}  // namespace lumo
