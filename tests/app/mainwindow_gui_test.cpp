#include <QImage>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSettings>

#include "app/MainWindowFixture.h"
#include "base/Settings.h"
#include "navigate/RoutineLocation.h"
#include "view/widgets/Splitter.h"

using namespace lumo;
using namespace lumo::test;

namespace {

void keyRelease(QWidget* w, int key = Qt::Key_Right) {
    QKeyEvent e(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void sendMouse(QWidget* w, QEvent::Type type, int x, Qt::MouseButtons buttons) {
    const QPointF p(x, 5);
    QMouseEvent e(type, p, w->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace

TEST_F(MainWindowTest, StartsWithTheListedProjectsAndNothingToRead) {
    open({sampleProject("Erstes"), sampleProject("Zweites")});
    EXPECT_EQ(window->windowTitle(), appState().titleText);
    EXPECT_TRUE(window->trees().appTree()->isVisible());
    EXPECT_FALSE(window->trees().projectTree()->isVisible());
    EXPECT_EQ(window->trees().appTree()->nodeCount(), 8);
    EXPECT_EQ(act("mnuAnsicht_App_Aktualisieren")->text(), "&Aktualisieren Word VBA Projekte");
    EXPECT_EQ(act("refresh")->toolTip(), "Aktualisieren Word VBA Projekte (F5)");
    EXPECT_FALSE(act("blind")->isVisible());
    EXPECT_FALSE(act("mnuBearbeiten_Code")->isEnabled());
    EXPECT_FALSE(act("mnuVB")->isVisible());
    EXPECT_EQ(act("mnuBearbeiten_Code")->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_FALSE(appState().runFolder.isEmpty());
    EXPECT_EQ(appState().runFolder, appState().workFolder);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowTest, OnlyOneProjectCanBeTickedAndItsComponentsFollowIt) {
    open({sampleProject("Erstes"), sampleProject("Zweites")});
    tick("A1\\Werkzeuge");
    EXPECT_TRUE(act("mnuBearbeiten_Code")->isEnabled());
    EXPECT_TRUE(act("doit")->isEnabled());
    EXPECT_FALSE(window->trees().appTree()->isChecked("A1\\"));  // a component does not tick its project

    tick("A2\\");
    EXPECT_FALSE(window->trees().appTree()->isChecked("A1\\Werkzeuge"));
    for (auto key : {"A2\\Werkzeuge", "A2\\Kunde", "A2\\ThisDocument"}) EXPECT_TRUE(window->trees().appTree()->isChecked(key));

    tick("A2\\", false);
    for (auto key : {"A2\\Werkzeuge", "A2\\Kunde", "A2\\ThisDocument"}) EXPECT_FALSE(window->trees().appTree()->isChecked(key));
    EXPECT_FALSE(act("mnuBearbeiten_Code")->isEnabled());

    act("mnuBearbeiten_Code")->setEnabled(true);
    act("mnuBearbeiten_Code")->trigger();
    EXPECT_EQ(ui.messages(), QStringList{"Bitte wählen Sie erst etwas aus"});
    EXPECT_FALSE(window->codeShown());
}

TEST_F(MainWindowTest, ReadingShowsTheProjectWithTheFirstModuleSelected) {
    open();
    build();
    EXPECT_EQ(window->windowTitle(), appState().titleText + " Projekt: Projekt1 [nicht gespeichert !!!]");
    EXPECT_TRUE(window->trees().projectTree()->isVisible());
    EXPECT_FALSE(window->trees().appTree()->isVisible());
    EXPECT_EQ(window->trees().state().moduleCount, 3);
    EXPECT_EQ(window->codeArea().count(), 3);
    // Modules by type: the standard module (2) before the class (3) before the document (5).
    auto* first = window->trees().projectTree()->topLevelItem(0);
    EXPECT_EQ(first->text(0), "Werkzeuge");
    EXPECT_EQ(window->trees().projectTree()->topLevelItem(2)->text(0), "ThisDocument");
    EXPECT_FALSE(first->isExpanded());
    EXPECT_EQ(panel(PanelModule), "Werkzeuge");
    EXPECT_EQ(panel(PanelOperation), "");
    EXPECT_TRUE(window->codeArea().visibleView()->isVisible());
    EXPECT_TRUE(window->codeArea().visibleView()->text().startsWith("Option Explicit\r\nDim zaehler"));
    // Command state 1.
    EXPECT_TRUE(act("mnuNeu")->isEnabled());
    EXPECT_FALSE(act("mnuAnsicht_App_Aktualisieren")->isEnabled());
    EXPECT_FALSE(act("mnuBearbeiten_Code")->isEnabled());
    EXPECT_TRUE(act("mnuAnsicht_Zoom")->isEnabled());
    EXPECT_TRUE(window->projectShown());
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowTest, ExpandedModuleListWhenTheOptionSaysSo) {
    open();
    appState().options.expandModuleTree = true;
    build();
    for (int i = 0; i < window->trees().projectTree()->topLevelItemCount(); ++i)
        EXPECT_TRUE(window->trees().projectTree()->topLevelItem(i)->isExpanded());
    EXPECT_EQ(panel(PanelModule), "Werkzeuge");
}

TEST_F(MainWindowTest, RefreshAsksAboutTheUnsavedProjectAndCancelKeepsEverything) {
    open();
    build();
    const QString caption = window->windowTitle();
    ui.answers = {Answer::Cancel};
    act("mnuNeu")->trigger();
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].text, "Projekt wurde nicht gespeichert !\r\nProjekt jetzt speichern ?");
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_TRUE(window->trees().projectTree()->isVisible());
    EXPECT_TRUE(window->codeShown());
    EXPECT_TRUE(WorkingStore::instance().isOpen());

    ui.answers = {Answer::No};
    act("neu")->trigger();  // the toolbar button does what the menu item does
    EXPECT_EQ(window->windowTitle(), appState().titleText);
    EXPECT_TRUE(window->trees().appTree()->isVisible());
    EXPECT_FALSE(window->codeShown());
    EXPECT_FALSE(act("mnuNeu")->isEnabled());
    EXPECT_TRUE(act("mnuAnsicht_App_Aktualisieren")->isEnabled());
    EXPECT_EQ(panel(PanelModule), "Modul");
    EXPECT_EQ(panel(PanelOperation), "Aktion");
    EXPECT_EQ(window->codeArea().visibleView()->length(), 0);

    // Without the bracket in the caption there is nothing to ask.
    const auto asked = ui.calls.size();
    act("mnuAnsicht_App_Aktualisieren")->trigger();
    EXPECT_EQ(ui.calls.size(), asked);
}

TEST_F(MainWindowTest, NoHostExplainsInsteadOfTheTree) {
    open({});
    EXPECT_TRUE(window->trees().explanationBox()->isVisible());
    EXPECT_TRUE(window->trees().explanationBox()->toPlainText().startsWith("Word ist im Moment nicht geöffnet."));
    EXPECT_FALSE(window->trees().explanationBox()->toPlainText().contains("Excel"));
}

TEST_F(MainWindowTest, NodeSelectionShowsModulesAndRoutinesAndShiftSwallowsOneClick) {
    open();
    build();
    auto* tree = window->trees().projectTree();
    tree->expandAll();
    auto* kunde = tree->topLevelItem(1);
    click(tree, kunde);
    EXPECT_EQ(window->codeArea().current(), keyNumber(KeyedTree::keyOf(kunde)) - 1);
    EXPECT_EQ(panel(PanelModule), "Kunde");
    EXPECT_EQ(panel(PanelRoutine), "");
    EXPECT_EQ(window->codeArea().visibleView()->selStart(), 0);
    EXPECT_EQ(window->trees().state().highlightedModuleKey, KeyedTree::keyOf(kunde));
    EXPECT_EQ(kunde->foreground(0).color(), QColor(255, 255, 0));
    // Selected and highlighted at once: the highlight is what shows, not the selection colour.
    ASSERT_TRUE(kunde->isSelected());
    {
        const QImage shot = tree->viewport()->grab().toImage();
        const QRect r = tree->visualItemRect(kunde);
        int black = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            if (shot.pixelColor(x, r.center().y()) == QColor(0, 0, 0)) ++black;
        EXPECT_GT(black, r.width() / 4);
    }

    auto* werkzeuge = tree->topLevelItem(0);
    auto* anzeigen = werkzeuge->child(0);  // routines by name: Anzeigen, Starten
    ASSERT_EQ(anzeigen->text(0), "Anzeigen");
    QTest::keyClick(tree, Qt::Key_Shift);
    click(tree, anzeigen);
    EXPECT_EQ(panel(PanelModule), "Kunde");  // swallowed

    click(tree, anzeigen);
    EXPECT_EQ(panel(PanelModule), "Werkzeuge");
    EXPECT_EQ(panel(PanelRoutine), "Anzeigen");
    CodeView* view = window->codeArea().visibleView();
    EXPECT_EQ(view->lineOfPosition(view->selStart()), 8);
    EXPECT_EQ(view->selText(), "Private");
    EXPECT_EQ(kunde->foreground(0).color(), QColor(0, 0, 0));

    // Moving with the arrow keys loads nothing, and the click after it works.
    tree->setCurrentItem(werkzeuge);
    QTest::keyClick(tree, Qt::Key_Down);
    EXPECT_EQ(panel(PanelRoutine), "Anzeigen");
    click(tree, werkzeuge->child(1));
    EXPECT_EQ(panel(PanelRoutine), "Starten");
    // Typed characters do not search the tree.
    tree->setCurrentItem(tree->topLevelItem(2));
    QTest::keyClicks(tree, "Kun");
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(2));
    // Enter selects.
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(panel(PanelModule), "ThisDocument");
}

TEST_F(MainWindowTest, CaretTrackingAsksTheStoreOncePerLine) {
    open();
    build();
    CodeView* view = window->codeArea().visibleView();
    const int before = window->navigation().routineQueries();
    view->setSelStart(view->text().indexOf("zaehler = 1"));
    keyRelease(view);
    EXPECT_EQ(window->navigation().routineQueries(), before + 1);
    EXPECT_EQ(panel(PanelRoutine), "Starten");
    view->setSelStart(view->selStart() + 3);  // same line
    keyRelease(view);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect().center());
    EXPECT_EQ(window->navigation().routineQueries(), before + 1);
    view->setSelStart(0);
    keyRelease(view);
    EXPECT_EQ(window->navigation().routineQueries(), before + 2);
    EXPECT_EQ(panel(PanelRoutine), "");
    // The right button leaves the panel alone.
    view->setSelStart(view->text().indexOf("Anzeigen = "));
    QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, QPoint(1, 1));
    EXPECT_EQ(window->navigation().routineQueries(), before + 2);
}

TEST_F(MainWindowTest, ZoomShowsTheRoutineAndTogglingTwiceLeavesTheCaret) {
    open();
    build();
    CodeView* view = window->codeArea().visibleView();
    const int caret = view->text().indexOf("Anzeigen = zaehler") + 2;
    view->setSelStart(caret);
    act("zoom")->trigger();
    EXPECT_TRUE(act("mnuAnsicht_Zoom")->isChecked());
    EXPECT_TRUE(act("zoom")->isChecked());
    EXPECT_TRUE(window->codeArea().zoomView()->isVisible());
    EXPECT_EQ(window->codeArea().zoomView()->text(), "Private Function Anzeigen() As Long\r\n    Anzeigen = zaehler\r\nEnd Function");
    act("mnuAnsicht_Zoom")->trigger();
    EXPECT_FALSE(window->codeArea().zoomView()->isVisible());
    EXPECT_FALSE(act("zoom")->isChecked());
    EXPECT_EQ(view->selStart(), caret);
    EXPECT_EQ(view->selLength(), 0);

    // A line between routines zooms to the declarations.
    view->setSelStart(view->text().indexOf("End Sub") + 9);
    act("mnuAnsicht_Zoom")->trigger();
    EXPECT_EQ(window->codeArea().zoomView()->text(), "Option Explicit\r\nDim zaehler As Long\r\n");
    // A reset switches the zoom off.
    window->resetViews();
    EXPECT_FALSE(act("mnuAnsicht_Zoom")->isChecked());
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowTest, GoToLineOnTheRealViewCountsLineBreaksTwice) {
    open();
    build();
    CodeView* view = window->codeArea().visibleView();
    view->setSelStart(40);
    goToLine(*view, 1);
    EXPECT_EQ(view->selStart(), 0);
    EXPECT_EQ(view->selText(), "Option");
    goToLine(*view, 2);
    EXPECT_EQ(view->selStart(), 17);  // "Option Explicit" + CR LF
    goToLine(*view, 5);
    EXPECT_EQ(view->selStart(), view->text().indexOf("    zaehler = 1"));
    EXPECT_EQ(view->selLength(), 0);  // indented: empty selection at the line start
    goToLine(*view, 500);
    EXPECT_EQ(view->selStart(), view->length());
}

TEST_F(MainWindowTest, CommandStates) {
    open();
    window->setCommandState(CommandState::StoredProject);
    EXPECT_TRUE(window->projectShown());
    EXPECT_TRUE(act("mnuNeu")->isEnabled());
    EXPECT_TRUE(act("neu")->isEnabled());
    EXPECT_FALSE(act("refresh")->isEnabled());
    EXPECT_FALSE(act("doit")->isEnabled());
    EXPECT_TRUE(act("zoom")->isEnabled());
    window->setCommandState(CommandState(7));  // outside 0 to 2: nothing changes
    EXPECT_TRUE(window->projectShown());
    window->setCommandState(CommandState::NothingShown);
    EXPECT_FALSE(window->projectShown());
    EXPECT_FALSE(act("neu")->isEnabled());
    EXPECT_TRUE(act("refresh")->isEnabled());
    EXPECT_TRUE(act("mnuBearbeiten_Code")->isEnabled());
    EXPECT_FALSE(act("mnuAnsicht_Zoom")->isEnabled());
    EXPECT_EQ(panel(PanelModule), "Modul");
    EXPECT_EQ(panel(PanelRoutine), "Routine");
    EXPECT_EQ(panel(PanelOperation), "Aktion");
}

TEST_F(MainWindowTest, LayoutKeepsTheMarginsAndIgnoresTooSmallWindows) {
    open();
    QWidget* client = window->centralWidget();
    const int margin = window->twipsToPixelsY(500);
    // The window's inner height holds the status bar too, which is the window's own below the client.
    const int bar = std::min(margin, window->statusPanels().sizeHint().height());
    EXPECT_EQ(window->container()->geometry(), QRect(0, margin, client->width(), client->height() + bar - 2 * margin));
    const QRect laidOut = window->container()->geometry();
    // Too low for the panes: only the top is kept.
    client->resize(client->width(), 2 * margin + window->twipsToPixelsY(500) - 1 - bar);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->container()->size(), laidOut.size());
    EXPECT_EQ(window->container()->y(), margin);
}

TEST_F(MainWindowTest, SplitterStaysWithinItsLimits) {
    open();
    Splitter* bar = window->splitter();
    const int start = bar->x();
    const int width = window->container()->width();
    auto drag = [&](int toX) {  // toX in the container
        sendMouse(bar, QEvent::MouseButtonPress, 1, Qt::LeftButton);
        sendMouse(bar, QEvent::MouseMove, toX - bar->x() + 1, Qt::LeftButton);
        sendMouse(bar, QEvent::MouseButtonRelease, 1, Qt::NoButton);
    };
    drag(300);
    EXPECT_EQ(bar->x(), 300);
    EXPECT_EQ(window->trees().projectTree()->width(), 300);
    drag(window->twipsToPixelsX(200) - 1);
    EXPECT_EQ(bar->x(), 300);
    drag(width - bar->width() - window->twipsToPixelsX(100) + 1);
    EXPECT_EQ(bar->x(), 300);
    drag(start);
    EXPECT_EQ(bar->x(), start);
}

TEST_F(MainWindowTest, ScreenLayoutIsStoredAndBrokenValuesMaximise) {
    open();
    window->showNormal();
    window->setGeometry(100, 80, 800, 600);
    ui.answers = {Answer::No, Answer::Yes};
    window->defineScreenLayout();
    EXPECT_TRUE(QSettings(appState().settingsFile, QSettings::IniFormat).value("optionen/bis").isNull());
    window->defineScreenLayout();
    EXPECT_EQ(ui.calls[0].text, "Aktuelle Anzeigegrösse als Standard festlegen ?");
    const QString bis = appState().options.screenLayout;
    EXPECT_EQ(bis.split(';').size(), 4);

    appState().options.screenLayout = "10;20;30";
    ui.calls.clear();
    window->applyScreenLayout();
    EXPECT_EQ(ui.messages(), QStringList{"Falsche Bildschirmdaten"});
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);

    for (QString broken : {"a;b;c;d", "0;0;0;0", ""}) {
        ui.calls.clear();
        appState().options.screenLayout = broken;
        window->applyScreenLayout();
        EXPECT_EQ(ui.messages(), QStringList{"Falsche Bildschirmdaten"}) << broken.toStdString();
    }
    appState().options.screenLayout = bis;
    ui.calls.clear();
    window->applyScreenLayout();
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->width(), window->twipsToPixelsX(bis.split(';')[2].toInt()));
    appState().options.screenLayout = "MAX";
    window->applyScreenLayout();
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowTest, HelpOpensThePageBesideTheProgramOrSaysWhereItBelongs) {
    open();
    act("mnuHilfe_Hilfe")->trigger();
    EXPECT_EQ(ui.viewed, std::vector<QString>{QStringLiteral(LUMO_BIN_DIR "/Code Lumo.html")});

    QTemporaryDir elsewhere;
    const QString shipped = appState().programFolder;
    appState().programFolder = elsewhere.path() + "/";
    act("mnuHilfe_Hilfe")->trigger();
    appState().programFolder = shipped;
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0], "Die Hilfsdatei:\r\nCode Lumo.html\r\nkonnte nicht gefunden werden. \r\n"
                                "Diese muss im selben Verzeichnis wieQDL_RX.exe installiert werden.\r\n"
                                "Bitte kopieren Sie also Code Lumo.html nach:\r\n" + elsewhere.path() + "/");
}

TEST_F(MainWindowTest, OpeningADocumentListsIt) {
    open({});
    const QString doc = QStringLiteral(LUMO_SHARED_DIR "/corpus/office/SimpleMacro.docm");
    if (!QFileInfo::exists(doc)) {
        if (qEnvironmentVariable("CI") == "true") FAIL() << "corpus missing";
        GTEST_SKIP() << "corpus not found at " << doc.toStdString();
    }
    window->setHostConnector(nullptr);  // back to the document host
    ui.openFiles = {{doc}};
    act("mnuDokument")->trigger();
    EXPECT_EQ(window->documentHost()->documents(), QStringList{doc});
    EXPECT_FALSE(window->trees().explanationBox()->isVisible());
    ASSERT_GE(window->trees().appTree()->nodeCount(), 2);
    EXPECT_EQ(window->trees().appTree()->topLevelItem(0)->text(0), "Project [SimpleMacro.docm]");
    build();
    EXPECT_GE(window->codeArea().count(), 1);
    EXPECT_TRUE(window->codeArea().visibleView()->text().contains("Sub "));
}

TEST_F(MainWindowTest, ABrokenProjectIsReportedAndEverythingEmptied) {
    open();
    build();
    WorkingStore::instance().closeWorkingDatabase();
    QFile db(appState().workFolder + "DivuRuvi.mdb");
    ASSERT_TRUE(db.open(QIODevice::WriteOnly | QIODevice::Truncate));
    db.write("kein SQLite");
    db.close();
    ui.answers = {Answer::No};
    window->showProject();
    ASSERT_GE(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0], "Projekt in " + appState().workFolder + "\r\nist nicht mehr intakt");
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(window->trees().appTree()->isVisible());
    EXPECT_EQ(panel(PanelOperation), "");
}

TEST_F(MainWindowTest, ClosingRemovesTheRunFolder) {
    open();
    build();
    const QString run = appState().runFolder;
    ASSERT_TRUE(QFileInfo::exists(run + "DivuRuvi.mdb"));
    window->close();
    EXPECT_FALSE(QFileInfo::exists(run));
    EXPECT_FALSE(WorkingStore::instance().isOpen());
    EXPECT_TRUE(ui.calls.empty());  // closing never asks
}

TEST_F(MainWindowTest, ACodePaneTooNarrowKeepsItsWidth) {
    open();
    CodeView* view = window->codeArea().visibleView();
    const int width = view->width();
    window->splitter()->move(window->container()->width() - window->splitter()->width() - 2, 0);
    window->layoutWindow();
    EXPECT_EQ(view->width(), width);
    EXPECT_EQ(window->trees().projectTree()->width(), window->splitter()->x());
}

TEST_F(MainWindowTest, DroppedFilesJoinTheDocumentHost) {
    open({});
    window->setHostConnector(nullptr);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt/clsKunde.cls"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(window->documentHost()->documents(), QStringList{QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt")});
    EXPECT_EQ(window->trees().appTree()->topLevelItem(0)->text(0), "Beispielprojekt [Beispielprojekt]");
}

TEST_F(MainWindowTest, ADocumentChangedAfterListingWarnsAndListsAgain) {
    open();
    tick("A1\\");
    host.projects[0].modules.erase(host.projects[0].modules.begin() + 1);  // "Kunde" is gone
    act("mnuBearbeiten_Code")->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith("Fehler beim Einlesen !"));
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.calls[0].title, "Fehler beim Einlesen: Modul Kunde");
    EXPECT_EQ(panel(PanelOperation), "Modul: Kunde");
    EXPECT_FALSE(window->codeShown());
    EXPECT_EQ(window->windowTitle(), appState().titleText);
    EXPECT_TRUE(window->trees().appTree()->isVisible());
    EXPECT_EQ(window->trees().appTree()->nodeCount(), 3);  // listed again, without "Kunde"
    EXPECT_FALSE(window->trees().appTree()->isChecked("A1\\"));
}

TEST_F(MainWindowTest, ShowCaretLocationFollowsTheCaretAfterAJump) {
    open();
    build();
    auto* kunde = window->trees().projectTree()->topLevelItem(1);
    window->navigation().nodeSelection(kunde);
    kunde->setExpanded(true);  // never opened before: its routines are made now
    ASSERT_EQ(kunde->childCount(), 1);
    CodeView* view = window->codeArea().visibleView();
    view->setSelStart(view->text().indexOf("Name = mName"));
    const int before = window->navigation().routineQueries();
    window->navigation().showCaretLocation();
    EXPECT_EQ(window->navigation().routineQueries(), before + 1);
    EXPECT_EQ(panel(PanelModule), "Kunde");
    EXPECT_EQ(panel(PanelRoutine), "Name");
    EXPECT_EQ(window->trees().projectTree()->currentItem(), kunde->child(0));  // the tree follows to the routine
    keyRelease(view);  // the line is known now: no second query
    EXPECT_EQ(window->navigation().routineQueries(), before + 1);
}

TEST_F(MainWindowTest, TheUsersLayoutAppliesAtStartWhenTheOptionIsOn) {
    saveSetting("optionen", "usb", "-1");
    saveSetting("optionen", "bis", "1440;720;10080;7200");
    host.projects = {sampleProject()};
    window = std::make_unique<MainWindow>();
    window->setHostConnector(&host);
    window->loadMainWindow({});
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window->size(), QSize(window->twipsToPixelsX(10080), window->twipsToPixelsY(7200)));
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowTest, AModuleThatCannotBeSplitIsShownWithTheRoutinesFoundAndNamed) {
    VbaProjectData p = sampleProject();
    p.modules.insert(p.modules.begin() + 1,
                     module("Kaputt", 1, {"Option Explicit", "Function F()", "End Sub", "End Function"}));
    open({p});
    tick("A1\\");
    act("mnuBearbeiten_Code")->trigger();
    ASSERT_TRUE(window->codeShown());
    EXPECT_EQ(window->trees().state().moduleCount, 4);
    EXPECT_EQ(window->windowTitle(), appState().titleText + " Projekt: Projekt1 [nicht gespeichert !!!]");
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].title, "Fehler beim Einlesen: Modul Kaputt");
    EXPECT_TRUE(ui.calls[0].text.endsWith("\r\n\r\nModul: Kaputt (\"End Sub\" ohne Routinenkopf in Zeile 3): "
                                          "eingelesen, aber nicht in alle Routinen zerlegt"));
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::Warning);
    EXPECT_EQ(panel(PanelOperation), "Modul: Kaputt");
    Query q = WorkingStore::instance().query("SELECT mod_name FROM td_mod WHERE mod_num = 2");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(0), "Kaputt");
    Query r = WorkingStore::instance().query("SELECT rou_name FROM td_rout WHERE mod_num = 2");
    ASSERT_TRUE(r.next());
    EXPECT_EQ(r.text(0), "F");
}
