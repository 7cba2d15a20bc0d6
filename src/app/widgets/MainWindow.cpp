#include "app/widgets/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "acquire/DocumentHost.h"
#include "app/RunSession.h"
#include "base/AppState.h"
#include "base/ScreenLayout.h"
#include "base/Settings.h"
#include "base/Ui.h"
#include "export/ExportCommands.h"
#include "export/ExportContext.h"
#include "export/TextExport.h"
#include "export/widgets/CompactWindow.h"
#include "model/WorkingStore.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/SearchBox.h"
#include "view/widgets/Splitter.h"
#include "view/widgets/TreeImages.h"

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

const char* const kPanelKeys[5] = {"Modul", "Routine", "Back", "Next", "Vorgang"};

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmHaupt"));
    documentHost_ = std::make_unique<DocumentHost>(appState().ui);
    hostConnector_ = documentHost_.get();
    projectStore_ = std::make_unique<ProjectStore>(appState(), store(), ui(), static_cast<ProjectView&>(*this));
    setAcceptDrops(true);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("frmHauptClient"));
    setCentralWidget(client_);
    client_->installEventFilter(this);
    buildMenus();
    buildToolbar();
    buildPanes();
    buildStatusBar();
    buildCallerHead();
    setWindowTitle(appState().titleText);
    resize(twipsToPixelsX(14400), twipsToPixelsY(10080));
    setCommandState(CommandState::NothingShown);
    resetViews();
}

MainWindow::~MainWindow() = default;

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
    return qRound(twips * logicalDpiX() / 1440.0);
}

int MainWindow::twipsToPixelsY(int twips) const {
    return qRound(twips * logicalDpiY() / 1440.0);
}

void MainWindow::buildMenus() {
    QHash<QString, QMenu*> menus;
    for (const MenuDef& m : menuTable()) {
        QMenu* menu = nullptr;
        switch (m.place) {
        case MenuPlace::Bar: menu = menuBar()->addMenu(QString::fromUtf8(m.caption)); break;
        case MenuPlace::Popup: menu = new QMenu(this); break;
        case MenuPlace::Submenu: menu = menus.value(QString::fromUtf8(m.parent))->addMenu(QString::fromUtf8(m.caption)); break;
        }
        menu->setObjectName(QString::fromUtf8(m.objectName));
        menu->menuAction()->setObjectName(QString::fromUtf8(m.objectName));
        if (m.hidden) menu->menuAction()->setVisible(false);
        if (m.state != Command::None) menuActions_[size_t(m.state)].push_back(menu->menuAction());
        menus.insert(menu->objectName(), menu);
    }
    for (const MenuItemDef& item : menuItemTable()) {
        QMenu* menu = menus.value(QString::fromUtf8(item.menu));
        if (item.flags & kSeparatorBefore) menu->addSeparator();
        QAction* a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QString::fromUtf8(item.objectName));
        if (*item.shortcut) a->setShortcut(QKeySequence::fromString(QString::fromUtf8(item.shortcut)));
        if (item.flags & kHidden) a->setVisible(false);
        if (item.index >= 0) a->setData(item.index);
        wireAction(a, item.command, item.flags & kCheckable);
        menuActions_[size_t(item.command)].push_back(a);
    }
    mnuPopUpHaupt_ = menus.value(QStringLiteral("mnuPopUpHaupt"));
    mnuPopUpZoom_ = menus.value(QStringLiteral("mnuPopUp_Zoom"));
    mnuPopUpEinlesen_ = menus.value(QStringLiteral("mnuPopUpEinlesen"));
    // A menu none of whose commands exist yet is left out of the bar.
    for (QMenu* menu : menus)
        if (menu->actions().isEmpty()) menu->menuAction()->setVisible(false);
}

void MainWindow::wireAction(QAction* a, Command command, bool checkable) {
    if (command == Command::None) return;
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, a, command, checkable](bool) {
        // The command sets the marks of all its items itself, so the click's
        // own toggle is taken back first.
        if (checkable) a->setChecked(!a->isChecked());
        run(command, a->data().isValid() ? a->data().toInt() : -1);
    });
}

void MainWindow::buildToolbar() {
    tobSymb1_ = new QToolBar(client_);
    tobSymb1_->setObjectName(QStringLiteral("tobSymb1"));
    tobSymb1_->setIconSize(QSize(20, 20));
    tobSymb1_->setMovable(false);
    // Pictures only; the tooltips name the commands.
    tobSymb1_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolButtonDef& b : toolButtonTable()) {
        if (b.flags & kSeparatorBefore) tobSymb1_->addSeparator();
        if (b.command == Command::Search) {
            txtSuche_ = new SearchBox(tobSymb1_);
            txtSuche_->setMaximumWidth(twipsToPixelsX(2400));
            connect(txtSuche_, &QLineEdit::returnPressed, this, [this] { searchCommand(true); });
            tobSymb1_->addWidget(txtSuche_);
        }
        const QString key = QString::fromUtf8(b.key);
        QAction* a = tobSymb1_->addAction(toolbarIcon(key), QString::fromUtf8(b.tooltip));
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tooltip));
        wireAction(a, b.command, b.flags & kCheckable);
        toolActions_[size_t(b.command)].push_back(a);
    }
}

void MainWindow::run(Command command, int index) {
    switch (command) {
    case Command::OpenDocument: openDocumentCommand(); break;
    case Command::OpenModuleFolder: openModuleFolderCommand(); break;
    case Command::OpenProject: openProjectCommand(); break;
    case Command::SaveProject: saveProjectCommand(); break;
    case Command::OpenRecent: openRecentCommand(index); break;
    case Command::New:
    case Command::Refresh: refreshCommand(); break;
    case Command::Quit: close(); break;
    case Command::ReadCode: readTickedCode(); break;
    case Command::Zoom: toggleZoom(); break;
    // navigation and search
    case Command::Definition: definitionCommand(); break;
    case Command::Callers: callersCommand(); break;
    case Command::CloseCallers: closeCallerResult(); break;
    case Command::RoutineBack:
    case Command::RoutineNext: statusPanelClick(index); break;
    case Command::Search: searchCommand(false); break;
    case Command::SearchFromPosition: searchCommand(true); break;
    case Command::ToggleProjectSearch:
    case Command::ToggleWholeWord: toggleSearchSwitch(command); break;
    case Command::SelectionToSearch: selectionToSearch(); break;
    case Command::ScreenDefine: defineScreenLayout(); break;
    case Command::ScreenCall: applyScreenLayout(); break;
    case Command::ClearClipboard: ui().clearClipboard(); break;
    case Command::Help: hilfeAufrufen(); break;
    // Exports
    case Command::HtmlClipboard: runExport([this] { htmlOfClipboard(exportContext()); }); break;
    case Command::HtmlSelection: runExport([this] { htmlOfSelection(*shownCodeView(), exportContext()); }); break;
    case Command::HtmlModule:
        runExport([this] { exportModuleHtml(store(), trees_.currentModule + 1, exportContext()); });
        break;
    case Command::HtmlProject:
        runExport([this] {
            exportProjectHtml(store(), exportModules(treProjekt_->outline(), trees_.moduleCount), exportContext());
        });
        break;
    case Command::ZoomToHtml: htmlOfZoomCommand(); break;
    case Command::RtfModule: rtfModuleCommand(); break;
    case Command::RtfProject: rtfProjectCommand(); break;
    case Command::TextSelection: runExport([this] { textOfSelection(*shownCodeView(), exportContext()); }); break;
    case Command::TextModule: runExport([this] { textOfModule(*visibleCodeView(), exportContext()); }); break;
    case Command::CopySelection: copySelectionCommand(); break;
    case Command::CopyModule: copyModuleCommand(); break;
    case Command::ZoomCopy: copyZoomCommand(); break;
    case Command::Structure: structureCommand(); break;
    case Command::CompactWindow: showCompactWindow(); break;
    // Options and about box
    case Command::Options: optionsCommand(); break;
    case Command::About: aboutCommand(); break;
    default: break;  // commands whose items do not exist yet
    }
}

QAction* MainWindow::menuAction(Command command, int nth) const {
    const auto& list = menuActions_[size_t(command)];
    return nth >= 0 && nth < int(list.size()) ? list[size_t(nth)] : nullptr;
}

QAction* MainWindow::toolAction(Command command) const {
    const auto& list = toolActions_[size_t(command)];
    return list.empty() ? nullptr : list.front();
}

void MainWindow::setCommandEnabled(Command command, bool on) {
    for (QAction* a : menuActions_[size_t(command)]) a->setEnabled(on);
    for (QAction* a : toolActions_[size_t(command)]) a->setEnabled(on);
}

void MainWindow::setCommandChecked(Command command, bool on) {
    for (QAction* a : menuActions_[size_t(command)])
        if (a->isCheckable()) a->setChecked(on);
    for (QAction* a : toolActions_[size_t(command)])
        if (a->isCheckable()) a->setChecked(on);
}

bool MainWindow::commandChecked(Command command) const {
    for (QAction* a : menuActions_[size_t(command)])
        if (a->isCheckable()) return a->isChecked();
    return false;
}

void MainWindow::buildStatusBar() {
    staBar_ = new QStatusBar(client_);
    staBar_->setObjectName(QStringLiteral("staBar"));
    staBar_->setSizeGripEnabled(false);
    const QString texts[5] = {QStringLiteral("Modul:"), QStringLiteral("Routine:"), QStringLiteral("<<"),
                              QStringLiteral(">>"), QStringLiteral("Aktueller Vorgang")};
    const int stretch[5] = {3, 3, 0, 0, 2};
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(texts[i], staBar_);
        l->setObjectName(QString::fromUtf8(kPanelKeys[i]));
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMargin(2);
        if (i == 2 || i == 3) {
            l->setAlignment(Qt::AlignCenter);
            l->setMinimumWidth(twipsToPixelsX(480));
        } else {
            l->setMinimumWidth(twipsToPixelsX(1500));
        }
        staBar_->addWidget(l, stretch[i]);
        l->installEventFilter(this);  // clicks: history and focus; double click on "Routine": callers
        panels_[i] = l;
    }
    panels_[2]->setToolTip(QStringLiteral("Eine Routine Zurück (F4)"));
    panels_[3]->setToolTip(QStringLiteral("Eine Routine Weiter (Strg+F4)"));
}

void MainWindow::buildPanes() {
    fraContainer_ = new QWidget(client_);
    fraContainer_->setObjectName(QStringLiteral("fraContainer"));

    auto images = [](const QString& key) { return treeIcon(key); };
    treProjekt_ = new KeyedTree(fraContainer_);
    treProjekt_->setObjectName(QStringLiteral("treProjekt"));
    treProjekt_->setImageSource(images);
    treProjekt_->setIgnoreFlag(&trees_.ignoreNextNodeClick);
    connect(treProjekt_, &KeyedTree::nodeSelected, this, &MainWindow::nodeSelection);

    treRoutSuche_ = new KeyedTree(fraContainer_);
    treRoutSuche_->setObjectName(QStringLiteral("treRoutSuche"));
    treRoutSuche_->setImageSource(images);
    treRoutSuche_->setIgnoreFlag(&trees_.ignoreNextNodeClick);
    treRoutSuche_->hide();
    connect(treRoutSuche_, &KeyedTree::nodeSelected, this, &MainWindow::nodeSelection);

    treApp_ = new KeyedTree(fraContainer_);
    treApp_->setObjectName(QStringLiteral("treApp"));
    treApp_->setImageSource(images);
    treApp_->setCheckable(true);
    connect(treApp_, &KeyedTree::nodeChecked, this, &MainWindow::checkHandler);

    txtAppAktiv_ = new QPlainTextEdit(fraContainer_);
    txtAppAktiv_->setObjectName(QStringLiteral("txtAppAktiv"));
    txtAppAktiv_->setReadOnly(true);
    txtAppAktiv_->hide();

    fraTeiler_ = new Splitter(fraContainer_);
    fraTeiler_->setObjectName(QStringLiteral("fraTeiler"));
    fraTeiler_->setGeometry(twipsToPixelsX(kSplitterStartTwips), 0, twipsToPixelsX(kSplitterWidthTwips), 10);
    fraTeiler_->acceptLeft = [this](int left) { return splitterMayMoveTo(left); };
    connect(fraTeiler_, &Splitter::released, this, &MainWindow::layoutPanes);

    rtbHaupt_.push_back(makeCodeView(0));
    rtbZoom_ = new CodeView(fraContainer_);
    rtbZoom_->setObjectName(QStringLiteral("rtbZoom"));
    rtbZoom_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rtbZoom_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { mnuPopUpZoom_->popup(rtbZoom_->mapToGlobal(p)); });
    rtbZoom_->hide();
    rtbFarbeBlind_ = new CodeView(fraContainer_);
    rtbFarbeBlind_->setObjectName(QStringLiteral("rtbFarbeBlind"));
    rtbFarbeBlind_->hide();
}

CodeView* MainWindow::makeCodeView(int index) {
    auto* v = new CodeView(fraContainer_);
    v->setObjectName(QStringLiteral("rtbHaupt"));
    v->setProperty("index", index);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& p) { codeContextMenu(v, p); });
    connect(v, &CodeView::keyReleased, this, [this, index](int) { trackCaret(index); });
    connect(v, &CodeView::mouseReleased, this, [this, index](int button) {
        if (button == 1) trackCaret(index);
    });
    v->hide();
    return v;
}

QLabel* MainWindow::statusPanel(int index) const {
    return (index >= 1 && index <= 5) ? panels_[index - 1] : nullptr;
}

void MainWindow::setPanel(int index, const QString& text) {
    if (auto* p = statusPanel(index)) p->setText(text);
}

CodeView* MainWindow::codeView(int index) const {
    return (index >= 0 && index < int(rtbHaupt_.size())) ? rtbHaupt_[size_t(index)] : nullptr;
}

CodeView* MainWindow::visibleCodeView() const {
    return codeView(trees_.currentModule);
}

bool MainWindow::zoomOn() const {
    return commandChecked(Command::Zoom);
}

// ---------------------------------------------------------------------------
// Command states and view reset

void MainWindow::setCommandState(CommandState state) {
    if (int(state) < 0 || int(state) > 2) return;
    const bool shown = state != CommandState::NothingShown;
    projectShown_ = shown;
    for (const CommandStateDef& row : commandStateTable())
        setCommandEnabled(row.command, shown ? row.enabledWhenShown : row.enabledWhenEmpty);
    if (!shown) {
        setPanel(1, QStringLiteral("Modul"));
        setPanel(2, QStringLiteral("Routine"));
        setPanel(5, QStringLiteral("Aktion"));
    }
}

void MainWindow::resetViews() {
    setHistoryEnabled(false, false);
    caret_.reset();
    txtAppAktiv_->hide();
    history_.reset();
    resetCodeViews();
    rtbHaupt_[0]->show();
    setCommandEnabled(Command::ReadCode, false);
    if (zoomOn()) toggleZoom();
    layoutWindow();
}

void MainWindow::resetCodeViews() {
    trees_.currentModule = 0;
    while (rtbHaupt_.size() > 1) {
        delete rtbHaupt_.back();
        rtbHaupt_.pop_back();
    }
    rtbHaupt_[0]->setRtf(QString());
}

// ---------------------------------------------------------------------------
// Layout and splitter

void MainWindow::layoutWindow() {
    const int w = client_->width();
    const int hAll = client_->height();
    const int margin = twipsToPixelsY(kMarginTwips);
    // The toolbar and the status bar sit in the margins above and below the panes.
    tobSymb1_->setGeometry(0, 0, w, margin);
    tobSuche_->setGeometry(0, 0, w, margin);
    const int sbh = std::min(margin, staBar_->sizeHint().height());
    staBar_->setGeometry(0, hAll - sbh, w, sbh);

    fraContainer_->move(fraContainer_->x(), margin);
    const int h = hAll - 2 * margin;
    if (h < twipsToPixelsY(kMinPaneTwips) || w < twipsToPixelsX(kMinPaneTwips)) return;
    fraContainer_->setGeometry(0, margin, w, h);
    CodeView* view = visibleCodeView();
    treProjekt_->setGeometry(treProjekt_->x(), 0, treProjekt_->width(), h);
    fraTeiler_->setGeometry(fraTeiler_->x(), 0, fraTeiler_->width(), h);
    view->setGeometry(view->x(), 0, view->width(), h);
    layoutPanes();
}

void MainWindow::layoutPanes() {
    const int containerWidth = fraContainer_->width();
    const int left = fraTeiler_->x();
    if (left >= containerWidth) return;
    treProjekt_->setGeometry(0, treProjekt_->y(), left, treProjekt_->height());
    CodeView* view = visibleCodeView();
    const int w = containerWidth - fraTeiler_->width() - left - twipsToPixelsX(kRightGapTwips);
    const int width = w > 0 ? w : view->width();  // a pane too narrow keeps the width it had
    view->setGeometry(left + fraTeiler_->width(), view->y(), width, view->height());
    const QRect tree = treProjekt_->geometry();
    treApp_->setGeometry(tree);
    treRoutSuche_->setGeometry(tree);
    txtAppAktiv_->setGeometry(tree);
    rtbZoom_->setGeometry(view->geometry());
}

bool MainWindow::splitterMayMoveTo(int newLeft) const {
    const int containerWidth = fraContainer_->width();
    if (containerWidth < twipsToPixelsX(kSplitterDragWidthTwips)) return false;
    return newLeft >= twipsToPixelsX(kSplitterMinLeftTwips) &&
           newLeft <= containerWidth - fraTeiler_->width() - twipsToPixelsX(kSplitterMinRightTwips);
}

// ---------------------------------------------------------------------------
// Zoom

void MainWindow::toggleZoom() {
    const bool on = !zoomOn();
    setCommandChecked(Command::Zoom, on);
    rtbZoom_->setVisible(on);
    if (!on) return;
    rtbZoom_->raise();
    CodeView* view = visibleCodeView();
    // The zoom shows the caret's routine; leaving the zoom finds the caret
    // where the user left it.
    const int start = view->selStart();
    const int length = view->selLength();
    zoomToRoutine(*view, *rtbZoom_, store(), trees_.currentModule + 1, view->lineOfPosition(start) + 1, ui());
    view->setSelStart(start);
    view->setSelLength(length);
}

// ---------------------------------------------------------------------------
// Help, layout commands, closing

void MainWindow::hilfeAufrufen() {
    QString folder = appState().programFolder;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    const QString name = QStringLiteral("Code Lumo.html");
    const QString file = folder + name;
    if (QFileInfo::exists(file)) {
        if (!ui().openInViewer(file))
            ui().message(QStringLiteral("Die Hilfsdatei ") + file + QStringLiteral(" konnte nicht angezeigt werden."));
        return;
    }
    const QString code = appState().hostCode;
    ui().message(QStringLiteral("Die Hilfsdatei:\r\n") + name + QStringLiteral("\r\nkonnte nicht gefunden werden. \r\n") +
                 QStringLiteral("Diese muss im selben Verzeichnis wie") + code +
                 QStringLiteral("_RX.exe installiert werden.\r\n") + QStringLiteral("Bitte kopieren Sie also ") + name +
                 QStringLiteral(" nach:\r\n") + folder);
}

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
    for (int i = 0; i < 5; ++i) {
        if (watched != panels_[i]) continue;
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            statusPanelClick(i + 1);
        else if (event->type() == QEvent::MouseButtonDblClick && i + 1 == PanelRoutine)
            callersCommand();
        return false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::codeContextMenu(CodeView* view, const QPoint& pos) {
    prepareCodePopup()->popup(view->mapToGlobal(pos));
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
