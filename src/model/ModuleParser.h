#pragma once
// The module parser: finds the routines and external declarations in tagged
// module text, records them in the working store and marks their head and
// End lines. It only searches lines for tagged keywords; strings, comments
// and line continuations were made harmless by the tagging pass before.
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

// One pass for the tagged keyword of "Sub", "Function" or "Property" (as made
// by taggedKeyword). Draws routine numbers from store.routineCounter, inserts
// a td_rout row per head line, puts start and end anchors, routine-line tags
// and the rle/rer blank lines and tabs into the text. Throws ParseError or
// StoreError.
void parseRoutines(QString& text, const QString& keywordTag, const Options& options, WorkingStore& store);

// The display-only variant: routine-line tags, blank lines and tabs, but no
// numbers, anchors, names or rows.
void tagRoutineLines(QString& text, const QString& keywordTag, const Options& options);

// Turns the anchors into rou_start / rou_ende, removes them, closes the
// module's declarations and records the module row. text: the module text
// with its continuations restored and the leading line break dropped.
void storeModule(QString& text, WorkingStore& store);

}  // namespace lumo
