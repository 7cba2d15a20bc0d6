#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeBuild.h"
#include "base/AppState.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"
#include "support/FakeHost.h"
#include "support/FakeUi.h"
#include "support/TempWorkFolder.h"

namespace {

using lumo::test::FakeConnector;

class OfficeBuild : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        lumo::appState().options = lumo::Options{};
        host.add("Erstes", QString("/daten/erstes.docm"), {{"Modul1", 1, {"Sub A()", "End Sub", "' x"}}});
        host.add("Bericht", QString("/daten/bericht.docm"),
                 {{"ThisDocument", 100, {"Private Sub Document_Open()", "  A", "End Sub"}},
                  {"Werkzeug", 1, {"Option Explicit", "Sub B()", "End Sub", "Function C()", "End Function"}},
                  {"Form1", 3, {"Private Sub UserForm_Click()", "", "End Sub"}},
                  {"Designer", 11, {"' a", "Dim b", "' c"}}});
        ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    }
    void TearDown() override {
        lumo::WorkingStore::instance().closeWorkingDatabase();
    }
    std::size_t indexOf(const QString& key) {
        for (std::size_t i = 0; i < tree.size(); ++i)
            if (tree[i].key == key) return i;
        ADD_FAILURE() << "no node " << key.toStdString();
        return 0;
    }
    std::vector<std::pair<QString, qint64>> storedModules() {
        lumo::WorkingStore& store = lumo::WorkingStore::instance();
        store.openWorkingDatabase();
        std::vector<std::pair<QString, qint64>> rows;
        lumo::Query q = store.query("SELECT mod_name, mod_typ, mod_num FROM td_mod ORDER BY mod_num");
        while (q.next()) rows.emplace_back(q.text(0), q.integer(1));
        store.closeWorkingDatabase();
        return rows;
    }

    lumo::test::TempWorkFolder work;
    FakeConnector host;
    lumo::test::FakeUi ui;
    lumo::AppTree tree;
    int version = 0;
};

TEST_F(OfficeBuild, TickedProjectBuildsItsComponentsInTreeOrder) {
    lumo::applyCheck(tree, indexOf("A2\\"), true);
    std::vector<std::pair<lumo::StatusPanel, QString>> status;
    const auto result =
        lumo::buildFromOffice(host, tree, ui, [&](lumo::StatusPanel panel, const QString& text) { status.emplace_back(panel, text); });
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.projectName, "Bericht");
    EXPECT_EQ(result.modules, 4);
    EXPECT_TRUE(ui.calls.empty());
    const std::vector<std::pair<QString, qint64>> expected{{"ThisDocument", 5}, {"Werkzeug", 2}, {"Form1", 1}, {"Designer", 32}};
    EXPECT_EQ(storedModules(), expected);
    ASSERT_EQ(status.size(), 6u);
    EXPECT_EQ(status.front(), std::make_pair(lumo::PanelOperation, QString("Erzeuge Projekt")));
    EXPECT_EQ(status[1], std::make_pair(lumo::PanelModule, QString("Modul: ThisDocument")));
    EXPECT_EQ(status.back(), std::make_pair(lumo::PanelOperation, QString()));
    EXPECT_FALSE(lumo::WorkingStore::instance().isOpen());
    EXPECT_EQ(lumo::builtProjectCaption("Word Code Lumo 1.0", result.projectName),
              "Word Code Lumo 1.0 Projekt: Bericht [nicht gespeichert !!!]");
}

TEST_F(OfficeBuild, OneTickedComponentIsModuleOne) {
    lumo::applyCheck(tree, indexOf("A2\\Werkzeug"), true);
    const auto result = lumo::buildFromOffice(host, tree, ui);
    ASSERT_TRUE(result.ok);
    const std::vector<std::pair<QString, qint64>> expected{{"Werkzeug", 2}};
    EXPECT_EQ(storedModules(), expected);
    lumo::WorkingStore& store = lumo::WorkingStore::instance();
    EXPECT_TRUE(QFile::exists(lumo::appState().workFolder + "M1.txt"));
    EXPECT_FALSE(QFile::exists(lumo::appState().workFolder + "M2.txt"));
    EXPECT_EQ(store.routineCounter, 2);
}

TEST_F(OfficeBuild, DocumentClosedMeanwhileGivesTheWarningAndKeepsEarlierModules) {
    lumo::applyCheck(tree, indexOf("A2\\"), true);
    host.projects[1].components[1].failLines = true;  // Werkzeug
    std::vector<std::pair<lumo::StatusPanel, QString>> status;
    const auto result =
        lumo::buildFromOffice(host, tree, ui, [&](lumo::StatusPanel panel, const QString& text) { status.emplace_back(panel, text); });
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].text, lumo::buildFailedWarning());
    EXPECT_EQ(ui.calls[0].title, "Fehler beim Einlesen: Modul Werkzeug");
    EXPECT_EQ(ui.calls[0].icon, lumo::MsgIcon::Warning);
    EXPECT_EQ(status.back(), std::make_pair(lumo::PanelOperation, QString("Modul: Werkzeug")));
    EXPECT_EQ(result.failedModule, "Werkzeug");
    const std::vector<std::pair<QString, qint64>> expected{{"ThisDocument", 5}};
    EXPECT_EQ(storedModules(), expected);

    // The project vanished and another took its position: refused, not mixed up.
    ui.calls.clear();
    host.projects[1].components[1].failLines = false;
    host.projects.erase(host.projects.begin());
    host.add("Anderes", QString("/daten/anderes.docm"), {{"ThisDocument", 100, {"' 1", "' 2", "' 3"}}});
    EXPECT_FALSE(lumo::buildFromOffice(host, tree, ui).ok);
    EXPECT_EQ(ui.calls.size(), 1u);
}

TEST_F(OfficeBuild, AModuleThatCannotBeSplitIsReadWithTheRoutinesFoundAndNamed) {
    host.add("Bibliothek", QString("/daten/bibliothek.xlsm"),
             {{"Gut", 1, {"Sub A(): End Sub", "Sub B()", "End Sub"}},
              {"Kaputt", 1, {"Option Explicit", "Function F()", "End Sub", "End Function"}},
              {"Klasse", 2, {"#If VBA7 Then", "Function P(x As LongPtr)", "#Else", "Function P(x As Long)", "#End If",
                             "End Function"}},
              {"Auch", 1, {"' Auch", "Sub C", "End Sub"}}});
    tree.clear();
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    lumo::applyCheck(tree, indexOf("A3\\"), true);
    std::vector<std::pair<lumo::StatusPanel, QString>> status;
    const auto result =
        lumo::buildFromOffice(host, tree, ui, [&](lumo::StatusPanel panel, const QString& text) { status.emplace_back(panel, text); });
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.modules, 4);
    ASSERT_EQ(result.leftOut.size(), 2u);
    EXPECT_EQ(result.failedModule, "Kaputt");
    const std::vector<std::pair<QString, qint64>> expected{{"Gut", 2}, {"Kaputt", 2}, {"Klasse", 3}, {"Auch", 2}};
    EXPECT_EQ(storedModules(), expected);
    lumo::WorkingStore& store = lumo::WorkingStore::instance();
    store.openWorkingDatabase();
    lumo::Query q = store.query("SELECT rou_num, mod_num, rou_name, rou_start, rou_ende FROM td_rout ORDER BY rou_num");
    QStringList rows;
    while (q.next())
        rows << QString("%1 %2 %3 %4-%5").arg(q.integer(0)).arg(q.integer(1)).arg(q.text(2)).arg(q.integer(3)).arg(q.integer(4));
    store.closeWorkingDatabase();
    EXPECT_EQ(rows, QStringList({"1 1 A 1-1", "2 1 B 2-3", "3 2 F 2-4", "4 3 P 2-6"}));

    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].title, "Fehler beim Einlesen: Modul Kaputt");
    EXPECT_EQ(ui.calls[0].icon, lumo::MsgIcon::Warning);
    EXPECT_EQ(ui.calls[0].text, lumo::buildFailedWarning() +
                                    "\r\n\r\nModul: Kaputt (\"End Sub\" ohne Routinenkopf in Zeile 3): eingelesen, "
                                    "aber nicht in alle Routinen zerlegt\r\nModul: Auch (Routinenkopf ohne \"(\" in "
                                    "Zeile 2): eingelesen, aber nicht in alle Routinen zerlegt");
    EXPECT_EQ(status.back(), std::make_pair(lumo::PanelOperation, QString("Modul: Kaputt")));

    // Nothing left to show when every module was left out: nesting no reading on can mend.
    ui.calls.clear();
    host.add("Tief", QString("/daten/tief.xlsm"), {{"Tief", 1, QStringList(40000, "For i = 1 To 2")}});
    tree.clear();
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    lumo::applyCheck(tree, indexOf("A4\\"), true);
    lumo::appState().options.reindentBlocks = true;
    const auto none = lumo::buildFromOffice(host, tree, ui);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.modules, 0);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_TRUE(ui.calls[0].text.endsWith("\r\n\r\nModul: Tief (Einrückung zu tief)")) << ui.calls[0].text.toStdString();
}

TEST_F(OfficeBuild, HostGoneFailsSilently) {
    lumo::applyCheck(tree, indexOf("A1\\"), true);
    host.running = false;
    EXPECT_FALSE(lumo::buildFromOffice(host, tree, ui).ok);
    EXPECT_TRUE(ui.calls.empty());
}

// A folder is listed whole; what is ticked of it is held to the budget, and
// a refusal reads nothing and names both sizes.
TEST_F(OfficeBuild, AFolderIsListedWholeAndOnlyWhatIsTickedIsHeldToTheBudget) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Gross";
    QDir().mkpath(folder);
    for (const char* name : {"A", "B", "C"}) {
        QFile f(folder + "/" + name + ".bas");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Attribute VB_Name = \"" + QByteArray(name) + "\"\nSub S()\nEnd Sub\n");
        for (int i = 0; i < 12000; ++i) f.write("' Zeile mit Kommentar, fünfzig Zeichen lang .....\n");
    }
    lumo::DocumentHost folderHost;
    folderHost.open(folder);
    ASSERT_TRUE(lumo::listOfficeProjects(folderHost, tree, version, ui));
    ASSERT_EQ(tree.size(), 4u);  // the folder and every module
    constexpr qint64 budget = 1024 * 1024;
    lumo::applyCheck(tree, 0, true);
    auto result = lumo::buildFromOffice(folderHost, tree, ui, {}, lumo::noProgress(), budget);
    EXPECT_TRUE(result.overBudget);
    EXPECT_EQ(result.modules, 0);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("zusammen sind es 2 MB, mehr als die 1 MB Quelltext")) << ui.messages()[0].toStdString();
    lumo::applyCheck(tree, 0, false);
    lumo::applyCheck(tree, indexOf("A1\\B"), true);
    result = lumo::buildFromOffice(folderHost, tree, ui, {}, lumo::noProgress(), budget);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.modules, 1);
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST(OfficeBuildTypes, ComponentTypesToStoreCodes) {
    EXPECT_EQ(lumo::moduleTypeOfComponent(100), 5);
    EXPECT_EQ(lumo::moduleTypeOfComponent(1), 2);
    EXPECT_EQ(lumo::moduleTypeOfComponent(2), 3);
    EXPECT_EQ(lumo::moduleTypeOfComponent(3), 1);
    EXPECT_EQ(lumo::moduleTypeOfComponent(11), 32);
}

}  // namespace

namespace {

TEST_F(OfficeBuild, AStoreThatCannotBeWrittenIsSaidAsSuchNotAsBadCode) {
    // Where the first module's text is written beside its place, a folder
    // stands in the way, as a full or locked disk would.
    ASSERT_TRUE(QDir().mkpath(work.path() + "/M1.txt.neu"));
    lumo::applyCheck(tree, indexOf("A1\\"), true);
    const auto result = lumo::buildFromOffice(host, tree, ui);
    EXPECT_FALSE(result.ok);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith("Das Projekt kann nicht im Arbeitsordner gespeichert werden: " + work.path() +
                                            "/M1.txt: "))
        << ui.messages()[0].toStdString();
    EXPECT_FALSE(ui.messages()[0].contains("Fehler beim Einlesen"));
    EXPECT_EQ(ui.calls[0].icon, lumo::MsgIcon::Warning);
}

}  // namespace
