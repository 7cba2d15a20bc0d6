#pragma once
// Opening the working store of a built project folder for a headless lookup.
#include <QString>

namespace lumo {
struct ProjectRows;
}

namespace lumo::cli {

// Opens the store in `folder` (a folder made by "build", or a stored
// project) and checks that module `moduleNumber` exists in it. Prints why
// not and returns false otherwise.
bool openProjectFolder(const QString& folder, int moduleNumber, int& moduleCountOut);

// Opens the store of AppState::workFolder for reading and checks it before
// use. Throws StoreError with the German reason (the folder named, in the
// window's words "ist nicht mehr intakt") when it cannot be read or is
// damaged; the store is then closed. `rows`, when given, receives the
// modules and routines the check read (a listing of them need not read
// them again).
void openStoredProject(ProjectRows* rows = nullptr);

}  // namespace lumo::cli
