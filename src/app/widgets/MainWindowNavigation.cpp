// The navigation side of the main window: Definition, callers, the routine
// history on the status panels, text search and the code view's pop-up.
// The slots are short; the work is in navigate/, written against
// CodeWindow, which this file implements over the window's parts.
#include <QLabel>
#include <QLineEdit>

#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/HitPanel.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WorkProgress.h"
#include "base/Ui.h"
#include "model/TextOperations.h"
#include "model/WorkingStore.h"
#include "navigate/CallSites.h"
#include "navigate/Callers.h"
#include "navigate/Definition.h"
#include "navigate/SearchHits.h"
#include "navigate/TextSearch.h"
#include "view/CodeWindow.h"
#include "view/widgets/ChoiceList.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

namespace lumo {

class MainWindow::NavigationSite : public CodeWindow {
public:
    explicit NavigationSite(MainWindow& w) : w_(w) {}

    int currentModule() const override { return w_.codeArea_->current(); }
    int moduleCount() const override { return w_.codeShown_ ? w_.trees_->state().moduleCount : 0; }
    TextView* codeView(int index) override { return w_.codeArea_->view(index); }
    QString moduleText(int index) override { return w_.codeArea_->text(index); }
    Progress& progress() override { return *w_.progress_; }
    void showModule(int index) override { w_.showModule(index); }
    QString panelText(StatusPanel panel) const override { return w_.statusPanels_->text(panel); }
    void setPanelText(StatusPanel panel, const QString& text) override { w_.setPanel(panel, text); }
    void highlightModuleNode() override {
        w_.trees_->highlightModule(w_.codeArea_->current());
        w_.followShownCode();
    }
    void showCaretLocation() override { w_.showCaretLocation(); }
    void setHistoryEnabled(bool back, bool next) override { w_.setHistoryEnabled(back, next); }
    bool zoomOn() const override { return w_.codeArea_->zoomOn(); }
    void focusVisibleView() override { w_.codeArea_->visibleView()->setFocus(); }
    void refreshZoomAndFocus() override { w_.codeArea_->refreshZoomAndFocus(); }
    std::optional<int> chooseAtCaret(const QString& title, const QStringList& entries) override {
        CodeView* view = w_.codeArea_->visibleView();
        ChoiceList chooser(&w_, title, entries);
        return chooser.chooseAt(view->viewport()->mapToGlobal(view->cursorRect().bottomLeft()));
    }

private:
    MainWindow& w_;
};

void MainWindow::buildNavigation() {
    navigation_ = std::make_unique<NavigationSite>(*this);
}

// ---------------------------------------------------------------------------
// Definition and callers

void MainWindow::definitionCommand() {
    if (!codeShown_) return;
    lumo::definitionCommand(*navigation_, history_, store(), ui());
}

void MainWindow::callersCommand() {
    if (!codeShown_) return;
    const QString name = statusPanels_->text(PanelRoutine);
    switch (lumo::callersCommand(*trees_->callerTree(), store(), name, codeArea_->current(),
                                 trees_->state().moduleCount, ui())) {
    case CallersOutcome::Stopped: return;
    case CallersOutcome::NoneFound: trees_->showNoCallers(); return;
    case CallersOutcome::Found:
        offerCallSites();
        trees_->showCallerResult(name);
        commandBar_->setEnabled(Command::CloseCallers, true);
        return;
    }
}

void MainWindow::offerCallSites() {
    // Found when a caller is first opened: all at once would double the
    // caller search on a large project, for lines the user may never open.
    for (QTreeWidgetItem* node : trees_->callerTree()->nodesInOrder())
        if (node->parent()) node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void MainWindow::callSitesOpened(QTreeWidgetItem* node) {
    if (!node->parent() || node->parent()->parent() || node->childCount() > 0) return;
    KeyedTree* tree = trees_->callerTree();
    const int module = keyNumber(KeyedTree::keyOf(node->parent()));
    tree->setRedraw(false);
    try {
        // The other callers of the module get theirs too, from the one reading.
        addCallSiteNodes(*tree, store(), trees_->callerLabel()->text(), module, module);
    } catch (const std::exception& e) {
        ui().message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
    }
    tree->setRedraw(true);
    if (node->childCount() == 0) node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void MainWindow::closeCallerResult() {
    // The project tree comes back only where it was the tree shown; after a
    // refresh the application tree stands in its place.
    trees_->closeCallerResult(codeShown_);
    commandBar_->setEnabled(Command::CloseCallers, false);
}

// ---------------------------------------------------------------------------
// History

void MainWindow::setHistoryEnabled(bool back, bool next) {
    statusPanels_->setHistoryEnabled(back, next);
    commandBar_->setEnabled(Command::RoutineBack, back);
    commandBar_->setEnabled(Command::RoutineNext, next);
}

void MainWindow::statusPanelClick(StatusPanel panel) {
    if (!codeShown_) return;
    historyPanelClick(*navigation_, history_, panel);
}

// ---------------------------------------------------------------------------
// Text search

void MainWindow::searchCommand(bool fromPosition) {
    WorkProgress::Scope work(*progress_);
    QLineEdit* searchBox = commandBar_->searchBox();
    QString text = searchBox->text();
    const SearchSwitches switches{commandBar_->checked(Command::ToggleProjectSearch),
                                  commandBar_->checked(Command::ToggleWholeWord)};
    if (fromPosition)
        searchFromPositionCommand(*navigation_, text, switches, ui());
    else
        lumo::searchCommand(*navigation_, text, switches, ui());
    if (text != searchBox->text()) searchBox->setText(text);
}

void MainWindow::allHitsCommand() {
    if (!codeShown_) return;
    QLineEdit* searchBox = commandBar_->searchBox();
    QString text = searchBox->text();
    const SearchSwitches switches{commandBar_->checked(Command::ToggleProjectSearch),
                                  commandBar_->checked(Command::ToggleWholeWord)};
    std::vector<SearchHit> hits;
    {
        WorkProgress::Scope work(*progress_);
        hits = lumo::allHitsCommand(*navigation_, text, switches, ui());
        if (progress_->stopped()) return;  // the list shown before stays
    }
    if (text != searchBox->text()) searchBox->setText(text);
    if (hits.empty()) {
        // A list of another text would read as the answer to this one.
        if (!text.isEmpty() && !codeArea_->zoomOn()) hitPanel_->clearHits();
        return;
    }
    hitPanel_->showHits(text, std::move(hits),
                        [this](int module) { return trees_->projectTree()->nodeText(moduleKey(module + 1)); });
}

void MainWindow::toggleSearchSwitch(Command command) {
    commandBar_->setChecked(command, !commandBar_->checked(command));
}

void MainWindow::selectionToSearch() {
    if (const std::optional<QString> text = selectionForSearch(*navigation_)) commandBar_->searchBox()->setText(*text);
}

// ---------------------------------------------------------------------------
// The code view's pop-up

QMenu* MainWindow::prepareCodePopup() {
    // Without a project its "Code Einlesen" shares the state of the menu item (one command).
    if (!projectShown_) return commandBar_->readPopup();
    CodeView* view = codeArea_->visibleView();
    return commandBar_->prepareCodePopup(wordAtCaret(view->text(), view->selStart()),
                                         statusPanels_->text(PanelRoutine));
}

}  // namespace lumo
