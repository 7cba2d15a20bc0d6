#include "acquire/ProjectSource.h"

#include "base/FileHelpers.h"

#include "acquire/ExportedModules.h"
#include "acquire/OfficeReader.h"
#include "acquire/ReadBudget.h"

namespace lumo {

SourceKind classifySource(const QString& path) {
    const PathStatus status = pathStatus(path);
    if (status.brokenLink) throw ReadError(QStringLiteral("Die Verknüpfung zeigt auf eine Datei, die es nicht gibt."));
    if (!status.exists) throw ReadError(QStringLiteral("Die Datei oder der Ordner existiert nicht."));
    if (status.folder) return SourceKind::ModuleFolder;
    // A pipe or device would block the read or never end.
    if (!status.regularFile) throw ReadError(QStringLiteral("Das ist keine gewöhnliche Datei."));
    return isExportedModuleFile(path) ? SourceKind::ExportedModule : SourceKind::OfficeFile;
}

VbaProjectData readProjectSource(const QString& path) {
    ReadBudget budget;
    return readProjectSource(path, budget);
}

VbaProjectData readProjectSource(const QString& path, ReadBudget& budget) {
    switch (classifySource(path)) {
    case SourceKind::ModuleFolder: return readExportedFolder(path, budget);
    case SourceKind::ExportedModule: return readExportedFile(path, budget);
    case SourceKind::OfficeFile: break;
    }
    return readOfficeFile(path, budget);
}

}  // namespace lumo
