// The options dialog and the about box from the window, and the code views
// made again when a changed option alters how code looks.
#include "app/widgets/CodeArea.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Trees.h"
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
    codeArea_->setLineNumbersShown(appState().options.showLineNumbers);
}

void MainWindow::aboutCommand() {
    AboutDialog dialog(ui(), this);
    dialog.exec();
}

void MainWindow::renderCodeViewsAgain() {
    if (!codeShown_ || trees_->state().moduleCount == 0) return;
    const int module = codeArea_->current();
    CodeView* shown = codeArea_->visibleView();
    const int start = shown->selStart();
    const int length = shown->selLength();
    const bool zoomed = codeArea_->zoomOn();
    if (zoomed) toggleZoom();
    try {
        codeArea_->renderAgain();
    } catch (const std::exception&) {
        showProject();  // a store that fails now is reported as any broken project is
        return;
    }
    showModule(module);
    CodeView* view = codeArea_->visibleView();
    view->setSelStart(start);
    view->setSelLength(length);
    if (zoomed) toggleZoom();
}

}  // namespace lumo
