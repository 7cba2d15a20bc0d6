#include "cli/CliState.h"

#include "app/AppState.h"
#include "app/OptionsStore.h"
#include "app/StartUp.h"

namespace lumo::cli {

void initCliState() {
    initSharedState();
    loadOptions(appState().options);
}

}  // namespace lumo::cli
