#pragma once
// frmHaupt: menus, toolbar, the trees on the left, one code view per module
// on the right, the zoom view over it, and the status panels. The window
// wires commands to short slots; the work lives in the widget-free parts
// (trees, routine location, the builder, the store).
#include <array>
#include <functional>
#include <memory>

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <vector>

#include "acquire/OfficeListing.h"
#include "acquire/ProjectStore.h"
#include "navigate/RoutineHistory.h"
#include "navigate/RoutineLocation.h"
#include "view/CodeWindow.h"
#include "view/Commands.h"
#include "view/ProjectTree.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;
class QTreeWidgetItem;

namespace lumo {

class CodeView;
class CodeWindow;
class CompactWindow;
class DocumentHost;
class HostConnector;
class KeyedTree;
class Splitter;
class Ui;
class WorkingStore;
struct ExportContext;

class MainWindow : public QMainWindow, private ProjectView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The load step of start-up: caption, icon, clean-up, options, run folder,
    // the documents of the command line, the first refresh, then the window
    // shows (after the user's layout when that option is on).
    void loadMainWindow(const QStringList& arguments);

    // --- commands -------------------------------------------------------
    void refreshCommand();            // mnuAnsicht_App_Aktualisieren, mnuNeu, "neu", "refresh"
    void refreshOfficeProjects();
    void readTickedCode();            // mnuBearbeiten_Code, "doit"
    void showProject();
    void setCommandState(CommandState state);
    void resetViews();
    void toggleZoom();                // mnuAnsicht_Zoom, "zoom"
    void hilfeAufrufen();             // F1
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
    const AppTree& appNodes() const { return appNodes_; }
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

    // --- navigation and search ------------------------------------------
    void definitionCommand();         // F8, mnuPopUpHaupt_Definition
    void callersCommand();            // Ctrl+F8, mnuPopUpHaupt_Aufruf, double click on "Routine"
    void closeCallerResult();         // mnuAnsicht_RouClose, "close" on tobSuche
    void statusPanelClick(int panel); // 1 to 5; Back and Next are 3 and 4
    void searchCommand(bool fromPosition);  // F3, Ctrl+F3
    void toggleSearchSwitch(Command command);
    void selectionToSearch();         // Ctrl+F
    const RoutineHistory& history() const { return history_; }
    KeyedTree* callerTree() const { return treRoutSuche_; }
    QToolBar* callerToolbar() const { return tobSuche_; }
    QLabel* callerLabel() const { return lblRoutSuche_; }
    QLineEdit* searchBox() const { return txtSuche_; }
    QMenu* codePopup() const { return mnuPopUpHaupt_; }
    // Sets the captions and states of the code view's pop-up as a right click does; returns the menu to show.
    QMenu* prepareCodePopup();

    // --- for tests and the benchmark --------------------------------------
    CodeView* codeView(int index) const;
    CodeView* visibleCodeView() const;
    CodeView* zoomView() const { return rtbZoom_; }
    int codeViewCount() const { return int(rtbHaupt_.size()); }
    KeyedTree* projectTree() const { return treProjekt_; }
    KeyedTree* appTree() const { return treApp_; }
    QPlainTextEdit* explanationBox() const { return txtAppAktiv_; }
    QLabel* statusPanel(int index) const;  // 1 to 5
    // The items of a command: its menu and pop-up items in table order, its toolbar button.
    QAction* menuAction(Command command, int nth = 0) const;
    QAction* toolAction(Command command) const;
    Splitter* splitter() const { return fraTeiler_; }
    QWidget* container() const { return fraContainer_; }
    const ModuleTreeState& treeState() const { return trees_; }
    bool codeShown() const { return codeShown_; }
    bool projectShown() const { return projectShown_; }
    bool projectUnsaved() const { return projectUnsaved_; }
    bool zoomOn() const;
    CompactWindow* compactWindow() const { return frmMin_.get(); }
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
    bool showStoredProject() override;
    void clearProject() override;
    void storedProjectShown(const QString& name) override;
    void showRecentProjects(const QStringList& folders) override;

    Ui& ui() const;
    // The one working store of this run, passed on to whatever reads it.
    WorkingStore& store() const;
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildPanes();
    void wireAction(QAction* a, Command command, bool checkable);
    // Runs what an item of the command tables stands for; index is the item's
    // index in an indexed group (the recent projects), -1 otherwise.
    void run(Command command, int index);
    void setCommandEnabled(Command command, bool on);
    void setCommandChecked(Command command, bool on);
    bool commandChecked(Command command) const;
    CodeView* makeCodeView(int index);
    void fillCodeViews();
    void resetCodeViews();
    void layoutPanes();
    bool splitterMayMoveTo(int newLeft) const;
    void setPanel(int index, const QString& text);
    void showRoutineAtLine(int line, int moduleNumber);
    void trackCaret(int index);
    void codeContextMenu(CodeView* view, const QPoint& pos);
    void buildCallerHead();
    void setHistoryEnabled(bool back, bool next);
    void refreshZoomAndFocus();
    QAction* popupAction(Command command) const;
    void checkHandler(QTreeWidgetItem* item);
    void showExplanation(const QString& text);
    void applyRefreshTexts();
    bool maximizeLayout();
    void drawAppTree();

    // --- exports (MainWindowExport.cpp) -----------------------------------
    ExportContext exportContext();
    // The view the exports of a selection read: the zoom view when it is on.
    CodeView* shownCodeView() const;
    // Runs an export, showing what it throws instead of letting it end the program.
    void runExport(const std::function<void()>& exportCommand);
    void htmlOfZoomCommand();          // mnuPopUp_Zoom_Html
    void rtfModuleCommand();           // mnuRtf_Modul
    void rtfProjectCommand();          // mnuRtf_Projekt
    void copySelectionCommand();       // mnuBearbeiten_Kopieren_Auswahl
    void copyModuleCommand();          // mnuBearbeiten_Kopieren_Modul
    void copyZoomCommand();            // mnuPopUp_Zoom_Copy
    void structureCommand();           // mnuExtras_Struktur
    void showCompactWindow();          // mnuAnsicht_Spezial (F9), "/a"

    QWidget* client_ = nullptr;
    QToolBar* tobSymb1_ = nullptr;
    QWidget* fraContainer_ = nullptr;
    KeyedTree* treProjekt_ = nullptr;
    KeyedTree* treApp_ = nullptr;
    KeyedTree* treRoutSuche_ = nullptr;
    QPlainTextEdit* txtAppAktiv_ = nullptr;
    Splitter* fraTeiler_ = nullptr;
    std::vector<CodeView*> rtbHaupt_;
    CodeView* rtbZoom_ = nullptr;
    CodeView* rtbFarbeBlind_ = nullptr;
    QStatusBar* staBar_ = nullptr;
    QLabel* panels_[5] = {};
    QMenu* mnuPopUpHaupt_ = nullptr;
    QMenu* mnuPopUpZoom_ = nullptr;
    QMenu* mnuPopUpEinlesen_ = nullptr;
    std::array<std::vector<QAction*>, kCommandCount> menuActions_;  // menu and pop-up items (and menus) by command
    std::array<std::vector<QAction*>, kCommandCount> toolActions_;  // toolbar buttons by command

    std::unique_ptr<DocumentHost> documentHost_;
    std::unique_ptr<ProjectStore> projectStore_;
    HostConnector* hostConnector_ = nullptr;
    AppTree appNodes_;
    QString lastOpenFolder_;
    ModuleTreeState trees_;
    CaretTracker caret_;
    bool projectShown_ = false;
    bool codeShown_ = false;
    bool sourceIsOffice_ = true;
    QString projectName_;
    bool projectUnsaved_ = false;  // read from a document and not stored since
    int routineQueries_ = 0;
    bool loaded_ = false;

    // Navigation and search.
    class NavigationSite;
    std::unique_ptr<CodeWindow> site_;
    RoutineHistory history_;
    QToolBar* tobSuche_ = nullptr;
    QLabel* lblRoutSuche_ = nullptr;
    QLineEdit* txtSuche_ = nullptr;
    std::unique_ptr<CompactWindow> frmMin_;
};

}  // namespace lumo
