#pragma once
// Modules exported from the VBA editor (.bas, .cls, .frm): a folder of them
// is one project named after the folder, a single file a project of one.
#include <QString>

#include "acquire/VbaProjectData.h"

namespace lumo {

// True for the file kinds the editor exports (.bas, .cls, .frm).
bool isExportedModuleFile(const QString& path);

struct ReadBudget;

// Throws ReadError (German reason) when nothing can be read, or when the
// module files together pass what is left of budget (a fresh one when not
// given). Folders are searched below as well, modules in the order of their
// relative paths; links to folders are named, not followed.
VbaProjectData readExportedFolder(const QString& folder);
VbaProjectData readExportedFolder(const QString& folder, ReadBudget& budget);
VbaProjectData readExportedFile(const QString& path);
VbaProjectData readExportedFile(const QString& path, ReadBudget& budget);

}  // namespace lumo
