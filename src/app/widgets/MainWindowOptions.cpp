// The options dialog and the about box from the window, and the code views
// made again when a changed option alters how code looks.
#include "app/widgets/MainWindow.h"
#include "base/AppState.h"
#include "dialogs/OptionsForm.h"
#include "dialogs/widgets/AboutDialog.h"
#include "dialogs/widgets/OptionsDialog.h"
#include "view/widgets/CodeView.h"

namespace lumo {

void MainWindow::optionsCommand() {
    const Options before = appState().options;
    OptionsDialog dialog(appState().options, ui(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    // Colours, font and tab stops act at every conversion; the views shown
    // were converted with the old ones. The text options act at the next read.
    if (lookChanged(before, appState().options)) renderCodeViewsAgain();
}

void MainWindow::aboutCommand() {
    AboutDialog dialog(ui(), this);
    dialog.exec();
}

void MainWindow::renderCodeViewsAgain() {
    if (!codeShown_ || trees_.moduleCount == 0) return;
    const int module = trees_.currentModule;
    CodeView* shown = visibleCodeView();
    const int start = shown->selStart();
    const int length = shown->selLength();
    const bool zoomed = zoomOn();
    if (zoomed) toggleZoom();
    try {
        fillCodeViews();
    } catch (const std::exception&) {
        showProject();  // a store that fails now is reported as any broken project is
        return;
    }
    showModule(module);
    CodeView* view = visibleCodeView();
    view->setSelStart(start);
    view->setSelLength(length);
    if (zoomed) toggleZoom();
}

}  // namespace lumo
