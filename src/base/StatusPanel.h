#pragma once
// The five panels of the window's status bar, numbered as the form numbered
// them. Whoever writes to a panel (the build, the exports, navigation)
// names it by this enum.

namespace lumo {

enum StatusPanel : int { PanelModule = 1, PanelRoutine = 2, PanelBack = 3, PanelNext = 4, PanelOperation = 5 };

}  // namespace lumo
