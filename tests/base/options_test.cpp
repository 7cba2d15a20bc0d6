#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/AppState.h"
#include "base/HostTable.h"
#include "base/OptionsStore.h"
#include "base/Settings.h"
#include "base/StartUp.h"

using namespace lumo;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        saved = appState();
        paths = {QStringLiteral(LUMO_BIN_DIR), dir.path() + "/daten", dir.path() + "/settings.ini"};
        initSharedState(paths);
    }
    void TearDown() override { appState() = saved; }
    QString iniText() {
        QFile f(paths.settingsFile);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir dir;
    AppState saved;
    StartupPaths paths;
};

TEST_F(SettingsTest, FirstStartHoldsEveryDefault) {
    const AppState& s = appState();
    EXPECT_EQ(s.hostKind, 2);
    EXPECT_EQ(s.hostName, "Word");
    EXPECT_EQ(s.hostCode, "QDL");
    EXPECT_EQ(s.settingsAppName, "RX_Lumo\\Co_Lum_Word");
    EXPECT_EQ(s.titleText, "Word Code Lumo 1.0");
    EXPECT_EQ(s.tempRoot, dir.path() + "/daten/TempDateien/");
    EXPECT_EQ(s.workFolder, s.tempRoot);
    EXPECT_TRUE(QDir(s.tempRoot).exists());
    EXPECT_EQ(s.programFolder, QStringLiteral(LUMO_BIN_DIR "/"));
    EXPECT_TRUE(s.exportModuleHeadings);
    EXPECT_EQ(s.options.projectFolder, QDir::homePath() + "/");
    EXPECT_EQ(s.options.screenLayout, "max");
    EXPECT_EQ(s.options.fontName, "MS Sans Serif");
    EXPECT_EQ(s.options.fontSize, 10);
    EXPECT_EQ(s.options.keywordColour, 8388608);
    EXPECT_EQ(s.options.commentColour, 32768);
    EXPECT_EQ(s.options.stringColour, 128);
    EXPECT_EQ(s.options.tabStopMm, 5);
    EXPECT_TRUE(s.options.boldRoutineLines && s.options.confirmClipboard);
    EXPECT_FALSE(s.options.removeBlankLines || s.options.reindentBlocks || s.options.saveBelowProjectFolder || s.options.expandModuleTree || s.options.previewInBrowser ||
                 s.options.indentRoutineBodies || s.options.blankLineBeforeRoutines || s.options.applyScreenLayout);
    EXPECT_EQ(hostRow(9).name, std::string("VisualBasic"));
    EXPECT_EQ(hostRow(6).name, std::string(""));
}

TEST_F(SettingsTest, EnvironmentRedirectsDataAndSettings) {
    qputenv("LUMO_DATA_DIR", (dir.path() + "/env-daten").toLocal8Bit());
    qputenv("LUMO_SETTINGS_FILE", (dir.path() + "/env.ini").toLocal8Bit());
    initSharedState({QStringLiteral(LUMO_BIN_DIR), {}, {}});
    qunsetenv("LUMO_DATA_DIR");
    qunsetenv("LUMO_SETTINGS_FILE");
    EXPECT_EQ(appState().tempRoot, dir.path() + "/env-daten/TempDateien/");
    EXPECT_EQ(appState().settingsFile, dir.path() + "/env.ini");
    saveSetting("proj", "proj_pf", "/x/");
    EXPECT_TRUE(QFile::exists(dir.path() + "/env.ini"));
}

TEST_F(SettingsTest, StoredProjectFolderNeedsMoreThanOneCharacter) {
    saveSetting("proj", "proj_pf", "D");
    initSharedState(paths);
    EXPECT_EQ(appState().options.projectFolder, QDir::homePath() + "/");
    saveSetting("proj", "proj_pf", "D:");
    initSharedState(paths);
    EXPECT_EQ(appState().options.projectFolder, "D:");
}

TEST_F(SettingsTest, SectionsReadWriteAndDelete) {
    EXPECT_EQ(getSetting("recent", "F0"), "");
    EXPECT_TRUE(getAllSettings("recent").isEmpty());
    saveSetting("recent", "F1", "/b/");
    saveSetting("recent", "F0", "/a, mit Komma/");
    saveSetting("optionen", "tab", "7");
    const SettingPairs all = getAllSettings("recent");
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ(all[0], qMakePair(QString("F0"), QString("/a, mit Komma/")));
    EXPECT_EQ(all[1], qMakePair(QString("F1"), QString("/b/")));
    deleteSetting("recent");
    deleteSetting("recent");
    deleteSetting("");
    EXPECT_TRUE(getAllSettings("recent").isEmpty());
    EXPECT_EQ(getSetting("optionen", "tab"), "7");
    EXPECT_TRUE(iniText().contains("[optionen]"));
}

TEST_F(SettingsTest, ABatchReachesTheFileWhenItEnds) {
    {
        const SettingsBatch outer;
        saveSetting("recent", "F0", "/a/");
        {
            const SettingsBatch inner;
            saveSetting("recent", "F1", "/b/");
        }
        EXPECT_FALSE(iniText().contains("/b/"));
        EXPECT_EQ(getSetting("recent", "F1"), "/b/");
    }
    EXPECT_TRUE(iniText().contains("F0=/a/"));
    EXPECT_TRUE(iniText().contains("F1=/b/"));
}

TEST_F(SettingsTest, EmptyStoreChangesNoOption) {
    Options o;
    o.keywordColour = 1;
    o.fontName = "X";
    o.screenLayout = "1;2;3;4";
    loadOptions(o);
    EXPECT_EQ(o.keywordColour, 1);
    EXPECT_EQ(o.fontName, "X");
    EXPECT_EQ(o.screenLayout, "1;2;3;4");
    EXPECT_EQ(refreshCaption(appState().hostName), "&Aktualisieren Word VBA Projekte");
    EXPECT_EQ(refreshToolTip(appState().hostName), "Aktualisieren Word VBA Projekte (F5)");
}

TEST_F(SettingsTest, StoredTextsDecodeByTheLeadingNumber) {
    saveSetting("optionen", "rouf", "0");
    saveSetting("optionen", "meld", "abc");
    saveSetting("optionen", "einr", "1");
    saveSetting("optionen", "leer", "-1");
    saveSetting("optionen", "usb", " 2 Stück");
    saveSetting("optionen", "aufk", "");
    saveSetting("optionen", "fkey", "255");
    saveSetting("optionen", "fkom", "grün");
    saveSetting("optionen", "tab", "7.6");
    saveSetting("optionen", "font", "Courier New,12");
    saveSetting("optionen", "bis", "MAX");
    Options o;
    loadOptions(o);
    EXPECT_FALSE(o.boldRoutineLines);
    EXPECT_FALSE(o.confirmClipboard);
    EXPECT_TRUE(o.reindentBlocks);
    EXPECT_TRUE(o.removeBlankLines);
    EXPECT_TRUE(o.applyScreenLayout);
    EXPECT_FALSE(o.expandModuleTree);  // empty: default stays
    EXPECT_EQ(o.keywordColour, 255);
    EXPECT_EQ(o.commentColour, 0);
    EXPECT_EQ(o.tabStopMm, 8);
    EXPECT_EQ(o.fontName, "Courier New");
    EXPECT_EQ(o.fontSize, 12);
    EXPECT_EQ(o.screenLayout, "MAX");

    QString name;
    qint16 size = -1;
    decodeFont("Arial", name, size);
    EXPECT_EQ(name, "Arial");
    EXPECT_EQ(size, 0);
    decodeFont("Name, mit, Komma,14", name, size);
    EXPECT_EQ(name, "Name");
    EXPECT_EQ(size, 14);
}

TEST_F(SettingsTest, SaveWritesEveryKeyButLayoutAndFolderAndLoadsBack) {
    Options o;
    o.boldRoutineLines = false;
    o.reindentBlocks = true;
    o.stringColour = 0x123456;
    o.tabStopMm = 12;
    o.fontName = "DejaVu Sans Mono";
    o.fontSize = 11;
    o.screenLayout = "1;2;3;4";
    saveOptions(o);
    EXPECT_EQ(getSetting("optionen", "rouf"), "0");
    EXPECT_EQ(getSetting("optionen", "einr"), "-1");
    EXPECT_EQ(getSetting("optionen", "fstr"), "1193046");
    EXPECT_EQ(getSetting("optionen", "font"), "DejaVu Sans Mono,11");
    EXPECT_EQ(getSetting("optionen", "bis"), "");
    EXPECT_EQ(getSetting("optionen", "zeilen"), "-1");
    EXPECT_EQ(getAllSettings("optionen").size(), 16);
    EXPECT_TRUE(getAllSettings("proj").isEmpty());

    Options back;
    loadOptions(back);
    EXPECT_FALSE(back.boldRoutineLines);
    EXPECT_TRUE(back.reindentBlocks);
    EXPECT_EQ(back.stringColour, 0x123456);
    EXPECT_EQ(back.tabStopMm, 12);
    EXPECT_EQ(back.fontName, "DejaVu Sans Mono");
    EXPECT_EQ(back.fontSize, 11);
    EXPECT_EQ(back.screenLayout, "max");
}

}  // namespace
