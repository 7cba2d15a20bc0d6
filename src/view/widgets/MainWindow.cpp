#include "view/widgets/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "acquire/DocumentHost.h"
#include "app/AppState.h"
#include "app/RunSession.h"
#include "app/Settings.h"
#include "app/Ui.h"
#include "model/WorkingStore.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"
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
    setAcceptDrops(true);
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("frmHauptClient"));
    setCentralWidget(client_);
    client_->installEventFilter(this);
    buildMenus();
    buildToolbar();
    buildPanes();
    buildStatusBar();
    setWindowTitle(appState().titleText);
    resize(twipsToPixelsX(14400), twipsToPixelsY(10080));
    setCommandState(0);
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

QAction* MainWindow::addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& shortcut) {
    auto* a = menu->addAction(caption);
    a->setObjectName(QString::fromUtf8(name));
    if (!shortcut.isEmpty()) a->setShortcut(shortcut);
    actions_.insert(a->objectName(), a);
    return a;
}

void MainWindow::buildMenus() {
    auto* bar = menuBar();
    auto* datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("mnuDatei"));
    connect(addItem(datei, "mnuDokument", QStringLiteral("&Dokument öffnen ..."), QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, &MainWindow::openDocumentCommand);
    connect(addItem(datei, "mnuNeu", QStringLiteral("&Neu"), QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &MainWindow::refreshCommand);
    datei->addSeparator();
    connect(addItem(datei, "mnuEnde", QStringLiteral("&Beenden")), &QAction::triggered, this, &QWidget::close);

    auto* bearbeiten = bar->addMenu(QStringLiteral("&Bearbeiten"));
    bearbeiten->setObjectName(QStringLiteral("mnuBearbeiten"));
    connect(addItem(bearbeiten, "mnuBearbeiten_Code", QStringLiteral("&Code Einlesen"), QKeySequence(Qt::Key_F2)),
            &QAction::triggered, this, &MainWindow::readTickedCode);

    auto* ansicht = bar->addMenu(QStringLiteral("&Ansicht"));
    ansicht->setObjectName(QStringLiteral("mnuAnsicht"));
    connect(addItem(ansicht, "mnuAnsicht_App_Aktualisieren", QStringLiteral("&Aktualisieren VBA Projekte"),
                    QKeySequence(Qt::Key_F5)),
            &QAction::triggered, this, &MainWindow::refreshCommand);
    auto* zoom = addItem(ansicht, "mnuAnsicht_Zoom", QStringLiteral("&Zoom"));
    zoom->setCheckable(true);
    // The toggle inverts the mark itself, so the action must not do it first.
    connect(zoom, &QAction::triggered, this, [this, zoom](bool) {
        zoom->setChecked(!zoom->isChecked());
        toggleZoom();
    });
    auto* vb = addItem(ansicht, "mnuVB", QStringLiteral("&VB Einlesen"));
    vb->setVisible(false);

    auto* extras = bar->addMenu(QStringLiteral("&Extras"));
    extras->setObjectName(QStringLiteral("mnuExtras"));
    connect(addItem(extras, "mnuExtras_Screen_define", QStringLiteral("Benutzer Bildschirm &Festlegen")),
            &QAction::triggered, this, &MainWindow::defineScreenLayout);
    connect(addItem(extras, "mnuExtras_Screen_call", QStringLiteral("&Benutzer Bildschirm Aufrufen")),
            &QAction::triggered, this, &MainWindow::applyScreenLayout);
    extras->addSeparator();
    connect(addItem(extras, "mnuExtras_ClearClip", QStringLiteral("&Zwischenablage Leeren"),
                    QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, [this] { ui().clearClipboard(); });

    auto* test = bar->addMenu(QStringLiteral("Tests"));
    test->setObjectName(QStringLiteral("mnuTest"));
    test->menuAction()->setVisible(false);

    auto* hilfe = bar->addMenu(QStringLiteral("&?"));
    hilfe->setObjectName(QStringLiteral("mnuHilfe"));
    connect(addItem(hilfe, "mnuHilfe_Hilfe", QStringLiteral("&Hilfe"), QKeySequence(Qt::Key_F1)),
            &QAction::triggered, this, &MainWindow::hilfeAufrufen);
    connect(addItem(hilfe, "mnuHilfe_Info", QStringLiteral("&Info")), &QAction::triggered, this, [this] {
        ui().message(appState().titleText + QStringLiteral("\r\n\r\nBrowser und Dokumentierer für VBA-Code"),
                     QStringLiteral("Info"), MsgIcon::Information);
    });

    // Pop-up menus, shown only on a right click.
    mnuPopUpHaupt_ = new QMenu(this);
    mnuPopUpHaupt_->setObjectName(QStringLiteral("mnuPopUpHaupt"));
    connect(addItem(mnuPopUpHaupt_, "mnuPopUpHaupt_Zoom", QStringLiteral("&Zoom")), &QAction::triggered, this,
            &MainWindow::toggleZoom);
    mnuPopUpZoom_ = new QMenu(this);
    mnuPopUpZoom_->setObjectName(QStringLiteral("mnuPopUp_Zoom"));
    connect(addItem(mnuPopUpZoom_, "mnuPopUp_Zoom_Aus", QStringLiteral("&Zoom Aus")), &QAction::triggered, this,
            &MainWindow::toggleZoom);
    mnuPopUpEinlesen_ = new QMenu(this);
    mnuPopUpEinlesen_->setObjectName(QStringLiteral("mnuPopUpEinlesen"));
    connect(addItem(mnuPopUpEinlesen_, "mnuPopUpEinlesen_Code", QStringLiteral("&Code Einlesen")),
            &QAction::triggered, this, &MainWindow::readTickedCode);
}

void MainWindow::buildToolbar() {
    tobSymb1_ = new QToolBar(client_);
    tobSymb1_->setObjectName(QStringLiteral("tobSymb1"));
    tobSymb1_->setIconSize(QSize(20, 20));
    tobSymb1_->setMovable(false);
    // Pictures only; the tooltips name the commands.
    tobSymb1_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto button = [this](const char* key, const QString& text, const QString& tip) {
        auto* a = tobSymb1_->addAction(toolbarIcon(QString::fromUtf8(key)), text);
        a->setObjectName(QString::fromUtf8(key));
        a->setToolTip(tip);
        actions_.insert(a->objectName(), a);
        return a;
    };
    connect(button("neu", QStringLiteral("Neu"), QStringLiteral("Neu")), &QAction::triggered, this,
            &MainWindow::refreshCommand);
    connect(button("refresh", QStringLiteral("Aktualisieren"), QStringLiteral("Aktualisieren Excel Projekte (F5)")),
            &QAction::triggered, this, &MainWindow::refreshCommand);
    connect(button("doit", QStringLiteral("Code Lesen"), QStringLiteral("Code Lesen")), &QAction::triggered, this,
            &MainWindow::readTickedCode);
    button("blind", QString(), QString());
    tobSymb1_->addSeparator();
    auto* zoom = button("zoom", QStringLiteral("Zoom"), QStringLiteral("Zoom"));
    zoom->setCheckable(true);
    connect(zoom, &QAction::triggered, this, [this, zoom](bool) {
        zoom->setChecked(!zoom->isChecked());
        toggleZoom();
    });
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

QAction* MainWindow::action(const QString& objectName) const {
    return actions_.value(objectName);
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
    return actions_.value(QStringLiteral("mnuAnsicht_Zoom"))->isChecked();
}

void MainWindow::setToolbarButtonVisible(const QString& key, bool on) {
    if (auto* a = actions_.value(key)) a->setVisible(on);
}

// ---------------------------------------------------------------------------
// Command states and view reset

void MainWindow::setCommandState(int state) {
    if (state < 0 || state > 2) return;
    const bool shown = state != 0;
    projectShown_ = shown;
    auto enable = [this](const char* name, bool on) {
        if (auto* a = actions_.value(QString::fromUtf8(name))) a->setEnabled(on);
    };
    enable("mnuBearbeiten_Code", !shown);
    enable("doit", !shown);
    enable("mnuNeu", shown);
    enable("neu", shown);
    enable("mnuAnsicht_App_Aktualisieren", !shown);
    enable("refresh", !shown);
    enable("mnuAnsicht_Zoom", shown);
    enable("zoom", shown);
    enable("mnuPopUpHaupt_Zoom", shown);
    if (!shown) {
        setPanel(1, QStringLiteral("Modul"));
        setPanel(2, QStringLiteral("Routine"));
        setPanel(5, QStringLiteral("Aktion"));
    }
}

void MainWindow::resetViews() {
    panels_[2]->setEnabled(false);
    panels_[3]->setEnabled(false);
    caret_.reset();
    txtAppAktiv_->hide();
    resetCodeViews();
    rtbHaupt_[0]->show();
    actions_.value(QStringLiteral("mnuBearbeiten_Code"))->setEnabled(false);
    actions_.value(QStringLiteral("doit"))->setEnabled(false);
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
    auto* item = actions_.value(QStringLiteral("mnuAnsicht_Zoom"));
    const bool on = !item->isChecked();
    item->setChecked(on);
    actions_.value(QStringLiteral("zoom"))->setChecked(on);
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
    auto& options = appState().options;
    if (isMaximized()) {
        options.bis = QStringLiteral("max");
    } else {
        auto tw = [](int px, int dpi) { return QString::number(qRound(px * 1440.0 / dpi)); };
        options.bis = QStringList{tw(x(), logicalDpiX()), tw(y(), logicalDpiY()), tw(width(), logicalDpiX()),
                                  tw(height(), logicalDpiY())}
                          .join(QLatin1Char(';'));
    }
    saveSetting(QStringLiteral("optionen"), QStringLiteral("bis"), options.bis);
}

void MainWindow::applyScreenLayout() {
    const QString bis = appState().options.bis;
    if (bis.compare(QStringLiteral("max"), Qt::CaseInsensitive) == 0) {
        maximizeLayout();
        return;
    }
    const QStringList parts = bis.split(QLatin1Char(';'));
    double v[4] = {};
    bool ok = parts.size() >= 4;
    for (int i = 0; ok && i < 4; ++i) v[i] = parts[i].trimmed().toDouble(&ok);
    const int left = ok ? qRound(v[0] * logicalDpiX() / 1440.0) : 0;
    const int top = ok ? qRound(v[1] * logicalDpiY() / 1440.0) : 0;
    const int width = ok ? qRound(v[2] * logicalDpiX() / 1440.0) : 0;
    const int height = ok ? qRound(v[3] * logicalDpiY() / 1440.0) : 0;
    // A window of no size, or one no screen could hold, is refused as the
    // original window refused it.
    if (ok && (width <= 0 || height <= 0 || width > 100000 || height > 100000 || std::abs(left) > 100000 ||
               std::abs(top) > 100000))
        ok = false;
    if (!ok) {
        ui().message(QStringLiteral("Falsche Bildschirmdaten"), {}, MsgIcon::Warning);
        maximizeLayout();
        return;
    }
    setWindowState(Qt::WindowNoState);
    move(left, top);
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
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::codeContextMenu(CodeView* view, const QPoint& pos) {
    QMenu* menu = projectShown_ ? mnuPopUpHaupt_ : mnuPopUpEinlesen_;
    menu->popup(view->mapToGlobal(pos));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    openDocuments(paths);
}

}  // namespace lumo
