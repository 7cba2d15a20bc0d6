#include "cli/ProjectFolder.h"

#include <QDir>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

void openStoredProject(ProjectRows* rows) {
    WorkingStore& store = WorkingStore::instance();
    const QString folder = appState().workFolder;
    QString damage;
    try {
        store.openWorkingDatabase(StoreAccess::ReadOnly);
        damage = storeDamage(store, rows);
    } catch (const StoreError& e) {
        damage = germanSystemText(QString::fromUtf8(e.what()));
    }
    if (damage.isEmpty()) return;
    store.closeWorkingDatabase();
    throw StoreError((QStringLiteral("Projekt in ") + folder + QStringLiteral("\nist nicht mehr intakt: ") + damage)
                         .toStdString());
}

bool openProjectFolder(const QString& folder, int moduleNumber, int& moduleCountOut) {
    if (!initCliState()) return false;
    appState().workFolder = QDir(folder).absolutePath() + QLatin1Char('/');
    WorkingStore& store = WorkingStore::instance();
    try {
        openStoredProject();
        moduleCountOut = moduleCount(store);
    } catch (const std::exception& e) {
        printError(germanSystemText(QString::fromUtf8(e.what())));
        return false;
    }
    if (moduleNumber < 1 || moduleNumber > moduleCountOut) {
        printError(QStringLiteral("Modul %1 gibt es in %2 nicht").arg(moduleNumber).arg(appState().workFolder));
        return false;
    }
    return true;
}

}  // namespace lumo::cli
