#include "app/widgets/MainWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QToolBar>

#include "acquire/DocumentHost.h"
#include "app/RunSession.h"
#include "app/widgets/CodeArea.h"
#include "app/widgets/CodeWindowSite.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/HitPanel.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/Twips.h"
#include "app/widgets/WindowExports.h"
#include "app/widgets/WindowNavigation.h"
#include "app/widgets/WindowProjectStore.h"
#include "app/widgets/WindowSearch.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"
#include "base/HelpPage.h"
#include "base/Progress.h"
#include "base/ScreenLayout.h"
#include "base/Settings.h"
#include "base/Ui.h"
#include "app/widgets/CompactWindow.h"
#include "model/TextOperations.h"
#include "model/WorkingStore.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/Splitter.h"
#include "view/widgets/Icons.h"

namespace lumo {

namespace {

// The window's measures, in twips (1440 to the inch) as the layout setting
// stores them; converted with the screen's logical DPI when laid out.
constexpr int kMarginTwips = 500;           // toolbar above and status bar below the panes
constexpr int kMinPaneTwips = 500;          // smaller than this: no layout at all
constexpr int kRightGapTwips = 240;
constexpr int kSplitterWidthTwips = 90;
constexpr int kSplitterStartTwips = 4200;
constexpr int kSplitterMinLeftTwips = 200;
constexpr int kSplitterMinRightTwips = 100;
constexpr int kSplitterDragWidthTwips = 1000;

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmHaupt"));
    documentHost_ = std::make_unique<DocumentHost>(appState().ui);
    hostConnector_ = documentHost_.get();
    setAcceptDrops(true);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("frmHauptClient"));
    setCentralWidget(client_);
    client_->installEventFilter(this);
    commandBar_ = new CommandBar(*this, client_, [this](Command command, int index) { run(command, index); });
    buildPanes();
    // The window's own status bar: below the hit panel too, at the very bottom.
    statusPanels_ = new StatusPanels(this);
    setStatusBar(statusPanels_);
    progress_ = new WorkProgress(this, *statusPanels_);
    connect(progress_, &WorkProgress::finished, this, [this] {
        if (progress_->closeWanted()) QTimer::singleShot(0, this, &QWidget::close);
    });
    setWorkTurn([progress = QPointer<WorkProgress>(progress_)] {
        if (progress) progress->turnIfDue();
    });
    hitPanel_ = new HitPanel(*this);
    commandBar_->addToolAction(trees_->buildCallerHead(client_, commandBar_->toolbar()), Command::CloseCallers);
    commandBar_->setEnabled(Command::CloseCallers, false);
    buildCommandParts();
    wireParts();
    setWindowTitle(appState().titleText);
    resize(twipsToPixelsX(14400), twipsToPixelsY(10080));
    setCommandState(CommandState::NothingShown);
    resetViews();
}

MainWindow::~MainWindow() { setWorkTurn({}); }

// The trees on the left, the splitter, the code area on the right.
void MainWindow::buildPanes() {
    container_ = new QWidget(client_);
    container_->setObjectName(QStringLiteral("fraContainer"));
    trees_ = new Trees(container_);
    splitter_ = new Splitter(container_);
    splitter_->setObjectName(QStringLiteral("fraTeiler"));
    splitter_->setGeometry(twipsToPixelsX(kSplitterStartTwips), 0, twipsToPixelsX(kSplitterWidthTwips), 10);
    splitter_->acceptLeft = [this](int left) { return splitterMayMoveTo(left); };
    connect(splitter_, &Splitter::released, this, &MainWindow::layoutPanes);
    codeArea_ = new CodeArea(container_, commandBar_->zoomPopup());
}

// The parts that answer commands. The navigation and the search work over
// the code window interface, which asks the window to show a module and the
// navigation where the caret is.
void MainWindow::buildCommandParts() {
    codeWindow_ = std::make_unique<CodeWindowSite>(*codeArea_, *trees_, *statusPanels_, *commandBar_, *progress_, this);
    const auto shown = [this] { return codeShown_; };
    codeWindow_->codeShown = shown;
    codeWindow_->showModuleHook = [this](int index) { showModule(index); };
    navigation_ = std::make_unique<WindowNavigation>(*codeWindow_, *codeArea_, *trees_, *statusPanels_, *commandBar_,
                                                     *hitPanel_, shown);
    codeWindow_->caretLocation = [this] { navigation_->showCaretLocation(); };
    codeWindow_->followShownCode = [this] { navigation_->followShownCode(); };
    search_ = std::make_unique<WindowSearch>(*codeWindow_, *trees_, *commandBar_, *hitPanel_, *progress_, shown,
                                             [this](const std::function<void()>& jump) { navigation_->recordJump(jump); });
    projects_ = std::make_unique<WindowProjectStore>(*this, *commandBar_);
    exports_ = std::make_unique<WindowExports>(*codeArea_, *trees_, *statusPanels_,
                                               [this] { return projects_->projectName(); });
    exports_->setProgress(progress_);
}

void MainWindow::wireParts() {
    connect(trees_, &Trees::nodeSelected, this, [this](QTreeWidgetItem* item) { navigation_->nodeSelection(item); });
    connect(trees_, &Trees::ticksChanged, this,
            [this](bool readable) { commandBar_->setEnabled(Command::ReadCode, readable); });
    connect(codeArea_, &CodeArea::contextMenuRequested, this,
            [this](CodeView* view, const QPoint& pos) { prepareCodePopup()->popup(view->mapToGlobal(pos)); });
    connect(codeArea_, &CodeArea::caretMayHaveMoved, this, [this](int index) { navigation_->trackCaret(index); });
    connect(codeArea_, &CodeArea::caretSettled, this, [this](int index) { navigation_->markOccurrences(index); });
    connect(codeArea_, &CodeArea::hoverRequested, this,
            [this](int index, int pos, const QPoint& global) { navigation_->hover(index, pos, global); });
    connect(codeArea_, &CodeArea::definitionClicked, this, [this] { run(Command::Definition, -1); });
    connect(trees_->callerTree(), &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { navigation_->callSitesOpened(node); });
    connect(hitPanel_, &HitPanel::hitChosen, this, [this](const SearchHit& hit) { search_->hitChosen(hit); });
    // Clicks: history and focus; a double click on "Routine": callers.
    connect(statusPanels_, &StatusPanels::clicked, this,
            [this](StatusPanel panel) { navigation_->statusPanelClick(panel); });
    connect(statusPanels_, &StatusPanels::doubleClicked, this, [this](StatusPanel panel) {
        if (panel == PanelRoutine) navigation_->run(Command::Callers);
    });
}

bool MainWindow::openStoredProject(const QString& folder) { return projects_->openFolder(folder); }

void MainWindow::setHostConnector(HostConnector* connector) {
    hostConnector_ = connector ? connector : documentHost_.get();
}

Ui& MainWindow::ui() const {
    return *appState().ui;
}

WorkingStore& MainWindow::store() const {
    return WorkingStore::instance();
}

int MainWindow::twipsToPixelsX(int twips) const {
    return lumo::twipsToPixelsX(*this, twips);
}

int MainWindow::twipsToPixelsY(int twips) const {
    return lumo::twipsToPixelsY(*this, twips);
}

void MainWindow::run(Command command, int index) {
    if (navigation_->run(command, index) || search_->run(command) || projects_->run(command, index) ||
        exports_->run(command))
        return;
    switch (command) {
    case Command::OpenDocument: openDocumentCommand(); break;
    case Command::OpenModuleFolder: openModuleFolderCommand(); break;
    case Command::New:
    case Command::Refresh: refreshCommand(); break;
    case Command::Quit: close(); break;
    case Command::ReadCode: readTickedCode(); break;
    case Command::Zoom: toggleZoom(); break;
    case Command::ScreenDefine: defineScreenLayout(); break;
    case Command::ScreenCall: applyScreenLayout(); break;
    case Command::ClearClipboard: ui().clearClipboard(); break;
    case Command::Help: helpCommand(); break;
    case Command::CompactWindow: showCompactWindow(); break;
    // Options and about box
    case Command::Options: optionsCommand(); break;
    case Command::About: aboutCommand(); break;
    default: break;  // commands whose items do not exist yet
    }
}

void MainWindow::setPanel(StatusPanel panel, const QString& text) {
    statusPanels_->setText(panel, text);
}

// ---------------------------------------------------------------------------
// Command states and view reset

void MainWindow::setCommandState(CommandState state) {
    if (int(state) < 0 || int(state) > 2) return;
    const bool shown = state != CommandState::NothingShown;
    projectShown_ = shown;
    commandBar_->applyState(shown);
    if (!shown) statusPanels_->showNothing();
}

void MainWindow::resetViews() {
    navigation_->reset();
    trees_->explanationBox()->hide();
    hitPanel_->clearHits();
    codeArea_->reset();
    commandBar_->setEnabled(Command::ReadCode, false);
    if (codeArea_->zoomOn()) toggleZoom();
    layoutWindow();
}

// ---------------------------------------------------------------------------
// Layout and splitter

void MainWindow::layoutWindow() {
    const int w = client_->width();
    const int hAll = client_->height();
    const int margin = twipsToPixelsY(kMarginTwips);
    // The toolbar sits in the margin above the panes; the status bar, in the
    // margin below them, is the window's own and lies outside this area, so
    // that open panels never come between it and the window's bottom.
    commandBar_->toolbar()->setGeometry(0, 0, w, margin);
    trees_->callerToolbar()->setGeometry(0, 0, w, margin);
    const int sbh = std::min(margin, statusPanels_->sizeHint().height());

    container_->move(container_->x(), margin);
    const int h = hAll + sbh - 2 * margin;
    if (h < twipsToPixelsY(kMinPaneTwips) || w < twipsToPixelsX(kMinPaneTwips)) return;
    container_->setGeometry(0, margin, w, h);
    CodeView* view = codeArea_->visibleView();
    const QRect pane = trees_->leftPane();
    trees_->placeLeftPane(QRect(pane.x(), 0, pane.width(), h));
    splitter_->setGeometry(splitter_->x(), 0, splitter_->width(), h);
    view->setGeometry(view->x(), 0, view->width(), h);
    layoutPanes();
}

void MainWindow::layoutPanes() {
    const int containerWidth = container_->width();
    const int left = splitter_->x();
    if (left >= containerWidth) return;
    const QRect pane = trees_->leftPane();
    trees_->placeLeftPane(QRect(0, pane.y(), left, pane.height()));
    CodeView* view = codeArea_->visibleView();
    const int w = containerWidth - splitter_->width() - left - twipsToPixelsX(kRightGapTwips);
    const int width = w > 0 ? w : view->width();  // a pane too narrow keeps the width it had
    view->setGeometry(left + splitter_->width(), view->y(), width, view->height());
    codeArea_->zoomView()->setGeometry(view->geometry());
}

bool MainWindow::splitterMayMoveTo(int newLeft) const {
    const int containerWidth = container_->width();
    if (containerWidth < twipsToPixelsX(kSplitterDragWidthTwips)) return false;
    return newLeft >= twipsToPixelsX(kSplitterMinLeftTwips) &&
           newLeft <= containerWidth - splitter_->width() - twipsToPixelsX(kSplitterMinRightTwips);
}

// ---------------------------------------------------------------------------
// Zoom and the code view's pop-up

void MainWindow::toggleZoom() {
    commandBar_->setChecked(Command::Zoom, !codeArea_->zoomOn());
    codeArea_->toggleZoom();
}

QMenu* MainWindow::prepareCodePopup() {
    // Without a project its "Code Einlesen" shares the state of the menu item (one command).
    if (!projectShown_) return commandBar_->readPopup();
    CodeView* view = codeArea_->visibleView();
    return commandBar_->prepareCodePopup(wordAtCaret(view->text(), view->selStart()),
                                         statusPanels_->text(PanelRoutine));
}

// ---------------------------------------------------------------------------
// Help, layout commands, closing

void MainWindow::helpCommand() { openHelpPage(ui()); }

void MainWindow::defineScreenLayout() {
    if (ui().question(QStringLiteral("Aktuelle Anzeigegrösse als Standard festlegen ?"), MsgButtons::YesNo,
                      MsgIcon::Question) != Answer::Yes)
        return;
    auto tw = [](int px, int dpi) { return qRound(px * 1440.0 / dpi); };
    ScreenLayout layout;
    layout.maximized = isMaximized();
    layout.left = tw(x(), logicalDpiX());
    layout.top = tw(y(), logicalDpiY());
    layout.width = tw(width(), logicalDpiX());
    layout.height = tw(height(), logicalDpiY());
    auto& options = appState().options;
    options.screenLayout = encodeScreenLayout(layout);
    saveSetting(QStringLiteral("optionen"), QStringLiteral("bis"), options.screenLayout);
}

void MainWindow::applyScreenLayout() {
    const std::optional<ScreenLayout> layout = decodeScreenLayout(appState().options.screenLayout);
    const int width = layout ? twipsToPixelsX(layout->width) : 0;
    const int height = layout ? twipsToPixelsY(layout->height) : 0;
    if (layout && layout->maximized) {
        maximizeLayout();
        return;
    }
    // A window of no size is refused as the original window refused it.
    if (!layout || width <= 0 || height <= 0) {
        ui().message(QStringLiteral("Falsche Bildschirmdaten"), {}, MsgIcon::Warning);
        maximizeLayout();
        return;
    }
    setWindowState(Qt::WindowNoState);
    move(twipsToPixelsX(layout->left), twipsToPixelsY(layout->top));
    resize(width, height);
}

bool MainWindow::maximizeLayout() {
    if (isVisible())
        showMaximized();
    else
        setWindowState(Qt::WindowMaximized);
    return true;
}

void MainWindow::showCompactWindow() {
    if (!compactWindow_) {
        compactWindow_ = std::make_unique<CompactWindow>();
        compactWindow_->setWindowIcon(windowIcon());
        compactWindow_->onHtml = [this] { exports_->run(Command::HtmlClipboard); };
        compactWindow_->onClosed = [this](bool back) {
            if (back) {
                show();
                activateWindow();
            } else {
                close();  // its own close button ends the program
            }
        };
    }
    hide();
    compactWindow_->open();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    runSession().shutdown();
    event->accept();
}

// ---------------------------------------------------------------------------
// Events of the code views and the client area

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) {
        if (!isMinimized()) layoutWindow();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    QString project;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        if (isStoredProject(url.toLocalFile()))
            project = url.toLocalFile();
        else
            paths << url.toLocalFile();
    }
    if (paths.isEmpty() && project.isEmpty()) return;
    event->acceptProposedAction();
    if (!paths.isEmpty()) openDocuments(paths);
    if (!project.isEmpty()) openStoredProject(project);
}

}  // namespace lumo
