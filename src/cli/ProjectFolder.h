#pragma once
// Opening the working store of a built project folder for a headless lookup.
#include <QString>

namespace lumo::cli {

// Opens the store in `folder` (a folder made by "build", or a stored
// project) and checks that module `moduleNumber` exists in it. Prints why
// not and returns false otherwise.
bool openProjectFolder(const QString& folder, int moduleNumber, int& moduleCountOut);

}  // namespace lumo::cli
