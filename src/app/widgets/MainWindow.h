#pragma once
// frmHaupt: the window composed of its parts, each owning its state: the
// command bar (menus, toolbar, pop-ups, command states), the trees on the
// left, the code area on the right (one code view per module, the zoom view
// over it), the status panels, and the exports. The window wires them: the
// commands run short slots here; the work lives in the parts and in the
// widget-free layers (trees, routine location, the builder, the store).
#include <functional>
#include <memory>

#include <QMainWindow>
#include <QStringList>

#include "acquire/ProjectStore.h"
#include "base/StatusPanel.h"
#include "navigate/RoutineHistory.h"
#include "navigate/RoutineLocation.h"
#include "view/Commands.h"

class QMenu;
class QTreeWidgetItem;

namespace lumo {

class CodeArea;
class CodeView;
class CodeWindow;
class CommandBar;
class CompactWindow;
class DocumentHost;
class HitPanel;
class HostConnector;
class Splitter;
class StatusPanels;
class Trees;
class Ui;
class WindowExports;
class WorkProgress;
class WorkingStore;

class MainWindow : public QMainWindow, private ProjectView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load step of start-up: caption, icon, clean-up, options, run folder,
    // the documents of the command line, the first refresh, then the window
    // shows (after the user's layout when that option is on).
    void loadMainWindow(const QStringList& arguments);

    // --- the parts ---------------------------------------------------------
    const CommandBar& commandBar() const { return *commandBar_; }
    const Trees& trees() const { return *trees_; }
    const CodeArea& codeArea() const { return *codeArea_; }
    const StatusPanels& statusPanels() const { return *statusPanels_; }
    Splitter* splitter() const { return splitter_; }
    // Long work under way: its progress, and stopping it.
    WorkProgress& workProgress() const { return *progress_; }
    HitPanel* hitPanel() const { return hitPanel_; }
    QWidget* container() const { return container_; }

    // --- commands -------------------------------------------------------
    void refreshCommand();            // mnuAnsicht_App_Aktualisieren, mnuNeu, "neu", "refresh"
    void refreshOfficeProjects();
    void readTickedCode();            // mnuBearbeiten_Code, "doit"
    // The project of the working store; from `rows` where they were read already.
    void showProject(const ProjectRows* rows = nullptr);
    void setCommandState(CommandState state);
    void resetViews();
    void toggleZoom();                // mnuAnsicht_Zoom, "zoom"
    void helpCommand();               // F1, mnuHilfe_Hilfe
    void defineScreenLayout();
    void applyScreenLayout();
    void openDocumentCommand();       // "&Dokument öffnen ..."
    void openModuleFolderCommand();   // "&Modulordner öffnen ..."
    // Adds documents or module folders to the document host; true when one was added.
    bool addDocuments(const QStringList& paths);
    // Adds them and lists the host's projects again (asking first about an unsaved project).
    void openDocuments(const QStringList& paths);

    // Where the projects come from: the document host by default, a
    // scripted host in tests (not owned).
    void setHostConnector(HostConnector* connector);
    DocumentHost* documentHost() const { return documentHost_.get(); }
    // --- stored projects (the project store does the work) ------------------
    void openProjectCommand();        // mnuÖffnen, "open"
    SaveOutcome saveProjectCommand(); // mnuSpeichern, "save", the refresh's "Ja"
    void openRecentCommand(int index); // mnuOpenIndex
    // A stored project folder from the command line or a drop.
    bool openStoredProject(const QString& folder);
    ProjectStore& projectStore() const { return *projectStore_; }

    // --- options and about box ------------------------------------------
    void optionsCommand();            // mnuExtras_Optionen: frmOptionen, modal
    void aboutCommand();              // mnuHilfe_Info: frmAbout, modal
    // The code views (and the zoom) rendered again with the options now in force.
    void renderCodeViewsAgain();

    // --- trees and code views -------------------------------------------
    void nodeSelection(QTreeWidgetItem* item);
    void showModule(int index);
    void showCaretLocation();
    void layoutWindow();
    void showCompactWindow();         // mnuAnsicht_Spezial (F9), "/a"

    // --- navigation and search ------------------------------------------
    void definitionCommand();         // F8, mnuPopUpHaupt_Definition
    void callersCommand();            // Ctrl+F8, mnuPopUpHaupt_Aufruf, double click on "Routine"
    void closeCallerResult();         // mnuAnsicht_RouClose, "close" on tobSuche
    void statusPanelClick(StatusPanel panel);  // Back and Next walk the history
    void searchCommand(bool fromPosition);  // F3, Ctrl+F3
    void allHitsCommand();            // Ctrl+Shift+F: every hit in the panel dckFundstellen
    void toggleSearchSwitch(Command command);
    void selectionToSearch();         // Ctrl+F
    const RoutineHistory& history() const { return history_; }
    // Sets the captions and states of the code view's pop-up as a right click does; returns the menu to show.
    QMenu* prepareCodePopup();

    // --- state, for tests and the benchmark ---------------------------------
    bool codeShown() const { return codeShown_; }
    bool projectShown() const { return projectShown_; }
    bool projectUnsaved() const { return projectUnsaved_; }
    CompactWindow* compactWindow() const { return compactWindow_.get(); }
    int routineQueries() const { return routineQueries_; }
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ProjectView
    bool showStoredProject(const ProjectRows& rows) override;
    void clearProject() override;
    void storedProjectShown(const QString& name) override;
    void showRecentProjects(const QStringList& folders) override;

    Ui& ui() const;
    // Runs an opening of a stored project as stoppable work.
    bool openStored(const std::function<bool()>& open);
    // The one working store of this run, passed on to whatever reads it.
    WorkingStore& store() const;
    void buildPanes();
    void wireParts();
    void buildNavigation();
    // Runs what an item of the command tables stands for; index is the item's
    // index in an indexed group (the recent projects) or the status panel it
    // clicks, -1 otherwise.
    void run(Command command, int index);
    void fillCodeViews();
    void layoutPanes();
    bool splitterMayMoveTo(int newLeft) const;
    void setPanel(StatusPanel panel, const QString& text);
    void showRoutineAtLine(int line, int moduleNumber);
    // Each routine of the caller result opens to its lines that call the routine asked for.
    void offerCallSites();
    void callSitesOpened(QTreeWidgetItem* node);
    // A call-site node of the caller tree: its module shown, the caret on its line.
    void showCallSite(QTreeWidgetItem* item, int moduleNumber, int line);
    // The project tree selects and reveals the module and routine of the caret
    // in the code shown, after every jump (F8, search hit, history, callers).
    void followShownCode();
    void trackCaret(int index);
    void setHistoryEnabled(bool back, bool next);
    bool maximizeLayout();

    // The parts (owned by Qt through their parents).
    QWidget* client_ = nullptr;
    CommandBar* commandBar_ = nullptr;
    QWidget* container_ = nullptr;
    Trees* trees_ = nullptr;
    Splitter* splitter_ = nullptr;
    CodeArea* codeArea_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    WorkProgress* progress_ = nullptr;
    HitPanel* hitPanel_ = nullptr;
    std::unique_ptr<WindowExports> exports_;

    // Where projects come from and where they are stored.
    std::unique_ptr<DocumentHost> documentHost_;
    std::unique_ptr<ProjectStore> projectStore_;
    HostConnector* hostConnector_ = nullptr;
    QString lastOpenFolder_;

    // The project shown.
    bool projectShown_ = false;
    bool codeShown_ = false;
    bool sourceIsOffice_ = true;
    QString projectName_;
    bool projectUnsaved_ = false;  // read from a document and not stored since
    bool loaded_ = false;

    // The caret on the status panels, navigation and search.
    CaretTracker caret_;
    int routineQueries_ = 0;
    class NavigationSite;
    std::unique_ptr<CodeWindow> navigation_;
    RoutineHistory history_;

    // Stands in for the window (mnuAnsicht_Spezial).
    std::unique_ptr<CompactWindow> compactWindow_;
};

}  // namespace lumo
