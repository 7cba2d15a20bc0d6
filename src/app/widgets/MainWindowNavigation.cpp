// The navigation side of the main window: Definition, callers, the routine
// history on the status panels, text search and the code view's pop-up.
// The slots are short; the work is in navigate/, written against
// CodeWindow, which this file implements over the window's widgets.
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>

#include "app/widgets/MainWindow.h"
#include "base/Ui.h"
#include "model/TextOperations.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "navigate/Definition.h"
#include "navigate/TextSearch.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/TreeImages.h"

namespace lumo {

class MainWindow::NavigationSite : public CodeWindow {
public:
    explicit NavigationSite(MainWindow& w) : w_(w) {}

    int currentModule() const override { return w_.trees_.currentModule; }
    int moduleCount() const override { return w_.codeShown_ ? w_.trees_.moduleCount : 0; }
    TextView* codeView(int index) override { return w_.codeView(index); }
    void showModule(int index) override { w_.showModule(index); }
    QString panelText(int panel) const override {
        const QLabel* p = w_.statusPanel(panel);
        return p ? p->text() : QString();
    }
    void setPanelText(int panel, const QString& text) override { w_.setPanel(panel, text); }
    void highlightModuleNode() override { lumo::highlightModuleNode(*w_.treProjekt_, w_.trees_); }
    void showCaretLocation() override { w_.showCaretLocation(); }
    void setHistoryEnabled(bool back, bool next) override { w_.setHistoryEnabled(back, next); }
    bool zoomOn() const override { return w_.zoomOn(); }
    void focusVisibleView() override { w_.visibleCodeView()->setFocus(); }
    void refreshZoomAndFocus() override { w_.refreshZoomAndFocus(); }

private:
    MainWindow& w_;
};

// ---------------------------------------------------------------------------
// Building

void MainWindow::buildCallerHead() {
    site_ = std::make_unique<NavigationSite>(*this);
    // The head of the caller result takes the main toolbar's place while it is shown.
    tobSuche_ = new QToolBar(client_);
    tobSuche_->setObjectName(QStringLiteral("tobSuche"));
    tobSuche_->setMovable(false);
    tobSuche_->setIconSize(QSize(20, 20));
    tobSuche_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QAction* close = tobSuche_->addAction(toolbarIcon(QStringLiteral("close")), QStringLiteral("close"));
    close->setObjectName(QStringLiteral("close"));
    close->setToolTip(QStringLiteral("Schliesst die Routinensuche"));
    wireAction(close, Command::CloseCallers, false);
    toolActions_[size_t(Command::CloseCallers)].push_back(close);
    lblRoutSuche_ = new QLabel(tobSuche_);
    lblRoutSuche_->setObjectName(QStringLiteral("lblRoutSuche"));
    lblRoutSuche_->setMargin(4);
    QFont bold = lblRoutSuche_->font();
    bold.setBold(true);
    lblRoutSuche_->setFont(bold);
    tobSuche_->addWidget(lblRoutSuche_);
    tobSuche_->hide();
    setCommandEnabled(Command::CloseCallers, false);
}

// ---------------------------------------------------------------------------
// Definition and callers

void MainWindow::definitionCommand() {
    if (!codeShown_) return;
    lumo::definitionCommand(*site_, history_, store(), ui());
}

void MainWindow::callersCommand() {
    if (!codeShown_) return;
    const QString name = panels_[1]->text();
    switch (lumo::callersCommand(*treRoutSuche_, store(), name, trees_.currentModule, trees_.moduleCount, ui())) {
    case CallersOutcome::Stopped: return;
    case CallersOutcome::NoneFound:
        treRoutSuche_->hide();
        treProjekt_->show();
        tobSymb1_->show();
        tobSuche_->hide();
        lblRoutSuche_->clear();
        return;
    case CallersOutcome::Found:
        treRoutSuche_->expandAll();
        treRoutSuche_->show();
        treRoutSuche_->raise();
        treProjekt_->hide();
        tobSymb1_->hide();
        tobSuche_->show();
        lblRoutSuche_->setText(name);
        setCommandEnabled(Command::CloseCallers, true);
        return;
    }
}

void MainWindow::closeCallerResult() {
    tobSuche_->hide();
    tobSymb1_->show();
    treRoutSuche_->clear();
    treRoutSuche_->hide();
    // The project tree comes back only where it was the tree shown; after a
    // refresh the Office tree stands in its place.
    if (codeShown_) treProjekt_->show();
    setCommandEnabled(Command::CloseCallers, false);
}

// ---------------------------------------------------------------------------
// History

void MainWindow::setHistoryEnabled(bool back, bool next) {
    panels_[PanelBack - 1]->setEnabled(back);
    panels_[PanelNext - 1]->setEnabled(next);
    setCommandEnabled(Command::RoutineBack, back);
    setCommandEnabled(Command::RoutineNext, next);
}

void MainWindow::statusPanelClick(int panel) {
    if (!codeShown_) return;
    historyPanelClick(*site_, history_, panel);
}

void MainWindow::refreshZoomAndFocus() {
    CodeView* view = visibleCodeView();
    if (zoomOn()) {
        zoomToRoutine(*view, *rtbZoom_, store(), trees_.currentModule + 1, view->lineOfPosition(view->selStart()) + 1,
                      ui());
        rtbZoom_->setFocus();
    } else {
        view->setFocus();
    }
}

// ---------------------------------------------------------------------------
// Text search

void MainWindow::searchCommand(bool fromPosition) {
    QString text = txtSuche_->text();
    const SearchSwitches switches{commandChecked(Command::ToggleProjectSearch),
                                  commandChecked(Command::ToggleWholeWord)};
    if (fromPosition)
        searchFromPositionCommand(*site_, text, switches, ui());
    else
        lumo::searchCommand(*site_, text, switches, ui());
    if (text != txtSuche_->text()) txtSuche_->setText(text);
}

void MainWindow::toggleSearchSwitch(Command command) {
    setCommandChecked(command, !commandChecked(command));
}

void MainWindow::selectionToSearch() {
    if (const std::optional<QString> text = selectionForSearch(*site_)) txtSuche_->setText(*text);
}

// ---------------------------------------------------------------------------
// The code view's pop-up

QAction* MainWindow::popupAction(Command command) const {
    for (QAction* a : menuActions_[size_t(command)])
        if (mnuPopUpHaupt_->actions().contains(a)) return a;
    return nullptr;
}

QMenu* MainWindow::prepareCodePopup() {
    if (!projectShown_) {
        // Its "Code Einlesen" shares the state of the menu item (one command).
        return mnuPopUpEinlesen_;
    }
    CodeView* view = visibleCodeView();
    const QString word = wordAtCaret(view->text(), view->selStart());
    if (QAction* a = popupAction(Command::Definition)) {
        a->setText(word.isEmpty() ? QStringLiteral("&Definition ") : QStringLiteral("&Definition : ") + word);
        a->setEnabled(!word.isEmpty());
    }
    const QString routine = panels_[PanelRoutine - 1]->text();
    if (QAction* a = popupAction(Command::Callers)) {
        a->setText(routine.isEmpty() ? QStringLiteral("Aufrufe") : QStringLiteral("Aufrufe: ") + routine);
        a->setEnabled(!routine.isEmpty());
    }
    return mnuPopUpHaupt_;
}

}  // namespace lumo
