// The export commands in the window: menus, pop-ups, toolbar and states,
// what each reads from the window, and the compact window.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPushButton>

#include "app/MainWindowFixture.h"
#include "app/widgets/CompactWindow.h"

using namespace lumo;
using namespace lumo::test;

namespace {

class ExportWindowTest : public MainWindowTest {
protected:
    // Built, with the first module (Werkzeuge) shown; every question answered No.
    void openBuilt() {
        open();
        build();
        for (int i = 0; i < 20; ++i) ui.answers.push_back(Answer::No);
    }
};

}  // namespace

TEST_F(ExportWindowTest, ExportItemsFollowTheCommandStates) {
    open();
    for (const char* name : {"mnuHtml_Auswahl", "mnuHtml_Modul", "mnuHtml_projekt", "ht_aus", "ht_mod", "ht_pro",
                             "mnuRtf", "mnuText", "mnuBearbeiten_Kopieren_Modul", "mnuBearbeiten_Kopieren_Auswahl"})
        EXPECT_FALSE(act(name)->isEnabled()) << name;
    for (const char* name : {"mnuHtml_Clipboard", "ht_clip", "mnuPopUpEinlesen_Clip", "mnuExtras_Struktur"})
        EXPECT_TRUE(act(name)->isEnabled()) << name;
    build();
    for (const char* name : {"mnuHtml_Auswahl", "mnuHtml_Modul", "mnuHtml_projekt", "ht_aus", "ht_mod", "ht_pro",
                             "mnuRtf", "mnuText", "mnuBearbeiten_Kopieren_Modul", "mnuBearbeiten_Kopieren_Auswahl"})
        EXPECT_TRUE(act(name)->isEnabled()) << name;
    EXPECT_FALSE(act("ht_clip")->icon().isNull());
    EXPECT_EQ(act("mnuAnsicht_Spezial")->shortcut(), QKeySequence(Qt::Key_F9));
    // The pop-up's four HTML entries run the four commands of the menu.
    const Command html[] = {Command::HtmlClipboard, Command::HtmlSelection, Command::HtmlModule, Command::HtmlProject};
    for (int i = 0; i < 4; ++i) {
        QAction* popup = window->commandBar().menuAction(html[i], 1);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->objectName(), "mnuPopUpHaupt_Html_Index");
        EXPECT_EQ(popup->data().toInt(), i);
    }
}

TEST_F(ExportWindowTest, HtmlOfTheShownModuleAndOfTheProject) {
    openBuilt();
    act("ht_mod")->trigger();
    EXPECT_TRUE(ui.clipboard.startsWith("<pre><span style=\"font-family=MS Sans Serif,Arial; font-size=10pt\"; >"));
    EXPECT_TRUE(ui.clipboard.contains("Starten"));
    EXPECT_FALSE(ui.clipboard.contains("Kunde"));
    EXPECT_EQ(panel(PanelOperation), "");
    window->commandBar().menuAction(Command::HtmlProject, 1)->trigger();
    EXPECT_EQ(ui.clipboard.count("<pre>"), 3);
    EXPECT_TRUE(ui.clipboard.contains("Modul&#58;  Kunde  Typ = Klassenmodul"));
    EXPECT_TRUE(ui.clipboard.contains("Modul&#58;  ThisDocument  Typ = Document"));
}

TEST_F(ExportWindowTest, ZoomToHtmlKeepsTheZoomCaretWithoutSelection) {
    openBuilt();
    window->trees().projectTree()->expandAll();
    QTreeWidgetItem* module = window->trees().projectTree()->topLevelItem(0);
    window->navigation().nodeSelection(module->child(1));  // Starten
    act("mnuAnsicht_Zoom")->trigger();
    CodeView* zoom = window->codeArea().zoomView();
    ASSERT_GT(zoom->length(), 0);
    zoom->setSelStart(5);
    act("mnuPopUp_Zoom_Html")->trigger();
    EXPECT_EQ(zoom->selStart(), 5);
    EXPECT_EQ(zoom->selLength(), 0);
    EXPECT_TRUE(ui.clipboard.contains("<b><span style=\"color:#000080\"; >Public</span> "));
    EXPECT_TRUE(zoom->updatesEnabled());

    // The selection commands read the zoom view while it is on; "Kopieren Modul" refuses.
    zoom->setSelStart(0);
    zoom->setSelLength(6);
    act("mnuText_Auswahl")->trigger();
    EXPECT_EQ(ui.clipboard, "Public");
    act("mnuBearbeiten_Kopieren_Modul")->trigger();
    EXPECT_EQ(ui.messages().last(), "Steht im Zoom Modus nicht zur Verfügung");
    QApplication::clipboard()->clear();
    act("mnuPopUp_Zoom_Copy")->trigger();
    ASSERT_NE(QApplication::clipboard()->mimeData(), nullptr);
    EXPECT_EQ(QApplication::clipboard()->mimeData()->text().replace("\n", "\r\n"), zoom->text());
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat("text/rtf"));
    EXPECT_EQ(zoom->selLength(), 0);
}

TEST_F(ExportWindowTest, CopyAndPlainTextOfTheModule) {
    openBuilt();
    CodeView* view = window->codeArea().visibleView();
    view->setSelStart(7);
    QApplication::clipboard()->clear();
    act("mnuBearbeiten_Kopieren_Modul")->trigger();
    ASSERT_NE(QApplication::clipboard()->mimeData(), nullptr);
    EXPECT_EQ(QApplication::clipboard()->mimeData()->text().replace("\n", "\r\n"), view->text());
    EXPECT_EQ(view->selStart(), 7);
    EXPECT_EQ(view->selLength(), 0);

    act("mnuText_Modul")->trigger();
    EXPECT_EQ(ui.clipboard, view->text());
    EXPECT_EQ(ui.messages().last(), "Text in Zwischenablage");
    act("mnuHtml_Auswahl")->trigger();
    EXPECT_EQ(ui.messages().last(), "Bitte markieren Sie den gewünschten Text");
}

TEST_F(ExportWindowTest, RtfOfTheModuleUnderTheChosenNameWithTheRtfExtension) {
    openBuilt();
    ui.saveFiles.push_back(dir.path() + "/Ausgabe.txt");
    act("mnuRtf_Modul")->trigger();
    EXPECT_EQ(ui.calls.back().kind, "save");
    EXPECT_TRUE(ui.calls.back().text.endsWith("|Werkzeuge")) << ui.calls.back().text.toStdString();
    QFile f(dir.path() + "/Ausgabe.RTF");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.contains("Starten"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/Ausgabe.txt"));
    EXPECT_EQ(panel(PanelOperation), "");
    // Cancelled: nothing written, nothing said.
    const auto calls = ui.calls.size();
    act("mnuRtf_Projekt")->trigger();
    EXPECT_EQ(ui.calls.size(), calls + 1);
    EXPECT_TRUE(ui.calls.back().text.endsWith("|Projekt1")) << ui.calls.back().text.toStdString();
}

TEST_F(ExportWindowTest, StructureOfTheShownTree) {
    open();
    act("mnuExtras_Struktur")->trigger();
    EXPECT_EQ(ui.clipboard, "Projekt1 [Projekt1.docm]\r\n\tWerkzeuge\r\n\tKunde\r\n\tThisDocument\r\n")
        << ui.clipboard.toStdString();
    build();
    act("mnuExtras_Struktur")->trigger();
    EXPECT_EQ(ui.clipboard, "Werkzeuge\r\n\tAnzeigen\r\n\tStarten\r\nKunde\r\n\tName\r\nThisDocument\r\n"
                            "\tDocument_Open\r\n");
    EXPECT_EQ(ui.calls.back().title, appState().titleText);
}

TEST_F(ExportWindowTest, CompactWindowStandsInForTheMainWindow) {
    openBuilt();
    act("mnuAnsicht_Spezial")->trigger();
    CompactWindow* frmMin = window->compactWindow();
    ASSERT_NE(frmMin, nullptr);
    EXPECT_TRUE(frmMin->isVisible());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(frmMin->objectName(), "frmMin");
    EXPECT_EQ(frmMin->windowTitle(), appState().titleText);
    EXPECT_TRUE(frmMin->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(frmMin->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(frmMin->htmlButton()->icon().isNull());
    EXPECT_EQ(frmMin->backButton()->text(), "<< Vollansicht");

    ui.clipboard = "Sub A()\r\nEnd Sub";
    frmMin->htmlButton()->click();
    EXPECT_TRUE(ui.clipboard.startsWith("<pre>")) << ui.clipboard.toStdString();

    frmMin->backButton()->click();
    EXPECT_FALSE(frmMin->isVisible());
    EXPECT_TRUE(window->isVisible());

    // Its own close button ends the program: the main window closes too.
    act("mnuAnsicht_Spezial")->trigger();
    const QString runFolder = appState().runFolder;
    ASSERT_TRUE(QFileInfo::exists(runFolder));
    frmMin->close();
    EXPECT_FALSE(QFileInfo::exists(runFolder));
}

TEST_F(ExportWindowTest, SlashAInAnyCaseStartsTheCompactWindow) {
    host.projects = {sampleProject()};
    window = std::make_unique<MainWindow>();
    window->setHostConnector(&host);
    window->loadMainWindow({"/A"});
    QCoreApplication::processEvents();
    ASSERT_NE(window->compactWindow(), nullptr);
    EXPECT_TRUE(window->compactWindow()->isVisible());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->trees().appTree()->nodeCount() > 0);  // loaded all the same
}

TEST_F(ExportWindowTest, WebsiteIntoTheChosenFolderOpensItsOverview) {
    open();
    EXPECT_FALSE(act("mnuHtml_Website")->isEnabled());
    build();
    EXPECT_TRUE(act("mnuHtml_Website")->isEnabled());
    act("mnuHtml_Website")->trigger();  // cancelled: nothing made, nothing said
    EXPECT_EQ(ui.calls.back().kind, "folder");
    ui.folders.push_back(dir.path() + "/web");
    act("mnuHtml_Website")->trigger();
    ASSERT_EQ(ui.viewed.size(), 1u);
    EXPECT_EQ(ui.viewed.back(), dir.path() + "/web/index.html");
    EXPECT_TRUE(QFile::exists(dir.path() + "/web/modul-Werkzeuge.html"));
    EXPECT_EQ(panel(PanelOperation), "");
    // A folder of the user's own is refused and left alone.
    QFile own(dir.path() + "/web/notiz.txt");
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.close();
    ui.folders.push_back(dir.path() + "/web");
    act("mnuHtml_Website")->trigger();
    EXPECT_TRUE(ui.messages().last().contains("enthält nicht nur eine Website von Code Lumo (etwa notiz.txt)"));
    EXPECT_EQ(ui.viewed.size(), 1u);
}
