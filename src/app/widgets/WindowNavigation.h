#pragma once
// The window's navigation: the routine history (Back and Next on the status
// panels), the caret tracking that keeps the panels and the project tree on
// the routine of the caret, jumps from the trees' nodes, Definition, the
// callers and their call sites. The work is in navigate/, done over the
// code window interface; this part holds the state between the commands.
// The reading aids live here too: every reference of a name (in the hit
// panel), the hover over a name, the uses of the caret's name marked.
#include <functional>
#include <utility>

#include <QVector>

#include "base/StatusPanel.h"
#include "navigate/RoutineHistory.h"
#include "navigate/RoutineLocation.h"
#include "view/Commands.h"

class QPoint;
class QTreeWidgetItem;

namespace lumo {

class CodeArea;
class CodeWindow;
class CommandBar;
class HitPanel;
class StatusPanels;
class Trees;

class WindowNavigation {
public:
    // codeShown tells whether a project's code is shown: without it every command is left alone.
    WindowNavigation(CodeWindow& window, CodeArea& code, Trees& trees, StatusPanels& panels, CommandBar& commands,
                     HitPanel& hits, std::function<bool()> codeShown);

    // Runs a navigation command (Definition, callers, closing them, Back and
    // Next, whose index is the status panel clicked); false for any other
    // command, which is left alone.
    bool run(Command command, int index = -1);

    // A node of a tree chosen: its module, routine or call site shown.
    void nodeSelection(QTreeWidgetItem* item);
    // A status panel clicked: Back and Next walk the history.
    void statusPanelClick(StatusPanel panel);
    // Runs a jump of another part (a hit, a search) and records it in the
    // history when it moved the caret, after the place it left.
    void recordJump(const std::function<void()>& jump);
    // Caret moves in the view of module index `index` (key or mouse released).
    void trackCaret(int index);
    // Both status panels and the highlighted module follow the caret.
    void showCaretLocation();
    // The project tree selects and reveals the module and routine of the caret
    // in the code shown, after every jump (F8, search hit, history, callers).
    void followShownCode();
    // A caller's node opened: its lines that call the routine asked for.
    void callSitesOpened(QTreeWidgetItem* node);
    void closeCallerResult();  // mnuAnsicht_RouClose, "close" on tobSuche
    // No history, no caret reported: a project shown anew or none at all.
    void reset();

    // The mouse rests on position `position` of the view of module index
    // `index`: the declaration of the name there, with its comment block,
    // as a tooltip at globalPos; nothing beside a declared name.
    void hover(int index, int position, const QPoint& globalPos);
    // The tooltip's text for that place ("" for none; tests read it).
    QString hoverText(int index, int position);
    // The uses of the name at the caret of the shown view marked in it
    // (the caret rested); a caret still on a marked use keeps the marks.
    void markOccurrences(int index);
    // How often the uses were looked up (tests and benchmark).
    int occurrenceQueries() const { return occurrenceQueries_; }

    const RoutineHistory& history() const { return history_; }
    // How often the routine of the caret was asked of the store (tests and benchmark).
    int routineQueries() const { return routineQueries_; }

private:
    void definitionCommand();  // F8, mnuPopUpHaupt_Definition
    void callersCommand();     // Ctrl+F8, mnuPopUpHaupt_Aufruf, double click on "Routine"
    void allReferencesCommand();  // Shift+F8, mnuPopUpHaupt_Verweise
    // Each routine of the caller result opens to its lines that call the routine asked for.
    void offerCallSites();
    // A call-site node of the caller tree: its module shown, the caret on its line.
    void showCallSite(QTreeWidgetItem* item, int moduleNumber, int line);
    void showRoutineAtLine(int line, int moduleNumber);

    CodeWindow& window_;
    CodeArea& code_;
    Trees& trees_;
    StatusPanels& panels_;
    CommandBar& commands_;
    HitPanel& hits_;
    std::function<bool()> codeShown_;
    RoutineHistory history_;
    int callersRoutine_ = 0;  // rou_num of the routine whose callers are listed
    CaretTracker caret_;
    int routineQueries_ = 0;
    QString callersName_;  // the routine whose callers are listed
    int occurrenceQueries_ = 0;
    // The marks of the shown view: its module index and where they are.
    int markedModule_ = -1;
    QVector<std::pair<int, int>> marks_;
};

}  // namespace lumo
