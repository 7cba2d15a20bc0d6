// frmOptionen and frmAbout driven headless: captions, tooltips, tabs,
// swatches, the font lists, OK and Abbrechen, and the views rendered again.
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include "app/MainWindowFixture.h"
#include "base/HelpPage.h"
#include "base/Settings.h"
#include "dialogs/widgets/AboutDialog.h"
#include "dialogs/widgets/OptionsDialog.h"

using namespace lumo;
using namespace lumo::test;

namespace {

class OptionsDialogTest : public MainWindowTest {
protected:
    template <typename T>
    T* child(QWidget* parent, const char* name) {
        T* w = parent->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QFrame* frame(QWidget* dialog, int index) {
        for (QFrame* f : dialog->findChildren<QFrame*>("fraOptionen"))
            if (f->property("index").toInt() == index) return f;
        return nullptr;
    }
};

TEST_F(OptionsDialogTest, EveryControlCarriesItsCaptionAndTooltip) {
    guiApp();
    OptionsDialog d(appState().options, ui);
    EXPECT_EQ(d.objectName(), "frmOptionen");
    EXPECT_EQ(d.windowTitle(), "Optionen");
    auto* tabs = child<QTabBar>(&d, "tbOptionen");
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), "&Anzeige");
    EXPECT_EQ(tabs->tabText(1), "&Dateien");
    EXPECT_EQ(tabs->tabText(2), "&Code");
    EXPECT_EQ(tabs->tabText(3), "&Formate");

    const struct {
        const char* name;
        const char* caption;
        const char* tip;
        int tab;
    } checks[] = {
        {"chkAufgeklappt", "Modulliste aufgeklappt", "Zeigt alle Einträge im linken Fenster", 1},
        {"chkMeldung", "Meldung nach Clip", "Meldung nach Transport in die Zwischenablage ausgeben", 1},
        {"chkVorschau", "Vorschau Html ", "", 1},
        {"chkUserBild", "Beim Start Benutzer Bildschirm Anwenden", "", 1},
        {"chkStandardImmer", "Immer benutzen", "", 2},
        {"chkEinrueck", "Einrücken", "", 3},
        {"chkRouEinruecken", "Zwischen Routinen Einrücken", "", 3},
        {"chkLeer", "Leerzeilen entfernen", "", 3},
        {"chkRoutLeer", "Leerzeile vor Routinen einfügen", "", 3},
        {"chkRoutinen", "Routinen Fett", "Die erste Zeile einer Routine kursiv ", 4},
    };
    for (const auto& c : checks) {
        auto* box = child<QCheckBox>(&d, c.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(box->toolTip(), QString::fromUtf8(c.tip)) << c.name;
        EXPECT_TRUE(frame(&d, c.tab)->isAncestorOf(box)) << c.name;
    }
    EXPECT_EQ(child<QGroupBox>(&d, "fraStandartProjektVerzeichnis")->title(), "Standard Verzeichnis");
    EXPECT_EQ(child<QPushButton>(&d, "cmdSpeichernÄndern")->text(), "Ändern ...");
    EXPECT_EQ(child<QPushButton>(&d, "cmdNeu")->text(), "Neu...");
    EXPECT_EQ(child<QPushButton>(&d, "cmdNeu")->toolTip(), "Neuen Ordner anlegen");
    EXPECT_EQ(child<QPushButton>(&d, "cmdOK")->text(), "OK");
    EXPECT_EQ(child<QPushButton>(&d, "cmdEscape")->text(), "Abbrechen");
    EXPECT_EQ(child<QLineEdit>(&d, "txtSpeichern")->text(), appState().options.projectFolder);
    EXPECT_EQ(child<QGroupBox>(&d, "fraKeyfarbe")->title(), "Schlüsselwortfarbe");
    EXPECT_EQ(child<QGroupBox>(&d, "fraKomFarbe")->title(), "Kommentarfarbe");
    EXPECT_EQ(child<QGroupBox>(&d, "fraStringFarbe")->title(), "Stringfarbe");
    EXPECT_EQ(child<QLabel>(&d, "lblSchrift")->text(), "Standardschrift Normal");
    EXPECT_EQ(child<QLabel>(&d, "lblTabStop")->text(), "Tabstops in mm");

    // 48 swatches, 16 in each colour frame, in the frame's colours.
    const auto swatches = d.findChildren<QLabel*>("lblFarbe");
    ASSERT_EQ(swatches.size(), 48);
    for (QLabel* s : swatches) {
        const int i = s->property("index").toInt();
        const char* owner = i < 16 ? "fraKomFarbe" : i < 32 ? "fraKeyfarbe" : "fraStringFarbe";
        EXPECT_EQ(s->parent()->objectName(), owner) << i;
        const qint32 c = colourOfSwatch(i);
        EXPECT_EQ(s->palette().color(QPalette::Window), QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)) << i;
    }
    // The frames in twips converted with the screen's DPI.
    EXPECT_EQ(frame(&d, 1)->x(), qRound(240 * d.logicalDpiX() / 1440.0));
    EXPECT_EQ(frame(&d, 1)->width(), qRound(5835 * d.logicalDpiX() / 1440.0));
    EXPECT_EQ(d.width(), qRound(6456 * d.logicalDpiX() / 1440.0));
}

TEST_F(OptionsDialogTest, TabsShowTheirFrameAndTabFourFillsTheFontLists) {
    guiApp();
    appState().options.tabStopMm = 25;
    appState().options.fontSize = 12;
    OptionsDialog d(appState().options, ui);
    EXPECT_EQ(child<QComboBox>(&d, "cboTabStop")->currentText(), "5");
    EXPECT_EQ(child<QComboBox>(&d, "cboTabStop")->count(), 18);
    EXPECT_EQ(child<QComboBox>(&d, "cboSchriftArt")->count(), 0);
    for (int tab : {2, 3, 1, 4}) {
        d.showTab(tab);
        for (int i = 1; i <= 4; ++i) EXPECT_EQ(frame(&d, i)->isVisibleTo(&d), i == tab) << tab << " " << i;
    }
    auto* names = child<QComboBox>(&d, "cboSchriftArt");
    auto* sizes = child<QComboBox>(&d, "cboSchriftGr");
    EXPECT_EQ(names->count(), QFontDatabase::families().size());
    EXPECT_EQ(sizes->count(), 9);
    EXPECT_EQ(sizes->currentText(), "12");
    // "MS Sans Serif" is no font of this screen: nothing selected, OK keeps it.
    if (!QFontDatabase::families().contains("MS Sans Serif")) EXPECT_EQ(names->currentText(), "");
    d.ok();
    EXPECT_EQ(appState().options.fontName, "MS Sans Serif");
    EXPECT_EQ(appState().options.fontSize, 12);
    EXPECT_EQ(appState().options.tabStopMm, 5);
    EXPECT_EQ(getSetting("optionen", "tab"), "5");
}

TEST_F(OptionsDialogTest, UntickingIndentGreysTheDependentBoxAndKeepsItsTick) {
    guiApp();
    appState().options.reindentBlocks = true;
    appState().options.indentRoutineBodies = true;
    OptionsDialog d(appState().options, ui);
    auto* einr = child<QCheckBox>(&d, "chkEinrueck");
    auto* rer = child<QCheckBox>(&d, "chkRouEinruecken");
    EXPECT_TRUE(rer->isEnabled());
    einr->click();
    EXPECT_FALSE(rer->isEnabled());
    EXPECT_TRUE(rer->isChecked());
    d.ok();
    EXPECT_FALSE(appState().options.reindentBlocks);
    EXPECT_TRUE(appState().options.indentRoutineBodies);
    EXPECT_EQ(getSetting("optionen", "einr"), "0");
    EXPECT_EQ(getSetting("optionen", "rer"), "-1");

    OptionsDialog again(appState().options, ui);
    EXPECT_FALSE(child<QCheckBox>(&again, "chkRouEinruecken")->isEnabled());
}

TEST_F(OptionsDialogTest, AbbrechenAfterChangesStoresNothing) {
    guiApp();
    const Options before = appState().options;
    OptionsDialog d(appState().options, ui);
    d.clickSwatch(20);
    d.clickSwatch(36);
    EXPECT_EQ(d.frameColour(ColourFrame::Keyword), 0x0000FF);
    EXPECT_EQ(child<QGroupBox>(&d, "fraKeyfarbe")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    child<QCheckBox>(&d, "chkMeldung")->click();
    child<QLineEdit>(&d, "txtSpeichern")->setText("/anderswo");
    child<QPushButton>(&d, "cmdEscape")->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(appState().options.keywordColour, before.keywordColour);
    EXPECT_EQ(appState().options.confirmClipboard, before.confirmClipboard);
    EXPECT_EQ(appState().options.projectFolder, before.projectFolder);
    EXPECT_TRUE(getAllSettings("optionen").isEmpty());
    EXPECT_EQ(getSetting("proj", "proj_pf"), "");
}

TEST_F(OptionsDialogTest, ChangedKeywordColourShowsInTheRenderedViewsAgain) {
    open();
    build();
    auto keywordColour = [&] {
        CodeView* v = window->codeArea().visibleView();
        const int pos = v->toDocument(int(v->text().indexOf("Option Explicit")));
        for (const RtfRun& r : v->content().runs)
            if (pos >= r.start && pos < r.start + r.length) return v->content().color(r.format.color);
        return RtfColor{-1, -1, -1};
    };
    EXPECT_EQ(keywordColour(), (RtfColor{0, 0, 128}));
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        shown = true;
        d->clickSwatch(20);
        d->ok();
    });
    act("mnuExtras_Optionen")->trigger();
    ASSERT_TRUE(shown);
    EXPECT_EQ(appState().options.keywordColour, 0x0000FF);
    EXPECT_EQ(getSetting("optionen", "fkey"), "255");
    EXPECT_EQ(keywordColour(), (RtfColor{255, 0, 0}));
    EXPECT_TRUE(window->codeShown());
}

// Every tab as the screen draws it: the swatches show their colours where
// they sit. With LUMO_SHOT_DIR set the pictures are kept for a look.
TEST_F(OptionsDialogTest, EveryTabDrawsAndTheSwatchesShowTheirColours) {
    guiApp();
    OptionsDialog d(appState().options, ui);
    d.show();
    QCoreApplication::processEvents();
    const QString shots = qEnvironmentVariable("LUMO_SHOT_DIR");
    for (int tab = 1; tab <= 4; ++tab) {
        d.showTab(tab);
        QCoreApplication::processEvents();
        const QImage picture = d.grab().toImage();
        ASSERT_FALSE(picture.isNull());
        if (!shots.isEmpty()) picture.save(shots + QStringLiteral("/optionen_%1.png").arg(tab));
        if (tab != 4) continue;
        for (QLabel* s : d.findChildren<QLabel*>("lblFarbe")) {
            const QPoint centre = s->mapTo(&d, s->rect().center()) * picture.devicePixelRatio();
            const qint32 c = colourOfSwatch(s->property("index").toInt());
            EXPECT_EQ(picture.pixelColor(centre), QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF))
                << s->property("index").toInt();
        }
    }
    AboutDialog about(ui);
    about.show();
    QCoreApplication::processEvents();
    const QImage picture = about.grab().toImage();
    ASSERT_FALSE(picture.isNull());
    if (!shots.isEmpty()) picture.save(shots + QStringLiteral("/about.png"));
}

TEST_F(OptionsDialogTest, AboutBoxOpensTheWebPageAndShowsTheSystem) {
    guiApp();
    AboutDialog d(ui);
    EXPECT_EQ(d.objectName(), "frmAbout");
    EXPECT_EQ(child<QLabel>(&d, "lblTitel")->text(), appState().titleText);
    // No web page set: the button opens the help page, and Enter on it closes the box.
    auto* web = child<QPushButton>(&d, "cmdWeb");
    ASSERT_TRUE(QFileInfo::exists(helpPageFile())) << helpPageFile().toStdString();
    web->click();
    EXPECT_EQ(ui.viewed, std::vector<QString>{helpPageFile()});
    d.show();
    web->setFocus();
    QTest::keyClick(web, Qt::Key_Return);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(ui.viewed.size(), 1u);
    appState().options.makerWebPage = "https://example.org/lumo";
    AboutDialog withPage(ui);
    child<QPushButton>(&withPage, "cmdWeb")->click();
    EXPECT_EQ(ui.viewed.back(), "https://example.org/lumo");
    EXPECT_EQ(child<QLabel>(&withPage, "lblWeb")->text(), "https://example.org/lumo");
    appState().options.makerWebPage.clear();
    child<QPushButton>(&d, "cmdSysInfo")->click();
    ASSERT_EQ(ui.messages().size(), 1);
    const QString info = ui.messages()[0];
    EXPECT_TRUE(info.contains("Qt-Version: " + QString::fromLatin1(qVersion())));
    EXPECT_TRUE(info.contains("Einstellungen: " + settingsLocation()));
    EXPECT_TRUE(info.contains("Arbeitsordner: " + appState().workFolder));
    EXPECT_TRUE(info.contains("Temporäre Dateien: " + appState().tempRoot));
}

}  // namespace
