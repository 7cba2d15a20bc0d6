#include "cli/ProjectFolder.h"

#include <QDir>

#include "base/AppState.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "model/CodeDatabase.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

bool openProjectFolder(const QString& folder, int moduleNumber, int& moduleCountOut) {
    initCliState();
    appState().workFolder = QDir(folder).absolutePath() + QLatin1Char('/');
    WorkingStore& store = WorkingStore::instance();
    try {
        store.openWorkingDatabase();
        moduleCountOut = moduleCount(store);
    } catch (const std::exception& e) {
        printError(QString::fromUtf8(e.what()));
        return false;
    }
    if (moduleNumber < 1 || moduleNumber > moduleCountOut) {
        printError(QStringLiteral("Modul %1 gibt es in %2 nicht").arg(moduleNumber).arg(appState().workFolder));
        return false;
    }
    return true;
}

}  // namespace lumo::cli
