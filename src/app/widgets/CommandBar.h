#pragma once
// The window's commands as widgets: the menu bar, the pop-up menus and the
// toolbar tobSymb1 with the search box, all built from the command tables
// (view/Commands.h). Every item is reached through its Command; a triggered
// item runs through the one function given at construction.
#include <array>
#include <functional>
#include <vector>

#include <QObject>
#include <QStringList>

#include "view/Commands.h"

class QAction;
class QLineEdit;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace lumo {

class CommandBar : public QObject {
    Q_OBJECT
public:
    // Runs a command; index is the item's index in an indexed group (or the
    // status panel it clicks), -1 otherwise.
    using Dispatch = std::function<void(Command command, int index)>;

    // Menus into the window's menu bar, pop-ups owned by the window, the
    // toolbar into toolbarParent.
    CommandBar(QMainWindow& window, QWidget* toolbarParent, Dispatch run);

    QToolBar* toolbar() const { return toolbar_; }
    QLineEdit* searchBox() const { return searchBox_; }
    QMenu* codePopup() const { return codePopup_; }      // mnuPopUpHaupt
    QMenu* zoomPopup() const { return zoomPopup_; }      // mnuPopUp_Zoom
    QMenu* readPopup() const { return readPopup_; }      // mnuPopUpEinlesen

    // The items of a command: its menu and pop-up items in table order, its toolbar button.
    QAction* menuAction(Command command, int nth = 0) const;
    QAction* toolAction(Command command) const;
    // Its item in the code view's pop-up.
    QAction* popupAction(Command command) const;
    // A button of another toolbar that runs a command and follows its state.
    void addToolAction(QAction* action, Command command);

    void setEnabled(Command command, bool on);
    void setChecked(Command command, bool on);
    bool checked(Command command) const;
    // Enables and disables as the state table says for a window showing
    // nothing (shown false) or a project.
    void applyState(bool shown);

    // The refresh item and button name the host ("Word", "Excel", ...).
    void setRefreshTexts(const QString& hostName);
    // The recent-project items of the Datei menu, one per folder, the rest hidden.
    void showRecentProjects(const QStringList& folders);
    // The code view's pop-up with Definition and Aufrufe naming the word at
    // the caret and the routine of the status panel.
    QMenu* prepareCodePopup(const QString& word, const QString& routine);

private:
    void buildMenus(QMainWindow& window);
    void buildToolbar(QWidget* parent);
    void wire(QAction* a, Command command, bool checkable);

    Dispatch run_;
    QToolBar* toolbar_ = nullptr;
    QLineEdit* searchBox_ = nullptr;
    QMenu* codePopup_ = nullptr;
    QMenu* zoomPopup_ = nullptr;
    QMenu* readPopup_ = nullptr;
    std::array<std::vector<QAction*>, kCommandCount> menuActions_;  // menu and pop-up items (and menus) by command
    std::array<std::vector<QAction*>, kCommandCount> toolActions_;  // toolbar buttons by command
};

}  // namespace lumo
