#pragma once
// Stored projects: saving the working store under a name, opening a stored
// project again without the document, and the list of the last ten.
//
// A stored project is a folder holding "DivuRuvi.mdb" and the module text
// files beside it: a copy of every file of the working folder at the time of
// saving. WorkFolder points at it once it was saved or opened, so that every
// file the program writes later lands in the stored project.
#include <QString>
#include <QStringList>

namespace lumo {

struct AppState;
struct ProjectRows;
class Ui;
class WorkingStore;

// What the store needs of the window that shows the projects.
class ProjectView {
public:
    virtual ~ProjectView() = default;
    // Shows the project of AppState::workFolder, whose modules and routines
    // the store read while checking it. False when it could not be shown;
    // the view has then reported it and emptied everything.
    virtual bool showStoredProject(const ProjectRows& rows) = 0;
    // Empties every view, as the command "&Neu" does.
    virtual void clearProject() = 0;
    // A stored project named name is shown: the caption names it, name is the
    // default of the next save, the commands are in the state for a stored project.
    virtual void storedProjectShown(const QString& name) = 0;
    // The recent-projects menu shows exactly these folders, entry 0 first.
    virtual void showRecentProjects(const QStringList& folders) = 0;
};

enum class SaveOutcome { Saved, Cancelled, Failed };

class ProjectStore {
public:
    ProjectStore(AppState& state, WorkingStore& store, Ui& ui, ProjectView& view)
        : state_(state), store_(store), ui_(ui), view_(view) {}

    // The menu from the settings, at start-up.
    void fillRecentMenu();
    // folder at the top of the list; settings and menu rewritten.
    void addRecent(const QString& folder);
    // The folder of menu entry index, "" when the entry is not shown.
    QString recentFolder(int index) const { return recent_.value(index); }

    // mnuÖffnen: a folder chooser, then openProjectFolder. False when nothing was opened.
    bool openProject();
    // A folder chosen, given on the command line or dropped: refused with
    // "Kein Gültiges Projekt" unless it holds "DivuRuvi.mdb".
    bool openProjectFolder(const QString& folder);
    // mnuOpenIndex: the folder of entry index, without the test for the database.
    bool openRecent(int index);

    // mnuSpeichern. defaultName is offered for the project's name.
    SaveOutcome saveProjectAs(const QString& defaultName);

    // Whether the stored project of folder can be shown: its database opens
    // and holds both tables, every module's text file is there. Leaves the
    // working database closed; `rows`, when given, receives the modules and
    // routines of an intact project, read for the check.
    bool isIntact(const QString& folder, ProjectRows* rows = nullptr);

private:
    bool showFolder(const QString& folder);
    QString chooseBase();
    bool refusedTarget(const QString& name, const QString& target);

    AppState& state_;
    WorkingStore& store_;
    Ui& ui_;
    ProjectView& view_;
    QStringList recent_;  // the folders of the menu entries 0, 1, ...
};

// A folder counts as a stored project exactly when it holds "DivuRuvi.mdb".
bool isStoredProject(const QString& folder);

// Whether path is folder or lies below it, symbolic links resolved as far as
// the path exists.
bool isAtOrBelow(const QString& path, const QString& folder);

}  // namespace lumo
