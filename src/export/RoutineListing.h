#pragma once
// The structure listing's long form: the project's modules in the order of
// the project tree, each with its type, and below each its routines with
// kind, visibility and signature, one tab-separated line each, so that it
// reads as a table (and pastes into one).
//
//   Haupt<TAB>Allgemeines Modul
//   <TAB>Rechne<TAB>Function<TAB>Private<TAB>Rechne(ByVal x As Long, y) As Long
//
// Property Get, Let and Set are listed apart; the variants of an external
// declaration under #If (one row per branch in the store) appear once.
#include <QString>

namespace lumo {

class Ui;
class WorkingStore;

// Every line ends in CR LF. Throws StoreError.
QString routineListing(WorkingStore& store);

// "Sub", "Property Get", "Declare Function", ... by rou_typ; "Public",
// "Private", "Friend" by rou_open.
QString routineKindText(int routineType);
QString visibilityText(int visibility);

// The routine head from its name on: its lines joined as one, comments left
// out. `head` is the tagged text of the head's lines.
QString routineSignature(const QString& head, const QString& name);

// The command: the listing to the emptied clipboard; with meld the message
// of the structure listing, titled `title`. A store failure is told instead.
void routineListingToClipboard(WorkingStore& store, Ui& ui, bool meld, const QString& title);

}  // namespace lumo
