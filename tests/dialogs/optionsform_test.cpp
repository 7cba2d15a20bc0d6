// The options form: what the controls show, what a click changes, what OK
// makes of it, and the folder buttons.
#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QTemporaryDir>

#include "base/AppState.h"
#include "base/Settings.h"
#include "base/StartUp.h"
#include "dialogs/OptionsForm.h"
#include "support/FakeUi.h"

using namespace lumo;

namespace {

TEST(OptionsForm, TabStopsOutsideTheListShowAsFiveAndAreStoredSo) {
    Options o;
    const std::pair<int, const char*> cases[] = {{25, "5"}, {0, "5"}, {2, "5"}, {3, "3"}, {20, "20"}, {12, "12"}};
    for (const auto& [stored, shown] : cases) {
        o.tabStopMm = qint16(stored);
        const OptionsForm f = OptionsForm::load(o);
        EXPECT_EQ(f.tabStop, shown) << stored;
        EXPECT_EQ(f.apply(o).tabStopMm, QString(shown).toInt()) << stored;
    }
    EXPECT_EQ(tabStopEntries().size(), 18);
    EXPECT_EQ(tabStopEntries().front(), "3");
    EXPECT_EQ(fontSizeEntries(), (QStringList{"8", "9", "10", "11", "12", "13", "14", "15", "16"}));
}

TEST(OptionsForm, FontStaysUnlessItsListsWereFilledWithIt) {
    Options o;
    o.fontName = "Courier New";
    o.fontSize = 12;
    OptionsForm f = OptionsForm::load(o);
    Options after = f.apply(o);  // tab 4 never shown
    EXPECT_EQ(after.fontName, "Courier New");
    EXPECT_EQ(after.fontSize, 12);

    // The screen lacks the font, and 20 is beyond the sizes offered: nothing selected, nothing changed.
    o.fontSize = 20;
    f = OptionsForm::load(o);
    f.fillFontLists({"DejaVu Sans", "DejaVu Sans Mono"}, o);
    EXPECT_TRUE(f.fontListsFilled);
    EXPECT_EQ(f.fontName, "");
    EXPECT_EQ(f.fontSize, "");
    QString family;
    int size = 0;
    EXPECT_FALSE(f.sampleFont(family, size));
    after = f.apply(o);
    EXPECT_EQ(after.fontName, "Courier New");
    EXPECT_EQ(after.fontSize, 20);

    f.fontName = "DejaVu Sans Mono";
    f.fontSize = "9";
    ASSERT_TRUE(f.sampleFont(family, size));
    EXPECT_EQ(family, "DejaVu Sans Mono");
    EXPECT_EQ(size, 9);
    after = f.apply(o);
    EXPECT_EQ(after.fontName, "DejaVu Sans Mono");
    EXPECT_EQ(after.fontSize, 9);
    EXPECT_TRUE(lookChanged(o, after));
    EXPECT_FALSE(textChanged(o, after));
}

TEST(OptionsForm, SwatchesColourTheFrameTheyBelongTo) {
    const Options o;
    OptionsForm f = OptionsForm::load(o);
    f.clickSwatch(20);
    EXPECT_EQ(f.keyColour, 0x0000FF);
    f.clickSwatch(36);
    EXPECT_EQ(f.stringColour, 0x0000FF);
    f.clickSwatch(3);
    EXPECT_EQ(f.commentColour, 0xFFFF00);
    f.clickSwatch(47);
    EXPECT_EQ(f.stringColour, 0xC0C0C0);
    f.clickSwatch(48);  // no such swatch
    f.clickSwatch(-1);
    EXPECT_EQ(f.keyColour, 0x0000FF);
    const Options after = f.apply(o);
    EXPECT_EQ(after.keywordColour, 0x0000FF);
    EXPECT_EQ(after.commentColour, 0xFFFF00);
    EXPECT_EQ(after.stringColour, 0xC0C0C0);
    EXPECT_TRUE(lookChanged(o, after));
    // Each frame holds the sixteen colours once, eight to a row.
    for (int frame = 0; frame < 3; ++frame) {
        std::set<qint32> colours;
        std::set<std::pair<bool, int>> places;
        for (int k = 0; k < 16; ++k) {
            colours.insert(colourOfSwatch(frame * 16 + k));
            places.insert({swatchInUpperRow(frame * 16 + k), swatchColumn(frame * 16 + k)});
        }
        EXPECT_EQ(colours.size(), 16u);
        EXPECT_EQ(places.size(), 16u);
    }
    EXPECT_EQ(colourOfSwatch(24), 0xFFFFFF);  // upper row, first
    EXPECT_EQ(colourOfSwatch(23), 0x000000);  // lower row, last
    EXPECT_EQ(frameOfSwatch(15), ColourFrame::Comment);
    EXPECT_EQ(frameOfSwatch(16), ColourFrame::Keyword);
}

TEST(OptionsForm, SwitchesAndTheDependentIndentBox) {
    Options o;
    o.reindentBlocks = true;
    o.indentRoutineBodies = true;
    OptionsForm f = OptionsForm::load(o);
    EXPECT_TRUE(f.rerEnabled());
    f.reindentBlocks = false;  // unticked: the dependent box greys, its tick stays
    EXPECT_FALSE(f.rerEnabled());
    f.removeBlankLines = true;
    f.confirmClipboard = false;
    f.folder = "/srv/projekte";
    const Options after = f.apply(o);
    EXPECT_FALSE(after.reindentBlocks);
    EXPECT_TRUE(after.indentRoutineBodies);
    EXPECT_TRUE(after.removeBlankLines);
    EXPECT_FALSE(after.confirmClipboard);
    EXPECT_EQ(after.projectFolder, "/srv/projekte");
    EXPECT_TRUE(textChanged(o, after));
    EXPECT_FALSE(lookChanged(o, after));
    EXPECT_FALSE(lookChanged(o, o) || textChanged(o, o));
}

class OptionsFolders : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        saved = appState();
        initSharedState({QStringLiteral(LUMO_BIN_DIR), dir.path() + "/daten", dir.path() + "/settings.ini"});
    }
    void TearDown() override { appState() = saved; }
    QTemporaryDir dir;
    AppState saved;
    test::FakeUi ui;
};

TEST_F(OptionsFolders, NewFolderIsMadeFromTheCleanedName) {
    ui.folders = {dir.path()};
    ui.inputs = {QString("  Neue/Pro:jekte  ")};
    EXPECT_EQ(makeNewFolder(ui, "/start"), dir.path() + "/NeueProjekte");
    EXPECT_TRUE(QDir(dir.path() + "/NeueProjekte").exists());
    ASSERT_EQ(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[0].title, "Bitte Verzeichnis auswählen,\r\nin welchem der neue Ordner erzeugt werden soll");
    EXPECT_EQ(ui.calls[0].text, "/start");
    EXPECT_EQ(ui.calls[1].text, "Namen für neuen Ordner angeben");
    EXPECT_EQ(ui.calls[1].title, "Neuer Ordner");

    // It exists already: taken all the same.
    ui.folders = {dir.path()};
    ui.inputs = {QString("NeueProjekte")};
    EXPECT_EQ(makeNewFolder(ui, "/start"), dir.path() + "/NeueProjekte");

    ui.folders = {dir.path()};
    ui.inputs = {QString(" ?* ")};
    EXPECT_EQ(makeNewFolder(ui, "/start"), "");
    ui.folders = {dir.path()};
    ui.inputs = {std::nullopt};
    EXPECT_EQ(makeNewFolder(ui, "/start"), "");
    ui.folders = {QString()};
    EXPECT_EQ(makeNewFolder(ui, "/start"), "");

    ui.calls.clear();
    ui.folders = {dir.path()};
    EXPECT_EQ(changeStandardFolder(ui, "/alt"), dir.path());
    EXPECT_EQ(ui.calls[0].title, "Bitte Standardordner für Projekte auswählen");
    EXPECT_EQ(ui.calls[0].text, "/alt");
}

TEST_F(OptionsFolders, OkStoresTheFolderAndEveryOption) {
    Options o = appState().options;
    o.projectFolder = "/srv/projekte/";
    o.keywordColour = 255;
    o.tabStopMm = 7;
    storeOptions(o);
    EXPECT_EQ(getSetting("proj", "proj_pf"), "/srv/projekte/");
    EXPECT_EQ(getSetting("optionen", "fkey"), "255");
    EXPECT_EQ(getSetting("optionen", "tab"), "7");
    EXPECT_EQ(getSetting("optionen", "bis"), "");  // the layout is stored by its own command only
}

}  // namespace
