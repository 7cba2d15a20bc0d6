#pragma once
// Every export command of the window in one place: what each reads from the
// window (the shown view, the current module, the project tree's modules,
// the project's name) handed to the export layer (src/export), with the
// status panel "Vorgang" and the hourglass while it runs.
#include <functional>

#include <QString>

#include "view/Commands.h"

namespace lumo {

class CodeArea;
class StatusPanels;
class Trees;
class WorkProgress;
struct ExportContext;

class WindowExports {
public:
    WindowExports(CodeArea& code, Trees& trees, StatusPanels& panels, std::function<QString()> projectName);

    // Runs an export command (HTML, RTF, text, copies, structure); false
    // for any other command, which is left alone.
    bool run(Command command);
    // Exports of the whole project run as work of the window: progress in
    // panel 5, stopped with Escape (not owned).
    void setProgress(WorkProgress* progress) { progress_ = progress; }

private:
    ExportContext context();
    // Runs an export, showing what it throws instead of letting it end the program.
    void guarded(const std::function<void()>& exportCommand);
    void htmlOfZoom();
    void rtfModule();
    void rtfProject();
    void copySelection();
    void copyModule();
    void copyZoom();
    void structure();
    void website();
    void compare();

    CodeArea& code_;
    Trees& trees_;
    StatusPanels& panels_;
    std::function<QString()> projectName_;
    WorkProgress* progress_ = nullptr;
};

}  // namespace lumo
