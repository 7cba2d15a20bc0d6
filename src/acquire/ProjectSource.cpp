#include "acquire/ProjectSource.h"

#include <QFileInfo>

#include "acquire/ExportedModules.h"
#include "acquire/OfficeReader.h"

namespace lumo {

VbaProjectData readProjectSource(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) throw ReadError(QStringLiteral("Die Datei oder der Ordner existiert nicht."));
    if (info.isDir()) return readExportedFolder(path);
    // A pipe or device would block the read or never end.
    if (!info.isFile()) throw ReadError(QStringLiteral("Das ist keine gewöhnliche Datei."));
    if (isExportedModuleFile(path)) return readExportedFile(path);
    return readOfficeFile(path);
}

}  // namespace lumo
