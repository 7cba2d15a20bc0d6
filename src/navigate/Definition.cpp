#include "navigate/Definition.h"

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/TextOperations.h"
#include "navigate/RoutineHistory.h"
#include "navigate/RoutineLocation.h"
#include "view/CodeWindow.h"
#include "view/TextView.h"

namespace lumo {

QString zoomRefusal() {
    return QStringLiteral("Steht im Zoom Modus nicht zur Verfügung");
}

std::optional<DefinitionTarget> definitionOf(WorkingStore& store, const QString& name, int moduleNumber) {
    if (const auto local = routineByNameInModule(store, name, moduleNumber)) {
        const auto module = moduleByNumber(store, moduleNumber);
        return DefinitionTarget{moduleNumber, module ? module->name : QString(), local->start};
    }
    const std::vector<RoutineInModule> rows = publicRoutinesByName(store, name);
    if (rows.empty()) return std::nullopt;
    // The first row, as the store gives them.
    const RoutineInModule& first = rows.front();
    return DefinitionTarget{first.routine.module, first.moduleName, first.routine.start};
}

bool findDefinition(CodeWindow& window, WorkingStore& store, const QString& name, Ui& ui) {
    std::optional<DefinitionTarget> target;
    try {
        target = definitionOf(store, name, window.currentModule() + 1);
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()));
        return false;
    }
    if (!target) {
        ui.message(QStringLiteral("Bezeichner unter Cursor nicht erkannt"));
        return false;
    }
    if (target->moduleNumber == window.currentModule() + 1) {
        goToLine(window.visibleView(), target->line);
        window.highlightModuleNode();  // the tree follows to the routine
        window.setPanelText(PanelRoutine, name);
        return true;
    }
    window.showModule(target->moduleNumber - 1);
    goToLine(window.visibleView(), target->line);
    window.setPanelText(PanelModule, target->moduleName);
    window.highlightModuleNode();
    window.setPanelText(PanelRoutine, name);
    return true;
}

void definitionCommand(CodeWindow& window, RoutineHistory& history, WorkingStore& store, Ui& ui) {
    if (window.zoomOn()) {
        ui.message(zoomRefusal(), {}, MsgIcon::Information);
        return;
    }
    TextView& view = window.visibleView();
    const int pos = view.selStart();
    const int askedIn = window.currentModule();
    const QString name = wordAtCaret(view.text(), pos);
    if (!name.isEmpty() && findDefinition(window, store, name, ui)) {
        // Going back returns to where the lookup was asked for, not to where
        // the current place was first entered. A place in another module (the
        // user changed modules through the tree since) keeps its position,
        // which this one would not fit.
        if (const auto place = history.currentPlace(); place && place->module == askedIn)
            history.rewriteCurrentPosition(pos);
        pushHistory(window, history);
        markLineStart(window.visibleView());
    }
    window.focusVisibleView();
}

}  // namespace lumo
