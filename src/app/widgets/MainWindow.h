#pragma once
// frmHaupt: the window composed of its parts, each owning its state: the
// command bar (menus, toolbar, pop-ups, command states), the trees on the
// left, the code area on the right (one code view per module, the zoom view
// over it), the status panels, the navigation, the search, the stored
// projects and the exports. The window wires them and hands each command to
// the part that owns it; what stays here is the project shown (listing the
// documents' projects, reading the ticked code, showing a project), the
// layout, the zoom and the window's own commands.
#include <memory>

#include <QMainWindow>
#include <QStringList>

#include "base/StatusPanel.h"
#include "view/Commands.h"

class QMenu;

namespace lumo {

class CodeArea;
class CodeWindowSite;
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
class WindowNavigation;
class WindowProjectStore;
class WindowSearch;
class WorkProgress;
class WorkingStore;
struct ProjectRows;

class MainWindow : public QMainWindow {
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
    // A stored project folder from the command line or a drop.
    bool openStoredProject(const QString& folder);
    // Stored projects: opening, saving, the recent menu, the project's name.
    WindowProjectStore& projectStore() const { return *projects_; }

    // --- options and about box ------------------------------------------
    void optionsCommand();            // mnuExtras_Optionen: frmOptionen, modal
    void aboutCommand();              // mnuHilfe_Info: frmAbout, modal
    // The code views (and the zoom) rendered again with the options now in force.
    void renderCodeViewsAgain();

    // --- trees and code views -------------------------------------------
    void showModule(int index);
    void layoutWindow();
    void showCompactWindow();         // mnuAnsicht_Spezial (F9), "/a"
    // The routine history, the caret tracking, Definition and the callers.
    WindowNavigation& navigation() const { return *navigation_; }
    // Sets the captions and states of the code view's pop-up as a right click does; returns the menu to show.
    QMenu* prepareCodePopup();

    // --- state, for tests and the benchmark ---------------------------------
    bool codeShown() const { return codeShown_; }
    bool projectShown() const { return projectShown_; }
    CompactWindow* compactWindow() const { return compactWindow_.get(); }
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    Ui& ui() const;
    // The one working store of this run, passed on to whatever reads it.
    WorkingStore& store() const;
    void buildPanes();
    void buildCommandParts();
    void wireParts();
    // Runs what an item of the command tables stands for: the part that owns
    // it, or the window. index is the item's index in an indexed group (the
    // recent projects) or the status panel it clicks, -1 otherwise.
    void run(Command command, int index);
    void fillCodeViews();
    void layoutPanes();
    bool splitterMayMoveTo(int newLeft) const;
    void setPanel(StatusPanel panel, const QString& text);
    bool maximizeLayout();

    // The parts (owned by Qt through their parents, or here).
    QWidget* client_ = nullptr;
    CommandBar* commandBar_ = nullptr;
    QWidget* container_ = nullptr;
    Trees* trees_ = nullptr;
    Splitter* splitter_ = nullptr;
    CodeArea* codeArea_ = nullptr;
    StatusPanels* statusPanels_ = nullptr;
    WorkProgress* progress_ = nullptr;
    HitPanel* hitPanel_ = nullptr;
    std::unique_ptr<CodeWindowSite> codeWindow_;
    std::unique_ptr<WindowNavigation> navigation_;
    std::unique_ptr<WindowSearch> search_;
    std::unique_ptr<WindowProjectStore> projects_;
    std::unique_ptr<WindowExports> exports_;

    // Where projects come from.
    std::unique_ptr<DocumentHost> documentHost_;
    HostConnector* hostConnector_ = nullptr;
    QString lastOpenFolder_;

    // The project shown.
    bool projectShown_ = false;
    bool codeShown_ = false;

    // Stands in for the window (mnuAnsicht_Spezial).
    std::unique_ptr<CompactWindow> compactWindow_;
};

}  // namespace lumo
