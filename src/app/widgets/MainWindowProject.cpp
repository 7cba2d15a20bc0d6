// The project side of the main window: showing a built or stored project
// and the code view of a module.
#include <QApplication>

#include "app/widgets/CodeArea.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WindowNavigation.h"
#include "app/widgets/WindowProjectStore.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
#include "model/WorkingStore.h"
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
            navigation_->closeCallerResult();
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
                    navigation_->nodeSelection(first);
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
        projects_->forgetUnsaved();
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

}  // namespace lumo
