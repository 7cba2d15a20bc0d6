#include "base/AppState.h"

namespace lumo {

AppState& appState() {
    static AppState state;
    return state;
}

}  // namespace lumo
