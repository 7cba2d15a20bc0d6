#pragma once
// "Prüfen" in the window: the findings of the shown project as hits of the
// hit panel, each pointing at its place in its module's code view.
#include <vector>

#include "navigate/Checks.h"
#include "navigate/SearchHits.h"

namespace lumo {

class CodeWindow;
class Ui;
class WorkingStore;

// A finding as a hit: module index, line, the place in the view's text
// (lines joined with CR LF) and "[stufe] regel: Meldung" as its text.
SearchHit hitOfFinding(const Finding& f, const QString& moduleText);

// The command: every finding of the project open in `store` with the rules
// at their defaults. Refused in the zoom view as the search is; without a
// finding the user is told so and the list is empty.
std::vector<SearchHit> checkCommand(CodeWindow& window, WorkingStore& store, Ui& ui);

}  // namespace lumo
