// The export commands of the window handed to the export layer.
#include "app/widgets/WindowExports.h"

#include <optional>

#include <QApplication>
#include <QDir>

#include "app/widgets/CodeArea.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "export/CompareExport.h"
#include "export/HtmlExport.h"
#include "export/ExportContext.h"
#include "export/Html.h"
#include "export/RoutineListing.h"
#include "export/RtfExport.h"
#include "export/site/SiteExport.h"
#include "export/StructureListing.h"
#include "export/TextExport.h"
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

Ui& ui() { return *appState().ui; }

WorkingStore& store() { return WorkingStore::instance(); }

}  // namespace

WindowExports::WindowExports(CodeArea& code, Trees& trees, StatusPanels& panels, std::function<QString()> projectName)
    : code_(code), trees_(trees), panels_(panels), projectName_(std::move(projectName)) {}

bool WindowExports::run(Command command) {
    switch (command) {
    case Command::HtmlClipboard: guarded([this] { htmlOfClipboard(context()); }); return true;
    case Command::HtmlSelection: guarded([this] { htmlOfSelection(*code_.shownView(), context()); }); return true;
    case Command::HtmlModule: guarded([this] { exportModuleHtml(store(), code_.current() + 1, context()); }); return true;
    case Command::HtmlProject:
        guarded([this] {
            std::optional<WorkProgress::Scope> work;
            if (progress_) work.emplace(*progress_);
            exportProjectHtml(store(), exportModules(trees_.projectTree()->outline(), trees_.state().moduleCount),
                              context());
        });
        return true;
    case Command::ZoomToHtml: htmlOfZoom(); return true;
    case Command::RtfModule: rtfModule(); return true;
    case Command::RtfProject: rtfProject(); return true;
    case Command::TextSelection: guarded([this] { textOfSelection(*code_.shownView(), context()); }); return true;
    case Command::TextModule: guarded([this] { textOfModule(*code_.visibleView(), context()); }); return true;
    case Command::CopySelection: copySelection(); return true;
    case Command::CopyModule: copyModule(); return true;
    case Command::ZoomCopy: copyZoom(); return true;
    case Command::Structure: structure(); return true;
    case Command::Website: website(); return true;
    case Command::CompareWith: compare(); return true;
    case Command::StructureLong:
        routineListingToClipboard(WorkingStore::instance(), ui(), appState().options.confirmClipboard,
                                  appState().titleText);
        return true;
    default: return false;
    }
}

ExportContext WindowExports::context() {
    const AppState& state = appState();
    return ExportContext{
        .ui = ui(),
        .options = state.options,
        .hostName = state.hostName,
        .previewFile = defaultPreviewFile(),
        .status =
            [this](const QString& text) {
                panels_.setText(PanelOperation, text);
                panels_.repaint();
            },
        .busy =
            [](bool on) {
                if (on)
                    QApplication::setOverrideCursor(Qt::WaitCursor);
                else
                    QApplication::restoreOverrideCursor();
            },
        .moduleHeadings = state.exportModuleHeadings,
        .progress = progress_ ? static_cast<Progress*>(progress_) : &noProgress(),
    };
}

void WindowExports::guarded(const std::function<void()>& exportCommand) {
    try {
        exportCommand();
    } catch (const std::exception& e) {
        ui().message(QString::fromStdString(e.what()));
    }
    panels_.setText(PanelOperation, QString());
}

void WindowExports::htmlOfZoom() {
    CodeView* zoom = code_.zoomView();
    FrozenView frozen(zoom);
    guarded([this, zoom] { htmlOfWholeView(*zoom, context()); });
}

void WindowExports::rtfModule() {
    guarded([this] {
        const QString path = chooseRtfFile(ui(), QDir::currentPath(), panels_.text(PanelModule));
        if (path.isEmpty()) return;
        QCoreApplication::processEvents();
        exportModuleRtf(path, store(), code_.current() + 1, context());
    });
}

void WindowExports::rtfProject() {
    guarded([this] {
        const QString path = chooseRtfFile(ui(), QDir::currentPath(), projectName_());
        if (path.isEmpty()) return;
        QCoreApplication::processEvents();
        std::optional<WorkProgress::Scope> work;
        if (progress_) work.emplace(*progress_);
        exportProjectRtf(path, store(), exportModules(trees_.projectTree()->outline(), trees_.state().moduleCount),
                         context());
    });
}

void WindowExports::copySelection() {
    CodeView* view = code_.shownView();
    view->setFocus();
    view->copy();
}

void WindowExports::copyModule() {
    CodeView* view = code_.visibleView();
    FrozenView frozen(view);
    lumo::copyModule(*view, code_.zoomOn(), ui(), [view] {
        view->setFocus();
        view->copy();
    });
}

void WindowExports::copyZoom() {
    CodeView* zoom = code_.zoomView();
    FrozenView frozen(zoom);
    copyWholeView(*zoom, ui(), [zoom] {
        zoom->setFocus();
        zoom->copy();
    });
}

void WindowExports::website() {
    guarded([this] {
        std::optional<WorkProgress::Scope> work;
        if (progress_) work.emplace(*progress_);
        const QString& start = appState().options.projectFolder;
        websiteCommand(store(), projectName_(), start.isEmpty() ? QDir::homePath() : start, context());
    });
}

void WindowExports::compare() {
    guarded([this] {
        const QString& start = appState().options.projectFolder;
        compareCommand(store(), projectName_(), start.isEmpty() ? QDir::homePath() : start, context());
    });
}

void WindowExports::structure() {
    // The tree that is shown; of several, the last in this order.
    KeyedTree* shown = trees_.shownTree();
    const NodeList outline = shown ? shown->outline() : NodeList{};
    structureToClipboard(outline.nodes(), ui(), appState().options.confirmClipboard, appState().titleText);
}

}  // namespace lumo
