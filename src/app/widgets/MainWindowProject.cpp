// The project side of the main window: showing a built or stored project,
// the trees' node selection, and keeping the status panels on the caret.
#include <QApplication>

#include "app/widgets/CodeArea.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
#include "model/WorkingStore.h"
#include "navigate/CallSites.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/TreeFilter.h"

namespace lumo {

namespace {

// The hourglass for as long as a long operation runs, whatever way it ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

void MainWindow::fillCodeViews() {
    codeArea_->makeViews(trees_->state().moduleCount);
}

void MainWindow::showProject(const ProjectRows* rows) {
    resetViews();
    setPanel(PanelOperation, QStringLiteral("Lese Projekt"));
    statusPanels_->repaint();
    bool stopped = false;
    {
        WaitCursor wait;
        WorkProgress::Scope work(*progress_);
        try {
            store().openWorkingDatabase(StoreAccess::ReadOnly);
            KeyedTree* projectTree = trees_->projectTree();
            ModuleTreeState& state = trees_->state();
            trees_->appTree()->hide();
            closeCallerResult();
            projectTree->show();
            state.highlightedModuleKey.clear();
            trees_->filter()->reset();
            if (rows) {
                state.moduleCount = int(rows->modules.size());
                if (state.moduleCount > 0) fillCodeViews();
                fillProjectTree(*projectTree, *rows, *progress_);
            } else {
                state.moduleCount = fillModuleTree(*projectTree, store());
                if (state.moduleCount > 0) fillCodeViews();
                addRoutineNodes(*projectTree, store(), *progress_);
            }
            stopped = progress_->stopped();
            if (!stopped) {
                codeShown_ = true;
                if (appState().options.expandModuleTree) expandAllNodes(*projectTree);
                if (projectTree->topLevelItemCount() > 0) {
                    QTreeWidgetItem* first = projectTree->topLevelItem(0);
                    projectTree->setCurrentItem(first);
                    // The first module shows whatever key was pressed in the tree before.
                    state.ignoreNextNodeClick = false;
                    nodeSelection(first);
                }
            }
        } catch (const std::exception&) {
            stopped = progress_->stopped();
            if (!stopped) {
                setPanel(PanelOperation, QString());
                ui().message(QStringLiteral("Projekt in ") + appState().workFolder +
                                 QStringLiteral("\r\nist nicht mehr intakt"),
                             {}, MsgIcon::Warning);
                refreshCommand();
            }
        }
    }
    if (stopped) {
        // Stopped half-way: nothing of the project stays, as after a read that failed.
        codeShown_ = false;
        projectUnsaved_ = false;
        refreshCommand();
    }
    setPanel(PanelOperation, QString());
}

void MainWindow::showModule(int index) {
    try {
        if (!codeArea_->show(index)) return;
    } catch (const std::exception& e) {
        // The module's text is gone from the store: the module shown before stays.
        ui().message(QString::fromUtf8(e.what()));
        return;
    }
    layoutWindow();
    if (codeArea_->zoomOn()) codeArea_->zoomView()->raise();
}

void MainWindow::nodeSelection(QTreeWidgetItem* item) {
    ModuleTreeState& state = trees_->state();
    if (state.ignoreNextNodeClick) {
        state.ignoreNextNodeClick = false;
        return;
    }
    if (!item || !codeShown_) return;
    const QString key = KeyedTree::keyOf(item);
    try {
        if (const auto site = callSiteOfKey(key); site && item->parent()) {
            showCallSite(item, site->first, site->second);
        } else if (!item->parent()) {
            const int n = keyNumber(key);
            if (n - 1 != codeArea_->current()) showModule(n - 1);
            setPanel(PanelModule, item->text(0));
            trees_->highlightModule(codeArea_->current());
            setPanel(PanelRoutine, QString());
            codeArea_->visibleView()->setSelStart(0);
        } else {
            const int n = keyNumber(KeyedTree::keyOf(item->parent()));
            if (n - 1 != codeArea_->current()) showModule(n - 1);
            goToRoutine(*codeArea_->visibleView(), store(), keyNumber(key));
            setPanel(PanelModule, item->parent()->text(0));
            trees_->highlightModule(codeArea_->current());
            setPanel(PanelRoutine, item->text(0));
            followShownCode();  // a caller tree's node: the project tree follows
            pushHistory(*navigation_, history_);
        }
    } catch (const std::exception& e) {
        ui().message(QString::fromUtf8(e.what()));
    }
    setUpdatesEnabled(true);
    codeArea_->refreshZoomAndFocus();
}

void MainWindow::showCallSite(QTreeWidgetItem* item, int moduleNumber, int line) {
    if (moduleNumber < 1 || moduleNumber > trees_->state().moduleCount) return;
    if (moduleNumber - 1 != codeArea_->current()) showModule(moduleNumber - 1);
    goToLine(*codeArea_->visibleView(), line);
    const QTreeWidgetItem* moduleNode = item->parent()->parent();
    setPanel(PanelModule, moduleNode ? moduleNode->text(0) : trees_->projectTree()->nodeText(moduleKey(moduleNumber)));
    trees_->highlightModule(codeArea_->current());
    setPanel(PanelRoutine, item->parent()->text(0));
    followShownCode();
    pushHistory(*navigation_, history_);
}

void MainWindow::showRoutineAtLine(int line, int moduleNumber) {
    ++routineQueries_;
    try {
        setPanel(PanelRoutine, routineNameAtLine(store(), line, moduleNumber));
    } catch (const std::exception&) {
        setPanel(PanelRoutine, QString());
    }
}

void MainWindow::followShownCode() {
    const int module = codeArea_->current();
    CodeView* view = codeArea_->visibleView();
    if (!view) return;
    int routine = 0;
    try {
        if (const auto hit = routineAtLine(store(), view->lineOfPosition(view->selStart()) + 1, module + 1))
            routine = hit->number;
    } catch (const std::exception&) {
        // Without the store the module's node is still right.
    }
    trees_->revealShownCode(module, routine);
}

void MainWindow::trackCaret(int index) {
    CodeView* view = codeArea_->view(index);
    if (!view) return;
    if (auto line = caret_.changedLine(*view, codeShown_)) showRoutineAtLine(*line + 1, index + 1);
}

void MainWindow::showCaretLocation() {
    const int module = codeArea_->current();
    const int line = caret_.take(*codeArea_->visibleView());
    showRoutineAtLine(line + 1, module + 1);
    setPanel(PanelModule, trees_->projectTree()->nodeText(moduleKey(module + 1)));
    trees_->highlightModule(module);
    followShownCode();
}

}  // namespace lumo
