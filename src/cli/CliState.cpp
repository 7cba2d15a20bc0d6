#include "cli/CliState.h"

#include "app/AppState.h"
#include "app/OptionsStore.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "cli/ConsoleUi.h"

namespace lumo::cli {

bool initCliState() {
    initSharedState();
    const QString problem = settingsFileProblem();
    if (!problem.isEmpty()) {
        printError(problem);
        return false;
    }
    loadOptions(appState().options);
    return true;
}

}  // namespace lumo::cli
