#pragma once
// A comparison of two projects as text: for each changed module its
// changes, for each added, removed or changed routine (and the declarations
// part) a unified diff whose hunk headers name the routine; or counts only.
#include <QString>

#include "export/ProjectDiff.h"

namespace lumo {

// The report with "--- oldLabel" and "+++ newLabel" above it; lines end in LF.
QString diffReport(const ProjectDiff& diff, const QString& oldLabel, const QString& newLabel);
// One line per changed module with its counts, then the totals.
QString diffStat(const ProjectDiff& diff);

// "geändert", "hinzugefügt", "entfernt".
QString changeWord(Change change);
// "@@ -1,3 +1,4 @@ Sub Name"
QString hunkHeader(const DiffHunk& hunk, const QString& label);

}  // namespace lumo
