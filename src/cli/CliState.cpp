#include "cli/CliState.h"

#include "base/AppState.h"
#include "base/OptionsStore.h"
#include "base/Settings.h"
#include "base/StartUp.h"
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
