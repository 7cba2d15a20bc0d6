// Navigation in the real window: callers tree, the code view's pop-up, the
// history on the status panels and the search box.
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QToolBar>

#include "app/MainWindowFixture.h"
#include "model/CorpusModules.h"
#include "navigate/RoutineHistory.h"

using namespace lumo;
using namespace lumo::test;

namespace {

class NavigationWindowTest : public MainWindowTest {
protected:
    QTreeWidgetItem* node(const QString& key) { return window->trees().projectTree()->item(key); }
    // The project tree's selected node as "Module" or "Module/Routine".
    QString selectedNode() {
        const QTreeWidgetItem* n = window->trees().projectTree()->currentItem();
        if (!n) return {};
        return n->parent() ? n->parent()->text(0) + "/" + n->text(0) : n->text(0);
    }
    void clickPanel(StatusPanel p) {
        QTest::mouseClick(window->statusPanels().label(p), Qt::LeftButton);
    }
    // With LUMO_SCREENSHOT_DIR=folder the screen is saved there as name.png,
    // to look at the window (run under Xvfb with QT_QPA_PLATFORM=xcb).
    void snapshot(const char* name) {
        const QString folder = qEnvironmentVariable("LUMO_SCREENSHOT_DIR");
        if (folder.isEmpty()) return;
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        QTest::qWait(200);
        QGuiApplication::primaryScreen()->grabWindow(0).save(folder + "/" + name + ".png");
    }
};

}  // namespace

TEST_F(NavigationWindowTest, CallersReplaceTheProjectTreeUntilClosed) {
    open();
    build();
    window->show();
    click(window->trees().projectTree(), node("R1"));  // Starten
    ASSERT_EQ(panel(PanelRoutine), "Starten");
    QTest::mouseDClick(window->statusPanels().label(PanelRoutine), Qt::LeftButton);
    KeyedTree* result = window->trees().callerTree();
    ASSERT_TRUE(result->isVisible());
    EXPECT_FALSE(window->trees().projectTree()->isVisible());
    EXPECT_FALSE(window->findChild<QToolBar*>("tobSymb1")->isVisible());
    EXPECT_TRUE(window->trees().callerToolbar()->isVisible());
    EXPECT_EQ(window->trees().callerLabel()->text(), "Starten");
    EXPECT_EQ(act("close")->toolTip(), "Schliesst die Routinensuche");
    EXPECT_TRUE(act("mnuAnsicht_RouClose")->isEnabled());
    ASSERT_EQ(result->nodeCount(), 2);
    EXPECT_EQ(result->nodeText("M3"), "ThisDocument");
    EXPECT_EQ(result->nodeText("R4"), "Document_Open");
    EXPECT_FALSE(result->item("R4")->isExpanded());

    // A result node runs the project tree's selection: the caller's module and first line.
    click(result, result->item("R4"));
    EXPECT_EQ(window->codeArea().current(), 2);
    EXPECT_EQ(panel(PanelModule), "ThisDocument");
    EXPECT_EQ(panel(PanelRoutine), "Document_Open");
    // The tree names the routine of the caret, its module unfolded, and shows it.
    EXPECT_EQ(selectedNode(), "ThisDocument/Document_Open");
    EXPECT_FALSE(window->trees().projectTree()->visualItemRect(window->trees().projectTree()->currentItem()).isEmpty());
    EXPECT_EQ(window->codeArea().visibleView()->selText(), "Private");
    EXPECT_EQ(window->navigation().history().current(), 2);

    // Opened, the caller shows the line that calls; it goes to that line, not to the routine's head.
    result->item("R4")->setExpanded(true);
    EXPECT_EQ(result->nodeText("Z3:4"), "Zeile 4: Starten");
    click(result, result->item("Z3:4"));
    CodeView* code = window->codeArea().visibleView();
    EXPECT_EQ(code->lineOfPosition(code->selStart()) + 1, 4);
    EXPECT_EQ(panel(PanelRoutine), "Document_Open");
    EXPECT_EQ(window->navigation().history().current(), 3);

    act("close")->trigger();
    EXPECT_FALSE(result->isVisible());
    EXPECT_EQ(result->nodeCount(), 0);
    EXPECT_TRUE(window->trees().projectTree()->isVisible());
    EXPECT_TRUE(window->findChild<QToolBar*>("tobSymb1")->isVisible());
    EXPECT_FALSE(act("mnuAnsicht_RouClose")->isEnabled());

    // A routine nobody calls leaves the project tree in place.
    click(window->trees().projectTree(), node("R4"));
    act("mnuBearbeiten_Rout")->trigger();
    EXPECT_FALSE(result->isVisible());
    EXPECT_TRUE(window->trees().projectTree()->isVisible());
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(NavigationWindowTest, PopupHistoryAndSearchBox) {
    open();
    // Nothing read yet: the pop-up offers reading, in the state of "Code Einlesen".
    EXPECT_EQ(window->prepareCodePopup(), window->findChild<QMenu*>("mnuPopUpEinlesen"));
    tick("A1\\Werkzeuge");
    EXPECT_TRUE(act("mnuPopUpEinlesen_Code")->isEnabled());
    build();
    window->show();
    click(window->trees().projectTree(), node("R1"));  // Starten, line 4
    CodeView* view = window->codeArea().visibleView();
    const int anzeigen = int(view->text().indexOf("    Anzeigen")) + 6;
    view->setSelStart(anzeigen);
    QMenu* popup = window->prepareCodePopup();
    EXPECT_EQ(popup, window->commandBar().codePopup());
    EXPECT_EQ(act("mnuPopUpHaupt_Definition")->text(), "&Definition : Anzeigen");
    EXPECT_TRUE(act("mnuPopUpHaupt_Definition")->isEnabled());
    EXPECT_EQ(act("mnuPopUpHaupt_Aufruf")->text(), "Aufrufe: Starten");
    view->setSelStart(0);
    window->prepareCodePopup();
    EXPECT_EQ(act("mnuPopUpHaupt_Definition")->text(), "&Definition ");
    EXPECT_FALSE(act("mnuPopUpHaupt_Definition")->isEnabled());

    // F8 on Anzeigen, then Back on the status panel returns to where F8 was pressed.
    view->setSelStart(anzeigen);
    act("mnuBearbeiten_Definition")->trigger();
    EXPECT_EQ(panel(PanelRoutine), "Anzeigen");
    EXPECT_EQ(view->selText(), "Anzeigen");  // the name, not the line's first word
    EXPECT_EQ(selectedNode(), "Werkzeuge/Anzeigen");
    EXPECT_TRUE(window->statusPanels().label(PanelBack)->isEnabled());
    EXPECT_TRUE(window->commandBar().menuAction(Command::RoutineBack)->isEnabled());
    EXPECT_FALSE(window->commandBar().menuAction(Command::RoutineNext)->isEnabled());
    clickPanel(PanelBack);
    EXPECT_EQ(panel(PanelRoutine), "Starten");
    EXPECT_EQ(view->selStart(), int(view->text().indexOf("    Anzeigen")));  // the line start of that place
    EXPECT_TRUE(window->statusPanels().label(PanelNext)->isEnabled());
    window->commandBar().menuAction(Command::RoutineNext)->trigger();
    EXPECT_EQ(panel(PanelRoutine), "Anzeigen");

    // Ctrl+F takes the selection, F3 finds it; project search and whole word follow their buttons.
    view->setSelStart(int(view->text().indexOf("zaehler")));
    view->setSelLength(7);
    act("mnuBearbeiten_Suchen_Auswahl")->trigger();
    EXPECT_EQ(window->commandBar().searchBox()->text(), "zaehler");
    act("su_p")->trigger();
    EXPECT_TRUE(act("mnuBearbeiten_Suchen_Projekt")->isChecked());
    EXPECT_TRUE(act("su_p")->isChecked());
    act("mnuBearbeiten_Suchen_GanzWort")->trigger();
    EXPECT_TRUE(act("su_g")->isChecked());
    window->commandBar().searchBox()->setText("  document_open ");
    act("su_a")->trigger();
    EXPECT_EQ(window->commandBar().searchBox()->text(), "document_open");
    EXPECT_EQ(window->codeArea().current(), 2);
    EXPECT_EQ(panel(PanelModule), "ThisDocument");
    EXPECT_EQ(panel(PanelRoutine), "Document_Open");
    // The tree names the routine of the caret, its module unfolded, and shows it.
    EXPECT_EQ(selectedNode(), "ThisDocument/Document_Open");
    EXPECT_FALSE(window->trees().projectTree()->visualItemRect(window->trees().projectTree()->currentItem()).isEmpty());
    EXPECT_EQ(window->codeArea().visibleView()->selText(), "Document_Open");
    EXPECT_TRUE(ui.calls.empty());
    // The search's jump is recorded after the place it left: Back returns there, Next comes back.
    const int before = window->navigation().history().current();
    clickPanel(PanelBack);
    EXPECT_EQ(panel(PanelModule), "Werkzeuge");
    EXPECT_EQ(view->lineOfPosition(view->selStart()), view->lineOfPosition(int(view->text().indexOf("zaehler"))));
    clickPanel(PanelNext);
    EXPECT_EQ(panel(PanelModule), "ThisDocument");
    EXPECT_EQ(window->navigation().history().current(), before);

    act("mnuAnsicht_Zoom")->trigger();
    act("mnuBearbeiten_SuchenWeiter")->trigger();
    act("mnuBearbeiten_Definition")->trigger();
    EXPECT_EQ(ui.messages(), QStringList(2, "Steht im Zoom Modus nicht zur Verfügung"));

    // A new project empties the history.
    act("mnuAnsicht_Zoom")->trigger();
    window->showProject();
    EXPECT_EQ(window->navigation().history().current(), 0);  // the first module's node selection pushes nothing
    EXPECT_FALSE(window->statusPanels().label(PanelBack)->isEnabled());
    EXPECT_FALSE(window->commandBar().menuAction(Command::RoutineBack)->isEnabled());
}

// The VBA-Web library read from its folder through the document host: the
// callers of its logging routine, the pop-up on a call of it, and a project
// search for it.
TEST_F(NavigationWindowTest, CallersPopupAndSearchOnARealProject) {
    LUMO_REQUIRE_CORPUS();
    window = std::make_unique<MainWindow>();
    window->loadMainWindow({QStringLiteral(LUMO_SHARED_DIR "/corpus/vba-src/VBA-Web")});
    window->resize(1100, 720);
    window->show();
    ASSERT_GT(window->trees().appTree()->topLevelItemCount(), 0);
    window->trees().appTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    act("mnuBearbeiten_Code")->trigger();
    ASSERT_TRUE(window->codeShown());
    QTreeWidgetItem* logDebug = nullptr;
    for (QTreeWidgetItem* n : window->trees().projectTree()->nodesInOrder())
        if (n->parent() && n->parent()->text(0) == "WebHelpers" && n->text(0) == "LogDebug") logDebug = n;
    ASSERT_NE(logDebug, nullptr);
    window->trees().projectTree()->expandItem(logDebug->parent());
    click(window->trees().projectTree(), logDebug);
    ASSERT_EQ(panel(PanelRoutine), "LogDebug");
    act("mnuBearbeiten_Rout")->trigger();
    KeyedTree* result = window->trees().callerTree();
    ASSERT_TRUE(result->isVisible());
    QStringList modules;
    for (int i = 0; i < result->topLevelItemCount(); ++i) modules << result->topLevelItem(i)->text(0);
    for (const char* m : {"WebClient", "WebAsyncWrapper", "DigestAuthenticator", "GoogleAuthenticator"})
        EXPECT_TRUE(modules.contains(m)) << m << " in " << modules.join(", ").toStdString();
    EXPECT_FALSE(modules.contains("WebHelpers"));  // names it only in comments
    EXPECT_GT(result->nodeCount(), modules.size());
    snapshot("callers");

    // A calling routine: its module, the call under the caret, the pop-up over it.
    QTreeWidgetItem* caller = result->topLevelItem(0)->child(0);
    ASSERT_NE(caller, nullptr);
    click(result, caller);
    CodeView* view = window->codeArea().visibleView();
    const int call = int(view->text().indexOf("LogDebug", view->selStart()));
    ASSERT_GE(call, 0);
    view->setSelStart(call + 3);
    QMenu* popup = window->prepareCodePopup();
    EXPECT_EQ(act("mnuPopUpHaupt_Definition")->text(), "&Definition : LogDebug");
    EXPECT_EQ(act("mnuPopUpHaupt_Aufruf")->text(), "Aufrufe: " + panel(PanelRoutine));
    const QRect caret = view->cursorRect();
    popup->popup(view->viewport()->mapToGlobal(caret.bottomRight()));
    snapshot("popup");
    popup->hide();

    act("mnuAnsicht_RouClose")->trigger();
    window->commandBar().searchBox()->setText("LogDebug");
    act("su_p")->trigger();
    act("su_g")->trigger();
    act("mnuBearbeiten_Suchen")->trigger();
    EXPECT_EQ(window->codeArea().visibleView()->selText(), "LogDebug");
    act("mnuBearbeiten_SuchenWeiter")->trigger();
    act("mnuBearbeiten_SuchenWeiter")->trigger();
    EXPECT_EQ(window->codeArea().visibleView()->selText(), "LogDebug");
    EXPECT_EQ(panel(PanelModule), window->trees().projectTree()->nodeText(moduleKey(window->codeArea().current() + 1)));
    EXPECT_TRUE(ui.calls.empty()) << ui.messages().join("|").toStdString();
    snapshot("search");
}
