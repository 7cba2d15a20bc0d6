#include "app/widgets/WindowNavigation.h"

#include <QLabel>

#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "model/WorkingStore.h"
#include "navigate/CallSites.h"
#include "navigate/Callers.h"
#include "navigate/Definition.h"
#include "view/CodeWindow.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

namespace lumo {

namespace {

Ui& ui() { return *appState().ui; }

WorkingStore& store() { return WorkingStore::instance(); }

}  // namespace

WindowNavigation::WindowNavigation(CodeWindow& window, CodeArea& code, Trees& trees, StatusPanels& panels,
                                   CommandBar& commands, std::function<bool()> codeShown)
    : window_(window), code_(code), trees_(trees), panels_(panels), commands_(commands),
      codeShown_(std::move(codeShown)) {}

bool WindowNavigation::run(Command command, int index) {
    switch (command) {
    case Command::Definition: definitionCommand(); return true;
    case Command::Callers: callersCommand(); return true;
    case Command::CloseCallers: closeCallerResult(); return true;
    case Command::RoutineBack:
    case Command::RoutineNext: statusPanelClick(StatusPanel(index)); return true;
    default: return false;
    }
}

void WindowNavigation::reset() {
    window_.setHistoryEnabled(false, false);
    caret_.reset();
    history_.reset();
}

// ---------------------------------------------------------------------------
// Jumps from the trees

void WindowNavigation::nodeSelection(QTreeWidgetItem* item) {
    ModuleTreeState& state = trees_.state();
    if (state.ignoreNextNodeClick) {
        state.ignoreNextNodeClick = false;
        return;
    }
    if (!item || !codeShown_()) return;
    const QString key = KeyedTree::keyOf(item);
    try {
        if (const auto site = callSiteOfKey(key); site && item->parent()) {
            showCallSite(item, site->first, site->second);
        } else if (!item->parent()) {
            const int n = keyNumber(key);
            if (n - 1 != code_.current()) window_.showModule(n - 1);
            panels_.setText(PanelModule, item->text(0));
            trees_.highlightModule(code_.current());
            panels_.setText(PanelRoutine, QString());
            code_.visibleView()->setSelStart(0);
        } else {
            const int n = keyNumber(KeyedTree::keyOf(item->parent()));
            if (n - 1 != code_.current()) window_.showModule(n - 1);
            goToRoutine(*code_.visibleView(), store(), keyNumber(key));
            panels_.setText(PanelModule, item->parent()->text(0));
            trees_.highlightModule(code_.current());
            panels_.setText(PanelRoutine, item->text(0));
            followShownCode();  // a caller tree's node: the project tree follows
            pushHistory(window_, history_);
        }
    } catch (const std::exception& e) {
        ui().message(QString::fromUtf8(e.what()));
    }
    code_.refreshZoomAndFocus();
}

void WindowNavigation::showCallSite(QTreeWidgetItem* item, int moduleNumber, int line) {
    if (moduleNumber < 1 || moduleNumber > trees_.state().moduleCount) return;
    const HistoryMark left = caretMark(window_, history_);
    if (moduleNumber - 1 != code_.current()) window_.showModule(moduleNumber - 1);
    goToLine(*code_.visibleView(), line);
    const QTreeWidgetItem* moduleNode = item->parent()->parent();
    panels_.setText(PanelModule,
                    moduleNode ? moduleNode->text(0) : trees_.projectTree()->nodeText(moduleKey(moduleNumber)));
    trees_.highlightModule(code_.current());
    panels_.setText(PanelRoutine, item->parent()->text(0));
    followShownCode();
    lumo::recordJump(window_, history_, left);
}

// ---------------------------------------------------------------------------
// Definition and callers

void WindowNavigation::definitionCommand() {
    if (!codeShown_()) return;
    lumo::definitionCommand(window_, history_, store(), ui());
}

void WindowNavigation::callersCommand() {
    if (!codeShown_()) return;
    const QString name = panels_.text(PanelRoutine);
    switch (lumo::callersCommand(*trees_.callerTree(), store(), name, code_.current(), trees_.state().moduleCount,
                                 ui(), &callersRoutine_)) {
    case CallersOutcome::Stopped: return;
    case CallersOutcome::NoneFound: trees_.showNoCallers(); return;
    case CallersOutcome::Found:
        offerCallSites();
        trees_.showCallerResult(name);
        commands_.setEnabled(Command::CloseCallers, true);
        return;
    }
}

void WindowNavigation::offerCallSites() {
    // Found when a caller is first opened: all at once would double the
    // caller search on a large project, for lines the user may never open.
    for (QTreeWidgetItem* node : trees_.callerTree()->nodesInOrder())
        if (node->parent()) node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void WindowNavigation::callSitesOpened(QTreeWidgetItem* node) {
    if (!node->parent() || node->parent()->parent() || node->childCount() > 0) return;
    KeyedTree* tree = trees_.callerTree();
    const int module = keyNumber(KeyedTree::keyOf(node->parent()));
    tree->setRedraw(false);
    try {
        // The other callers of the module get theirs too, from the one reading.
        addCallSiteNodes(*tree, store(), callersRoutine_, module);
    } catch (const std::exception& e) {
        ui().message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
    }
    tree->setRedraw(true);
    if (node->childCount() == 0) node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void WindowNavigation::closeCallerResult() {
    // The project tree comes back only where it was the tree shown; after a
    // refresh the application tree stands in its place.
    trees_.closeCallerResult(codeShown_());
    commands_.setEnabled(Command::CloseCallers, false);
}

// ---------------------------------------------------------------------------
// History and the caret

void WindowNavigation::statusPanelClick(StatusPanel panel) {
    if (!codeShown_()) return;
    historyPanelClick(window_, history_, panel);
}

void WindowNavigation::recordJump(const std::function<void()>& jump) {
    if (!codeShown_() || !code_.visibleView()) {
        jump();
        return;
    }
    const HistoryMark left = caretMark(window_, history_);
    jump();
    if (code_.visibleView() && caretMark(window_, history_).place != left.place) lumo::recordJump(window_, history_, left);
}

void WindowNavigation::showRoutineAtLine(int line, int moduleNumber) {
    ++routineQueries_;
    try {
        panels_.setText(PanelRoutine, routineNameAtLine(store(), line, moduleNumber));
    } catch (const std::exception&) {
        panels_.setText(PanelRoutine, QString());
    }
}

void WindowNavigation::followShownCode() {
    const int module = code_.current();
    CodeView* view = code_.visibleView();
    if (!view) return;
    int routine = 0;
    try {
        if (const auto hit = routineAtLine(store(), view->lineOfPosition(view->selStart()) + 1, module + 1))
            routine = hit->number;
    } catch (const std::exception&) {
        // Without the store the module's node is still right.
    }
    trees_.revealShownCode(module, routine);
}

void WindowNavigation::trackCaret(int index) {
    CodeView* view = code_.view(index);
    if (!view) return;
    if (auto line = caret_.changedLine(*view, codeShown_())) showRoutineAtLine(*line + 1, index + 1);
}

void WindowNavigation::showCaretLocation() {
    const int module = code_.current();
    const int line = caret_.take(*code_.visibleView());
    showRoutineAtLine(line + 1, module + 1);
    panels_.setText(PanelModule, trees_.projectTree()->nodeText(moduleKey(module + 1)));
    trees_.highlightModule(module);
    followShownCode();
}

}  // namespace lumo
