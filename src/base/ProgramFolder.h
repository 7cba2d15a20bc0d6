#pragma once
// Where the files shipped with the program (the template database and the
// help page) are found. A program run from its build folder has them beside
// the executable; an installed one has the executables in .../bin and the
// files in .../share/codelumo, because /usr/bin holds programs only.
#include <QString>

namespace lumo {

// The folder, relative to the executable's folder, that an installation
// puts the shipped files in.
inline constexpr const char* kInstalledShareFolder = "../share/codelumo";

// The first of the executable's folder and its installed share folder that
// holds a shipped file, with a trailing "/". When neither does, the
// executable's folder: the messages about the missing file then name the
// place a user would look first.
QString locateShippedFiles(const QString& executableFolder);

// The folder of the running executable, links resolved. The headless entry
// runs without an application object (its start costs about a millisecond
// a run), so the folder is asked of the system, not of Qt.
QString executableFolder();

}  // namespace lumo
