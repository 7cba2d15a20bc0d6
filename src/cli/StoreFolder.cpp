#include "cli/StoreFolder.h"

#include <QDir>
#include <QFileInfo>

#include "acquire/ProjectFiles.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

namespace {

const QString kDatabaseName = QStringLiteral("DivuRuvi.mdb");

bool ownsStoreFile(const QString& fileName) { return isStoreFileName(fileName); }

OutputWords storeWords() {
    return {QStringLiteral("In den Ordner %1 wird gerade ein anderes Projekt erzeugt (Prozess %2); bitte "
                           "warten Sie, bis das fertig ist."),
            QStringLiteral("Das neue Projekt kann nicht an die Stelle von %1 treten: %2."),
            QStringLiteral("Der Ordner %1 wurde während des Baus verändert; das neue Projekt tritt nicht an seine "
                           "Stelle. Bitte prüfen Sie den Ordner und erzeugen Sie das Projekt erneut.")};
}

}  // namespace

QString refusalToReplace(const QString& folder) {
    QString refusal;
    const QFileInfoList entries = outputFolderEntries(
        folder, QStringLiteral("%1 ist kein Ordner; das Projekt wird dort nicht angelegt."), refusal);
    if (!refusal.isEmpty() || entries.isEmpty()) return refusal;
    bool database = false;
    for (const QFileInfo& e : entries) {
        if (e.isSymLink() || !e.isFile() || !isStoreFileName(e.fileName()))
            return QStringLiteral("Der Ordner %1 enthält nicht nur ein Projekt von Code Lumo (etwa %2); er wird "
                                  "nicht überschrieben. Bitte geben Sie einen leeren oder neuen Ordner an.")
                .arg(folder, e.fileName());
        if (e.fileName() == kDatabaseName) database = true;
    }
    if (!database || !WorkingStore::holdsStoreTables(folder + QLatin1Char('/') + kDatabaseName))
        return QStringLiteral("Der Ordner %1 enthält keine Projektdatenbank %2 von Code Lumo; er wird nicht "
                              "überschrieben. Bitte geben Sie einen leeren oder neuen Ordner an.")
            .arg(folder, kDatabaseName);
    return {};
}

StoreFolderLock::StoreFolderLock(const QString& folder) : lock_(folder) {}
StoreFolderLock::~StoreFolderLock() = default;

bool StoreFolderLock::tryLock(QString* why) { return lock_.tryLock(storeWords().busy, why); }

void removeLeftovers(const QString& folder) { removeLeftoverBuilds(folder, ownsStoreFile); }

QString makeBuildFolder(const QString& folder, QString* why) { return newFolderBeside(folder, why); }

QString swapIn(const QString& built, const QString& folder) {
    return swapInBuilt(built, folder, ownsStoreFile, storeWords());
}

QString folderSnapshot(const QString& folder) { return lumo::folderSnapshot(folder); }

QString changedDuringBuild(const QString& folder) { return storeWords().changed.arg(folder); }

void removeStoreFolder(const QString& folder) { removeOwnFolder(folder, ownsStoreFile); }

}  // namespace lumo::cli
