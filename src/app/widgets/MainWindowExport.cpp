// The export side of the main window: what the export commands read from
// the window (the shown view, the current module, the tree's modules) and
// the compact window that stands in for the main window. The exports
// themselves live in src/export.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QStatusBar>

#include "app/widgets/MainWindow.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "export/ExportCommands.h"
#include "export/ExportContext.h"
#include "export/Html.h"
#include "export/RtfExport.h"
#include "export/StructureListing.h"
#include "export/TextExport.h"
#include "export/widgets/CompactWindow.h"
#include "model/WorkingStore.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

namespace lumo {

namespace {

// No repaint of a view while a command selects its whole text and puts the
// caret back, however the command ends.
class FrozenView {
public:
    explicit FrozenView(QWidget* view) : view_(view) { view_->setUpdatesEnabled(false); }
    ~FrozenView() { view_->setUpdatesEnabled(true); }

private:
    QWidget* view_;
};

}  // namespace

ExportContext MainWindow::exportContext() {
    const AppState& state = appState();
    return ExportContext{
        .ui = ui(),
        .options = state.options,
        .hostName = state.hostName,
        .previewFile = defaultPreviewFile(),
        .status =
            [this](const QString& text) {
                setPanel(5, text);
                staBar_->repaint();
            },
        .busy =
            [](bool on) {
                if (on)
                    QApplication::setOverrideCursor(Qt::WaitCursor);
                else
                    QApplication::restoreOverrideCursor();
            },
        .moduleHeadings = state.exportModuleHeadings,
    };
}

CodeView* MainWindow::shownCodeView() const {
    return zoomOn() ? rtbZoom_ : visibleCodeView();
}

void MainWindow::runExport(const std::function<void()>& exportCommand) {
    try {
        exportCommand();
    } catch (const std::exception& e) {
        ui().message(QString::fromStdString(e.what()));
    }
    setPanel(5, QString());
}

void MainWindow::htmlOfZoomCommand() {
    FrozenView frozen(rtbZoom_);
    runExport([this] { htmlOfWholeView(*rtbZoom_, exportContext()); });
}

void MainWindow::rtfModuleCommand() {
    runExport([this] {
        const QString path = chooseRtfFile(ui(), QDir::currentPath(), statusPanel(1)->text());
        if (path.isEmpty()) return;
        QCoreApplication::processEvents();
        exportModuleRtf(path, store(), trees_.currentModule + 1, exportContext());
    });
}

void MainWindow::rtfProjectCommand() {
    runExport([this] {
        const QString path = chooseRtfFile(ui(), QDir::currentPath(), projectName_);
        if (path.isEmpty()) return;
        QCoreApplication::processEvents();
        exportProjectRtf(path, store(), exportModules(treProjekt_->outline(), trees_.moduleCount), exportContext());
    });
}

void MainWindow::copySelectionCommand() {
    CodeView* view = shownCodeView();
    view->setFocus();
    view->copy();
}

void MainWindow::copyModuleCommand() {
    CodeView* view = visibleCodeView();
    FrozenView frozen(view);
    copyModule(*view, zoomOn(), ui(), [view] {
        view->setFocus();
        view->copy();
    });
}

void MainWindow::copyZoomCommand() {
    FrozenView frozen(rtbZoom_);
    copyWholeView(*rtbZoom_, ui(), [this] {
        rtbZoom_->setFocus();
        rtbZoom_->copy();
    });
}

void MainWindow::structureCommand() {
    // The tree that is shown; of several, the last in this order.
    KeyedTree* shown = nullptr;
    for (KeyedTree* tree : {treApp_, treProjekt_, treRoutSuche_})
        if (!tree->isHidden()) shown = tree;
    const NodeList outline = shown ? shown->outline() : NodeList{};
    structureToClipboard(outline.nodes(), ui(), appState().options.confirmClipboard, appState().titleText);
}

void MainWindow::showCompactWindow() {
    if (!frmMin_) {
        frmMin_ = std::make_unique<CompactWindow>();
        frmMin_->setWindowIcon(windowIcon());
        frmMin_->onHtml = [this] { runExport([this] { htmlOfClipboard(exportContext()); }); };
        frmMin_->onClosed = [this](bool back) {
            if (back) {
                show();
                activateWindow();
            } else {
                close();  // its own close button ends the program
            }
        };
    }
    hide();
    frmMin_->open();
}

}  // namespace lumo
