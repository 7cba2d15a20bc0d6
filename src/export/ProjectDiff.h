#pragma once
// Two versions of a VBA project compared as a reviewer reads them: modules
// matched by name (without regard to case, as VBA names them), inside a
// changed module the declarations part and the routines matched by kind and
// name, so that a routine moved within its module is no change. Each change
// carries the unified diff of its lines, numbered as the editor numbers the
// module's lines. A module without code (as the listing tells it) on one
// side only is no change: stored projects never hold one. The line comparison is dtl's (Debian libdtl-dev).
#include <vector>

#include <QString>

#include "acquire/VbaProjectData.h"

namespace lumo {

enum class Change { Added, Removed, Changed };

struct DiffLine {
    char mark = ' ';  // ' ' both, '-' old only, '+' new only
    QString text;
};

// "@@ -oldStart,oldCount +newStart,newCount @@ routine"; starts are 1-based
// line numbers of the module (0 with a count of 0: nothing on that side).
struct DiffHunk {
    int oldStart = 0, oldCount = 0, newStart = 0, newCount = 0;
    std::vector<DiffLine> lines;
};

struct PartDiff {
    Change change = Change::Changed;
    QString label;  // "Sub Name" (the new spelling where both have it) or "(Deklarationen)"
    bool declarations = false;
    std::vector<DiffHunk> hunks;
};

struct ModuleDiff {
    Change change = Change::Changed;
    QString oldName, newName;  // either empty when added or removed
    int oldType = 0, newType = 0;
    std::vector<PartDiff> parts;
    int linesAdded = 0, linesRemoved = 0;
    QString name() const { return newName.isEmpty() ? oldName : newName; }
};

struct ProjectDiff {
    std::vector<ModuleDiff> modules;  // those with a change, in the new project's order, removed ones last
    bool equal() const { return modules.empty(); }
};

struct DiffOptions {
    bool ignoreCase = false;  // identifiers whose case alone changed are no change (strings and comments still count)
};

ProjectDiff compareProjects(const VbaProjectData& before, const VbaProjectData& after, const DiffOptions& options = {});

// The German name of a component type ("Standardmodul", "Klassenmodul", ...).
QString componentTypeName(int type);

}  // namespace lumo
