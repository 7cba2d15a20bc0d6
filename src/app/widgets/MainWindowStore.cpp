// Stored projects in the window: the commands of the project store and what
// the store asks of the window (showing, emptying, caption, recent menu).
#include "app/widgets/CommandBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"

namespace lumo {

// Opening checks every row and file of the project before it shows it: work
// the window keeps answering through, and that Escape stops. Stopped, the
// project shown before comes back (from its first module), as if the
// command had not been given.
bool MainWindow::openStored(const std::function<bool()>& open) {
    const bool wasShown = codeShown_;
    const QString folder = appState().workFolder;
    const QString name = projectName_;
    const QString title = windowTitle();
    const bool unsaved = projectUnsaved_;
    const bool office = sourceIsOffice_;
    bool opened = false;
    bool stopped = false;
    {
        WorkProgress::Scope work(*progress_);
        opened = open();
        stopped = !opened && progress_->stopped();
    }
    if (!stopped || !wasShown) return opened;
    appState().workFolder = folder;
    projectName_ = name;
    sourceIsOffice_ = office;
    showProject();
    if (!codeShown_) return false;
    projectUnsaved_ = unsaved;
    setWindowTitle(title);
    setCommandState(unsaved ? CommandState::FromDocument : CommandState::StoredProject);
    return false;
}

void MainWindow::openProjectCommand() {
    openStored([this] { return projectStore_->openProject(); });
}

SaveOutcome MainWindow::saveProjectCommand() { return projectStore_->saveProjectAs(projectName_); }

void MainWindow::openRecentCommand(int index) {
    openStored([this, index] { return projectStore_->openRecent(index); });
}

bool MainWindow::openStoredProject(const QString& folder) {
    return openStored([this, &folder] { return projectStore_->openProjectFolder(folder); });
}

bool MainWindow::showStoredProject(const ProjectRows& rows) {
    // What is shown now is replaced; a project read from a document stays
    // in the run folder until the next read.
    projectUnsaved_ = false;
    sourceIsOffice_ = false;
    showProject(&rows);
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
