#include "navigate/Definition.h"

#include <algorithm>

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/TextOperations.h"
#include "model/WorkingStore.h"
#include "navigate/NameUses.h"
#include "navigate/RoutineHistory.h"
#include "navigate/RoutineLocation.h"
#include "view/CodeWindow.h"
#include "view/TextView.h"

namespace lumo {

QString zoomRefusal() {
    return QStringLiteral("Steht im Zoom Modus nicht zur Verfügung");
}

namespace {

// The declaration a module offers for the name: a routine before anything
// else, otherwise the first by line. `from`..`to` are the module's declarations.
template <class It>
It preferred(It from, It to) {
    const It routine =
        std::find_if(from, to, [](const Declaration& d) { return d.kind == DeclarationKind::Routine; });
    return routine != to ? routine : from;
}

QString kindText(DeclarationKind kind) {
    switch (kind) {
    case DeclarationKind::Module: return QStringLiteral("Modul");
    case DeclarationKind::Routine: return QStringLiteral("Routine");
    case DeclarationKind::Constant: return QStringLiteral("Konstante");
    case DeclarationKind::Enum: return QStringLiteral("Enum");
    case DeclarationKind::EnumMember: return QStringLiteral("Enum-Wert");
    case DeclarationKind::Type: return QStringLiteral("Typ");
    case DeclarationKind::Event: return QStringLiteral("Ereignis");
    case DeclarationKind::Variable: return QStringLiteral("Variable");
    case DeclarationKind::Parameter: return QStringLiteral("Parameter");
    case DeclarationKind::LocalVariable: return QStringLiteral("lokale Variable");
    case DeclarationKind::LocalConstant: return QStringLiteral("lokale Konstante");
    }
    return {};
}

}  // namespace

std::vector<DefinitionTarget> definitionCandidates(WorkingStore& store, const QString& name, int moduleNumber) {
    return definitionCandidates(DeclarationIndex::ofName(store, name), name, moduleNumber);
}

std::vector<DefinitionTarget> definitionCandidates(const DeclarationIndex& index, const QString& name,
                                                   int moduleNumber) {
    std::vector<Declaration> found = index.named(name);
    auto target = [&index](const Declaration& d) {
        return DefinitionTarget{d.module, index.moduleName(d.module), d.line, d.kind};
    };
    std::vector<DefinitionTarget> own;
    std::vector<DefinitionTarget> routines;
    std::vector<DefinitionTarget> modules;
    std::vector<DefinitionTarget> others;
    // Elsewhere only what other modules may see.
    std::erase_if(found, [moduleNumber](const Declaration& d) { return d.module != moduleNumber && !d.isPublic; });
    for (auto from = found.begin(); from != found.end();) {
        const auto to = std::find_if(from, found.end(), [from](const Declaration& d) { return d.module != from->module; });
        const Declaration& d = *preferred(from, to);
        if (d.module == moduleNumber) own.push_back(target(d));
        else if (d.kind == DeclarationKind::Routine) routines.push_back(target(d));
        else if (d.kind == DeclarationKind::Module) modules.push_back(target(d));
        else others.push_back(target(d));
        from = to;
    }
    for (const auto* more : {&routines, &modules, &others}) own.insert(own.end(), more->begin(), more->end());
    return own;
}

std::vector<DefinitionTarget> definitionTargets(const ProjectScope& scope, const Resolution& resolution,
                                                int moduleNumber) {
    std::vector<DefinitionTarget> out;
    if (resolution.kind == UseKind::NotAName) return out;
    std::vector<Declaration> found = resolution.targets;
    std::stable_sort(found.begin(), found.end(), [moduleNumber](const Declaration& a, const Declaration& b) {
        const bool ownA = a.module == moduleNumber;
        const bool ownB = b.module == moduleNumber;
        if (ownA != ownB) return ownA;
        return a.module < b.module;
    });
    for (auto from = found.begin(); from != found.end();) {
        const auto to = std::find_if(from, found.end(), [from](const Declaration& d) { return d.module != from->module; });
        const Declaration& d = *preferred(from, to);
        const ModuleRow* m = scope.module(d.module);
        out.push_back({d.module, m ? m->name : QString(), d.line, d.kind});
        from = to;
    }
    return out;
}

std::optional<DefinitionTarget> definitionOf(WorkingStore& store, const QString& name, int moduleNumber) {
    std::vector<DefinitionTarget> all = definitionCandidates(store, name, moduleNumber);
    if (all.empty()) return std::nullopt;
    return all.front();
}

QString definitionLabel(const DefinitionTarget& target) {
    return QStringLiteral("%1, Zeile %2 (%3)").arg(target.moduleName).arg(target.line).arg(kindText(target.kind));
}

namespace {

// The candidates for the name under the caret (line 1-based, column of the
// caret 1-based), as the resolver binds it there; `offer` says whether the
// user must choose among several. Where the module's text cannot be read
// the name is looked up as the module sees it.
std::vector<DefinitionTarget> candidatesAt(WorkingStore& store, const QString& name, int module, int line,
                                           int column, bool& offer) {
    ProjectScope& scope = projectScopeOf(store);
    if (line > 0 && !scope.text(module).isEmpty()) {
        NameResolver resolver(scope);
        const Resolution r = resolver.resolveAt(module, line, column);
        if (r.length > 0) {
            std::vector<DefinitionTarget> found = definitionTargets(scope, r, module);
            // A member of an object of unknown class may be any class's:
            // the own class's is no better a guess than another's.
            offer = found.size() > 1 && (r.objectMember || found.front().moduleNumber != module);
            return found;
        }
    }
    std::vector<DefinitionTarget> found = definitionCandidates(store, name, module);
    offer = found.size() > 1 && found.front().moduleNumber != module;
    return found;
}

bool jumpToDefinition(CodeWindow& window, WorkingStore& store, const QString& name, int line, int column, Ui& ui) {
    std::vector<DefinitionTarget> candidates;
    bool offer = false;
    try {
        candidates = candidatesAt(store, name, window.currentModule() + 1, line, column, offer);
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()));
        return false;
    }
    if (candidates.empty()) {
        ui.message(QStringLiteral("Bezeichner unter Cursor nicht erkannt"));
        return false;
    }
    std::size_t pick = 0;
    // The shown module's own declaration is the one VBA itself would bind;
    // among several elsewhere only the user knows which one is meant.
    if (offer) {
        QStringList entries;
        for (const DefinitionTarget& t : candidates) entries << definitionLabel(t);
        const std::optional<int> chosen = window.chooseAtCaret(QStringLiteral("Definition: ") + name, entries);
        if (!chosen || *chosen < 0 || *chosen >= int(candidates.size())) return false;
        pick = std::size_t(*chosen);
    }
    const DefinitionTarget* target = &candidates[pick];
    // Only a routine names the panel; a local stands in the routine shown,
    // every other declaration outside the routines.
    const bool local = target->kind == DeclarationKind::Parameter || target->kind == DeclarationKind::LocalVariable ||
                       target->kind == DeclarationKind::LocalConstant;
    const QString routine = target->kind == DeclarationKind::Routine ? name
                            : local                                  ? window.panelText(PanelRoutine)
                                                                     : QString();
    if (target->moduleNumber == window.currentModule() + 1) {
        goToLine(window.visibleView(), target->line);
        window.highlightModuleNode();  // the tree follows to the routine
        window.setPanelText(PanelRoutine, routine);
        return true;
    }
    window.showModule(target->moduleNumber - 1);
    goToLine(window.visibleView(), target->line);
    window.setPanelText(PanelModule, target->moduleName);
    window.highlightModuleNode();
    window.setPanelText(PanelRoutine, routine);
    return true;
}

}  // namespace

bool findDefinition(CodeWindow& window, WorkingStore& store, const QString& name, Ui& ui) {
    return jumpToDefinition(window, store, name, 0, 0, ui);
}

void definitionCommand(CodeWindow& window, RoutineHistory& history, WorkingStore& store, Ui& ui) {
    if (window.zoomOn()) {
        ui.message(zoomRefusal(), {}, MsgIcon::Information);
        return;
    }
    TextView& view = window.visibleView();
    const int pos = view.selStart();
    const QString name = wordAtCaret(view.text(), pos);
    const HistoryMark asked = caretMark(window, history);
    const QString text = view.text();
    const qsizetype lineStart = pos > 0 ? text.lastIndexOf(u'\n', pos - 1) + 1 : 0;
    const int line = view.lineOfPosition(pos) + 1;
    const int column = int(pos - lineStart) + 1;
    if (!name.isEmpty() && jumpToDefinition(window, store, name, line, column, ui)) {
        // Going back returns to where the lookup was asked for.
        recordJump(window, history, asked);
        selectNameOnCaretLine(window, store, name);
    }
    window.focusVisibleView();
}

}  // namespace lumo
