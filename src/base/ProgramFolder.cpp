#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lumo {
namespace {

// Either file marks the folder: a folder with only one of them is still the
// one the program was shipped with, and the missing one is reported there.
const char* const kShippedFiles[] = {"mask_DivuRuvi.mdb", "Code Lumo.html"};

bool holdsShippedFile(const QString& folder) {
    for (const char* name : kShippedFiles)
        if (QFileInfo(QDir(folder).filePath(QString::fromUtf8(name))).isFile()) return true;
    return false;
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace

QString locateShippedFiles(const QString& executableFolder) {
    const QString beside = QDir::cleanPath(executableFolder);
    const QString installed = QDir::cleanPath(beside + QLatin1Char('/') + QLatin1String(kInstalledShareFolder));
    for (const QString& folder : {beside, installed})
        if (holdsShippedFile(folder)) return withSlash(folder);
    return withSlash(beside);
}

QString executableFolder() {
    const QString running = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    if (!running.isEmpty()) return QFileInfo(running).absolutePath();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

}  // namespace lumo
