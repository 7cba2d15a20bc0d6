// The project side of the main window: showing a built or stored project,
// the trees' node selection, and keeping the status panels on the caret.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>

#include "app/widgets/MainWindow.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "model/WorkingStore.h"
#include "render/TaggedContent.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

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
    // One repaint for the whole batch instead of one per module.
    setUpdatesEnabled(false);
    resetCodeViews();
    try {
        for (int i = 1; i < trees_.moduleCount; ++i) rtbHaupt_.push_back(makeCodeView(i));
        const Options& options = appState().options;
        auto& store = this->store();
        for (int n = 1; n <= trees_.moduleCount; ++n) {
            // The content the view would read from the module's RTF, made
            // without writing and parsing the RTF text.
            rtbHaupt_[size_t(n - 1)]->setContent(taggedToContent(store.readModuleText(n), options));
        }
    } catch (...) {
        setUpdatesEnabled(true);
        throw;
    }
    setUpdatesEnabled(true);
}

void MainWindow::showProject() {
    resetViews();
    setPanel(5, QStringLiteral("Lese Projekt"));
    staBar_->repaint();
    {
        WaitCursor wait;
        try {
            store().openWorkingDatabase(StoreAccess::ReadOnly);
            treApp_->hide();
            closeCallerResult();
            treProjekt_->show();
            trees_.highlightedModuleKey.clear();
            trees_.moduleCount = fillModuleTree(*treProjekt_, store());
            if (trees_.moduleCount > 0) fillCodeViews();
            addRoutineNodes(*treProjekt_, store());
            codeShown_ = true;
            if (appState().options.expandModuleTree) expandAllNodes(*treProjekt_);
            if (treProjekt_->topLevelItemCount() > 0) {
                QTreeWidgetItem* first = treProjekt_->topLevelItem(0);
                treProjekt_->setCurrentItem(first);
                // The first module shows whatever key was pressed in the tree before.
                trees_.ignoreNextNodeClick = false;
                nodeSelection(first);
            }
        } catch (const std::exception&) {
            setPanel(5, QString());
            ui().message(QStringLiteral("Projekt in ") + appState().workFolder + QStringLiteral("\r\nist nicht mehr intakt"),
                         {}, MsgIcon::Warning);
            refreshCommand();
        }
    }
    setPanel(5, QString());
}

void MainWindow::showModule(int index) {
    CodeView* target = codeView(index);
    if (!target) return;
    if (CodeView* shown = visibleCodeView()) shown->hide();
    trees_.currentModule = index;
    target->show();
    layoutWindow();
    if (zoomOn()) rtbZoom_->raise();
}

void MainWindow::nodeSelection(QTreeWidgetItem* item) {
    if (trees_.ignoreNextNodeClick) {
        trees_.ignoreNextNodeClick = false;
        return;
    }
    if (!item || !codeShown_) return;
    const QString key = KeyedTree::keyOf(item);
    try {
        if (!item->parent()) {
            const int n = keyNumber(key);
            if (n - 1 != trees_.currentModule) showModule(n - 1);
            setPanel(1, item->text(0));
            highlightModuleNode(*treProjekt_, trees_);
            setPanel(2, QString());
            visibleCodeView()->setSelStart(0);
        } else {
            const int n = keyNumber(KeyedTree::keyOf(item->parent()));
            if (n - 1 != trees_.currentModule) showModule(n - 1);
            goToRoutine(*visibleCodeView(), store(), keyNumber(key));
            setPanel(1, item->parent()->text(0));
            highlightModuleNode(*treProjekt_, trees_);
            setPanel(2, item->text(0));
            pushHistory(*site_, history_);
        }
    } catch (const std::exception& e) {
        ui().message(QString::fromUtf8(e.what()));
    }
    setUpdatesEnabled(true);
    refreshZoomAndFocus();
}

void MainWindow::showRoutineAtLine(int line, int moduleNumber) {
    ++routineQueries_;
    try {
        setPanel(2, routineNameAtLine(store(), line, moduleNumber));
    } catch (const std::exception&) {
        setPanel(2, QString());
    }
}

void MainWindow::trackCaret(int index) {
    CodeView* view = codeView(index);
    if (!view) return;
    if (auto line = caret_.changedLine(*view, codeShown_)) showRoutineAtLine(*line + 1, index + 1);
}

void MainWindow::showCaretLocation() {
    CodeView* view = visibleCodeView();
    const int line = caret_.take(*view);
    showRoutineAtLine(line + 1, trees_.currentModule + 1);
    setPanel(1, treProjekt_->nodeText(moduleKey(trees_.currentModule + 1)));
    highlightModuleNode(*treProjekt_, trees_);
}

}  // namespace lumo
