// The road from the host into the window: start-up, listing the documents'
// projects in the application tree, reading the ticked code, opening documents.
#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeBuild.h"
#include "acquire/OfficeListing.h"
#include "app/RunSession.h"
#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WindowNavigation.h"
#include "app/widgets/WindowProjectStore.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"
#include "base/FileHelpers.h"
#include "base/OptionsStore.h"
#include "base/Settings.h"
#include "base/Ui.h"
#include "model/WorkingStore.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/Icons.h"

namespace lumo {

void MainWindow::loadMainWindow(const QStringList& arguments) {
    AppState& state = appState();
    setWindowTitle(state.titleText);
    setWindowIcon(lumo::windowIcon());
    runSession().cleanUpTempRoot();
    projects_->store().fillRecentMenu();
    loadOptions(state.options);
    commandBar_->setRefreshTexts(state.hostName);
    commandBar_->toolAction(Command::None)->setVisible(false);  // "blind"

    bool compact = false;
    QStringList documents;
    QString project;  // a stored project folder; the last one given is shown
    for (const QString& arg : arguments) {
        if (arg.compare(QStringLiteral("/a"), Qt::CaseInsensitive) == 0)
            compact = true;
        else if (isStoredProject(arg))
            project = arg;
        else if (!arg.isEmpty())
            documents << arg;
    }
    // The window shows before anything is read or made, so that what goes
    // wrong at start (a run folder that cannot be made, documents of the
    // command line that cannot be read) is told over a window, not over an
    // empty desktop.
    if (compact) {
        showCompactWindow();  // instead of the main window, which stays loaded and hidden
    } else {
        if (state.options.applyScreenLayout) applyScreenLayout();
        if (isMaximized())
            showMaximized();
        else
            show();
    }
    const QString settingsProblem = settingsFileProblem();
    if (!settingsProblem.isEmpty()) ui().message(settingsProblem, {}, MsgIcon::Warning);
    runSession().createRunFolder(ui());
    state.runFolder = state.workFolder;
    addDocuments(documents);
    refreshCommand();
    if (!project.isEmpty()) openStoredProject(project);
}

void MainWindow::refreshCommand() {
    if (projects_->cancelledBeforeReplacing()) return;
    setWindowTitle(appState().titleText);
    projects_->forgetUnsaved();
    setCommandState(CommandState::NothingShown);
    refreshOfficeProjects();
}

void MainWindow::refreshOfficeProjects() {
    store().closeWorkingDatabase();
    codeShown_ = false;
    KeyedTree* projectTree = trees_->projectTree();
    KeyedTree* appTree = trees_->appTree();
    projectTree->setRedraw(false);
    projectTree->clear();
    navigation_->closeCallerResult();
    projectTree->setRedraw(true);
    projectTree->hide();
    appTree->show();
    codeArea_->visibleView()->setRtf(QString());

    int version = 0;
    bool ok = false;
    {
        // A folder of a thousand modules takes a while to list: the window
        // answers and paints meanwhile. The tree's painting is off only while
        // it is filled: off during the listing, the area stayed black.
        WorkProgress::Scope work(*progress_, false);
        ok = listOfficeProjects(*hostConnector_, trees_->appNodes(), version, ui());
        appTree->setRedraw(false);
        trees_->drawAppTree();
        appTree->expandAll();
        appTree->setRedraw(true);
    }
    projects_->documentsListed();
    resetViews();
    const QString explanation = refreshExplanation(ok, trees_->appNodes(), version, appState().hostName,
                                                   hostConnector_ == static_cast<HostConnector*>(documentHost_.get()));
    if (!explanation.isEmpty()) trees_->showExplanation(explanation);
}

void MainWindow::readTickedCode() {
    codeShown_ = false;
    if (!anyChecked(trees_->appNodes())) {
        ui().message(QStringLiteral("Bitte wählen Sie erst etwas aus"));
        return;
    }
    AppState& state = appState();
    // Without a run folder of its own the run works in TempRoot, which other
    // instances share: clearing it for the build would delete their files.
    if (!runSession().hasRunFolder() || QDir::cleanPath(state.runFolder) == QDir::cleanPath(state.tempRoot)) {
        ui().message(QStringLiteral("Code kann nicht eingelesen werden: der Arbeitsordner dieses Laufs unter %1 "
                                    "konnte nicht angelegt werden.").arg(QDir::toNativeSeparators(state.tempRoot)),
                     {}, MsgIcon::Warning);
        return;
    }
    store().closeWorkingDatabase();
    codeArea_->visibleView()->show();
    state.workFolder = state.runFolder;
    for (const QString& f : listFilesBelow(state.runFolder, QStringLiteral("*")).files)
        if (f.contains(QStringLiteral("TempDateien"), Qt::CaseInsensitive)) QFile::remove(f);

    // Stopped, the ticks come back as they were, for another try with fewer modules.
    QStringList ticked;
    for (const AppNode& n : trees_->appNodes())
        if (n.checked) ticked << n.key;
    WorkProgress::Scope work(*progress_);
    OfficeBuildResult result;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        result = buildFromOffice(
            *hostConnector_, trees_->appNodes(), ui(),
            [this](StatusPanel panel, const QString& text) { setPanel(panel, text); },
            *progress_);
        QApplication::restoreOverrideCursor();
    }
    setPanel(PanelOperation, QString());
    // Too much ticked: the listing stays with its ticks, for fewer.
    if (result.overBudget) return;
    const bool ok = result.ok;
    const QString projectName = result.projectName;
    if (ok) {
        setWindowTitle(builtProjectCaption(state.titleText, projectName));
        projects_->readFromDocument(projectName);
        showProject();
        if (codeShown_) setCommandState(CommandState::FromDocument);
    } else {
        refreshCommand();
    }
    if (progress_->stopped() && !codeShown_) {
        commandBar_->setEnabled(Command::ReadCode, trees_->restoreTicks(ticked));
        return;
    }
    // The module the warning named stays in view, so that the user knows
    // which one to look at (or untick) after the box is gone.
    if (!result.failedModule.isEmpty()) setPanel(PanelOperation, QStringLiteral("Modul: ") + result.failedModule);
}

void MainWindow::openDocumentCommand() {
    const QString filter = QStringLiteral(
        "Word-Dokumente (*.doc *.docm *.dot *.dotm);;"
        "Office-Dateien mit VBA (*.doc *.docm *.dot *.dotm *.xls *.xlsm *.xlsb *.xla *.xlam *.xlt *.xltm "
        "*.ppt *.pptm *.pot *.potm *.ppam *.bin);;"
        "Exportierte Module, ihr Ordner wird geöffnet (*.bas *.cls *.frm);;"
        "Alle Dateien (*)");
    const QStringList paths = ui().chooseOpenFiles(QStringLiteral("Dokument öffnen"), lastOpenFolder_, filter);
    if (paths.isEmpty()) return;
    lastOpenFolder_ = QFileInfo(paths.first()).absolutePath();
    openDocuments(paths);
}

// A folder of exported modules is one project; the file chooser only
// reaches it through one of its files.
void MainWindow::openModuleFolderCommand() {
    const QString folder = ui().chooseFolder(QStringLiteral("Modulordner öffnen"), lastOpenFolder_);
    if (folder.isEmpty()) return;
    lastOpenFolder_ = folder;
    openDocuments({folder});
}

bool MainWindow::addDocuments(const QStringList& paths) {
    if (!documentHost_) return false;
    bool added = false;
    QStringList seenFolders;
    for (const QString& path : paths) {
        const QString target = documentTargetOf(path);
        if (seenFolders.contains(target)) continue;
        seenFolders << target;
        if (!QFileInfo::exists(target)) {
            ui().message(QStringLiteral("Die Datei ") + path + QStringLiteral(" gibt es nicht."), {}, MsgIcon::Warning);
            continue;
        }
        documentHost_->open(target);
        added = true;
    }
    return added;
}

void MainWindow::openDocuments(const QStringList& paths) {
    // The question about the shown project comes first: cancelling it
    // cancels the open, and no document joins the host.
    const bool anyThere = std::any_of(paths.begin(), paths.end(), [](const QString& p) { return QFileInfo::exists(p); });
    if (anyThere && projects_->cancelledBeforeReplacing()) return;
    if (!addDocuments(paths)) return;
    setWindowTitle(appState().titleText);
    projects_->forgetUnsaved();
    setCommandState(CommandState::NothingShown);
    refreshOfficeProjects();
}

}  // namespace lumo
