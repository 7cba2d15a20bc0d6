#pragma once
// The window's text search: the search box and its two switches (whole
// project, whole word), F3 from the start or from the caret, every hit at
// once in the hit panel and the jump to a hit chosen there. The work is in
// navigate/, done over the code window interface.
#include <functional>

#include "navigate/SearchHits.h"
#include "view/Commands.h"

namespace lumo {

class CodeWindow;
class CommandBar;
class HitPanel;
class Trees;
class WorkProgress;

class WindowSearch {
public:
    // A jump: runs it and records it in the routine history.
    using JumpRecorder = std::function<void(const std::function<void()>& jump)>;
    // codeShown tells whether a project's code is shown.
    WindowSearch(CodeWindow& window, Trees& trees, CommandBar& commands, HitPanel& hits, WorkProgress& progress,
                 std::function<bool()> codeShown, JumpRecorder recordJump);

    // Runs a search command; false for any other command, which is left alone.
    bool run(Command command);
    // A hit chosen in the hit panel: its module shown, the hit selected.
    void hitChosen(const SearchHit& hit);

private:
    void search(bool fromPosition);  // F3, Ctrl+F3
    void allHits();                  // Ctrl+Shift+F: every hit in the panel dckFundstellen
    void check();                    // Ctrl+Shift+P: the findings of "Prüfen" in the same panel
    void toggleSwitch(Command command);
    void selectionToSearch();        // Ctrl+F
    SearchSwitches switches() const;

    CodeWindow& window_;
    Trees& trees_;
    CommandBar& commands_;
    HitPanel& hits_;
    WorkProgress& progress_;
    std::function<bool()> codeShown_;
    JumpRecorder recordJump_;
};

}  // namespace lumo
