#pragma once
// The last ten stored or opened projects: settings section "recent", keys
// "F0" (the most recent) to "F9", each the full path of a project folder
// with its trailing separator. The File menu shows the entries whose folder
// still exists, as "&" + k + " - " + folder name.
#include <QString>
#include <QStringList>

#include "base/Limits.h"

namespace lumo {

// The stored entries whose folder exists, in stored order; at most ten.
// Entries of vanished folders stay stored until the next addRecentProject.
QStringList recentProjectsShown();

// Puts folder at the top, as its absolute, clean path: the section is
// rewritten with it first, then the old entries at positions 0 to 8 that
// name another folder (spellings of the same folder, "a/./b" and "a/b/",
// count as one; letters compared with case) and whose folder still exists.
// Returns the new list.
QStringList addRecentProject(const QString& folder);

// The form an entry is stored in: absolute, clean, with the trailing
// separator. Relative paths are taken from the current folder.
QString recentFolderPath(const QString& folder);

// "&3 - Rechnung" for entry 3 of ".../Rechnung/".
QString recentCaption(int index, const QString& folder);

// The last component of a folder path, without its trailing separator.
QString folderName(const QString& folder);

}  // namespace lumo
