// Stored projects in the window: the commands of the project store and what
// the store asks of the window (showing, emptying, caption, recent menu).
#include "app/widgets/CommandBar.h"
#include "app/widgets/MainWindow.h"
#include "base/AppState.h"

namespace lumo {

void MainWindow::openProjectCommand() { projectStore_->openProject(); }

SaveOutcome MainWindow::saveProjectCommand() { return projectStore_->saveProjectAs(projectName_); }

void MainWindow::openRecentCommand(int index) { projectStore_->openRecent(index); }

bool MainWindow::openStoredProject(const QString& folder) { return projectStore_->openProjectFolder(folder); }

bool MainWindow::showStoredProject() {
    // What is shown now is replaced; a project read from a document stays
    // in the run folder until the next read.
    projectUnsaved_ = false;
    sourceIsOffice_ = false;
    showProject();
    return codeShown_;
}

void MainWindow::clearProject() {
    projectUnsaved_ = false;
    refreshCommand();
}

void MainWindow::storedProjectShown(const QString& name) {
    projectName_ = name;
    projectUnsaved_ = false;
    setWindowTitle(appState().titleText + QStringLiteral(" Projekt: ") + name);
    setCommandState(CommandState::StoredProject);
}

void MainWindow::showRecentProjects(const QStringList& folders) {
    commandBar_->showRecentProjects(folders);
}

}  // namespace lumo
