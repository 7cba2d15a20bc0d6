#include "app/widgets/WindowProjectStore.h"

#include "app/widgets/CommandBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "model/WorkingStore.h"

namespace lumo {

WindowProjectStore::WindowProjectStore(MainWindow& window, CommandBar& commands)
    : window_(window), commands_(commands),
      store_(std::make_unique<ProjectStore>(appState(), WorkingStore::instance(), *appState().ui,
                                            static_cast<ProjectView&>(*this))) {}

WindowProjectStore::~WindowProjectStore() = default;

bool WindowProjectStore::run(Command command, int index) {
    switch (command) {
    case Command::OpenProject: openStored([this] { return store_->openProject(); }); return true;
    case Command::SaveProject: save(); return true;
    case Command::OpenRecent: openStored([this, index] { return store_->openRecent(index); }); return true;
    default: return false;
    }
}

bool WindowProjectStore::openFolder(const QString& folder) {
    return openStored([this, &folder] { return store_->openProjectFolder(folder); });
}

SaveOutcome WindowProjectStore::save() { return store_->saveProjectAs(projectName_); }

bool WindowProjectStore::cancelledBeforeReplacing() {
    if (!unsaved_) return false;
    const Answer a =
        appState().ui->question(QStringLiteral("Projekt wurde nicht gespeichert !\r\nProjekt jetzt speichern ?"),
                                MsgButtons::YesNoCancel, MsgIcon::Question);
    if (a == Answer::Cancel) return true;
    // A save that failed keeps the project shown: the user was told and may store it elsewhere.
    if (a == Answer::Yes && save() == SaveOutcome::Failed) return true;
    return false;
}

void WindowProjectStore::readFromDocument(const QString& name) {
    projectName_ = name;
    unsaved_ = true;
}

void WindowProjectStore::documentsListed() { sourceIsOffice_ = true; }

// Opening checks every row and file of the project before it shows it: work
// the window keeps answering through, and that Escape stops. Stopped, the
// project shown before comes back (from its first module), as if the
// command had not been given.
bool WindowProjectStore::openStored(const std::function<bool()>& open) {
    const bool wasShown = window_.codeShown();
    const QString folder = appState().workFolder;
    const QString name = projectName_;
    const QString title = window_.windowTitle();
    const bool unsaved = unsaved_;
    const bool office = sourceIsOffice_;
    WorkProgress& progress = window_.workProgress();
    bool opened = false;
    bool stopped = false;
    {
        WorkProgress::Scope work(progress);
        opened = open();
        stopped = !opened && progress.stopped();
    }
    if (!stopped || !wasShown) return opened;
    appState().workFolder = folder;
    projectName_ = name;
    sourceIsOffice_ = office;
    window_.showProject();
    if (!window_.codeShown()) return false;
    unsaved_ = unsaved;
    window_.setWindowTitle(title);
    window_.setCommandState(unsaved ? CommandState::FromDocument : CommandState::StoredProject);
    return false;
}

bool WindowProjectStore::showStoredProject(const ProjectRows& rows) {
    // What is shown now is replaced; a project read from a document stays
    // in the run folder until the next read.
    unsaved_ = false;
    sourceIsOffice_ = false;
    window_.showProject(&rows);
    return window_.codeShown();
}

void WindowProjectStore::clearProject() {
    unsaved_ = false;
    window_.refreshCommand();
}

void WindowProjectStore::storedProjectShown(const QString& name) {
    projectName_ = name;
    unsaved_ = false;
    window_.setWindowTitle(appState().titleText + QStringLiteral(" Projekt: ") + name);
    window_.setCommandState(CommandState::StoredProject);
}

void WindowProjectStore::showRecentProjects(const QStringList& folders) { commands_.showRecentProjects(folders); }

}  // namespace lumo
