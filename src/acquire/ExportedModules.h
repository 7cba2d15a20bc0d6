#pragma once
// Modules exported from the VBA editor (.bas, .cls, .frm): a folder of them
// is one project named after the folder, a single file a project of one.
#include <QString>

#include "acquire/VbaProjectData.h"

namespace lumo {

// True for the file kinds the editor exports (.bas, .cls, .frm).
bool isExportedModuleFile(const QString& path);

// Throws ReadError (German reason) when nothing can be read. Folders are
// searched below as well, modules in the order of their relative paths.
VbaProjectData readExportedFolder(const QString& folder);
VbaProjectData readExportedFile(const QString& path);

}  // namespace lumo
