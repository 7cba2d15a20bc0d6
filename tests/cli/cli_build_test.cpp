// codelumo-cli build and rtf, run as the program they are.
#include <QDir>

#include "base/OptionsStore.h"
#include "cli/CliFixture.h"
#include "model/TagNotation.h"
#include "render/RtfReader.h"

TEST_F(CliBuild, ModulesInOrderWithNamesTypesAndCode) {
    write("Haupt.bas", "Sub Start()\n  x = \"Größe\"\nEnd Sub\n");
    write("Kunde.cls", "Public Property Get Name() As String\r\nEnd Property");
    write("Maske.frm", "Private Sub Form_Load()\rEnd Sub\r");
    write("Latin.txt", "' Gr\xf6\xdf" "e \x9f\n");
    // --raw: each file whole as one module's code, named after the file.
    const CliRun r = run({"build", "--raw", "--out", path("out"), path("Haupt.bas"), path("Kunde.cls"),
                          path("Maske.frm"), path("Latin.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(lumo::test::untagged(moduleText(1)), "Sub Start()\r\n  x = \"Größe\"\r\nEnd Sub\r\n");
    EXPECT_EQ(lumo::test::untagged(moduleText(3)), "Private Sub Form_Load()\r\nEnd Sub\r\n");
    EXPECT_EQ(lumo::test::untagged(moduleText(4)), QString("' Größe ") + QChar(0x0178) + "\r\n");
    lumo::Query q = store().query("SELECT mod_num, mod_name, mod_typ, mod_zeilen FROM td_mod ORDER BY mod_num");
    QStringList rows;
    while (q.next()) rows << QString("%1 %2 %3 %4").arg(q.integer(0)).arg(q.text(1)).arg(q.integer(2)).arg(q.integer(3));
    EXPECT_EQ(rows.join(", "), "1 Haupt 2 3, 2 Kunde 3 2, 3 Maske 1 2, 4 Latin 2 1");
}

TEST_F(CliBuild, SwitchesOverrideTheStoredOptions) {
    lumo::appState().settingsFile = path("settings.ini");
    lumo::Options stored;
    stored.reindentBlocks = true;
    stored.indentRoutineBodies = true;
    lumo::saveOptions(stored);
    write("A.bas", "Sub A()\nIf x Then\ny\nEnd If\nEnd Sub");
    ASSERT_EQ(run({"build", "--out", path("out"), path("A.bas")}).status, 0);
    EXPECT_EQ(lumo::test::untagged(moduleText(1)), "Sub A()\r\n\tIf x Then\r\n\t\ty\r\n\tEnd If\r\nEnd Sub\r\n");
    ASSERT_EQ(run({"build", "--out", path("out"), "--no-rer", "--rle", path("A.bas")}).status, 0);
    EXPECT_EQ(lumo::test::untagged(moduleText(1)), "\r\nSub A()\r\nIf x Then\r\n\ty\r\nEnd If\r\nEnd Sub\r\n");
}

TEST_F(CliBuild, AModuleThatCannotBeSplitIsReadNamedAndFailsTheRun) {
    write("Gut.bas", "Sub A(): End Sub\nSub B()\nEnd Sub\n");
    write("Schlecht.bas", "Function F()\nEnd Sub\nEnd Function\n");
    write("Danach.bas", "' Danach\nSub C()\nEnd Sub\n");
    // An earlier, larger build leaves no module text behind.
    ASSERT_EQ(run({"build", "--out", path("out"), path("Gut.bas"), path("Gut.bas"), path("Gut.bas")}).status, 0);
    const CliRun r = run({"build", "--out", path("out"), path("Gut.bas"), path("Schlecht.bas"), path("Danach.bas")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("Fehler beim Einlesen !\nDies kann mehrere Ursachen haben:\n")) << r.err.toStdString();
    const char* named = "Siehe auch mögliche Fehler in der Hilfe\n\nModul: Schlecht (\"End Sub\" ohne Routinenkopf in "
                        "Zeile 2): eingelesen, aber nicht in alle Routinen zerlegt\n";
    EXPECT_TRUE(r.err.contains(named)) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(": 3 Module, 4 Routinen")) << r.out.toStdString();
    EXPECT_EQ(lumo::test::untagged(moduleText(2)), "Function F()\r\nEnd Sub\r\nEnd Function\r\n");
    EXPECT_TRUE(lumo::test::untagged(moduleText(3)).startsWith("' Danach\r\nSub C()"));
    EXPECT_FALSE(QFile::exists(path("out/M4.txt")));
    lumo::Query q = store().query("SELECT count(*), max(mod_num) FROM td_mod");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.integer(0), 3);
    EXPECT_EQ(q.integer(1), 3);
    lumo::WorkingStore::instance().closeWorkingDatabase();

    // From a folder of exported modules, through the document host, alike.
    QDir().mkpath(path("ordner"));
    QFile::copy(path("Schlecht.bas"), path("ordner/Schlecht.bas"));
    QFile::copy(path("Danach.bas"), path("ordner/Danach.bas"));
    const CliRun folder = run({"build", "--out", path("out2"), path("ordner")});
    EXPECT_EQ(folder.status, 1);
    EXPECT_TRUE(folder.err.contains(named)) << folder.err.toStdString();
    EXPECT_TRUE(folder.out.contains(": 2 Module, 2 Routinen")) << folder.out.toStdString();

    // Two files of one module name given one by one: as in a folder, the second is left out and named.
    QDir().mkpath(path("zwei"));
    write("zwei/Gut.bas", "Attribute VB_Name = \"gut\"\nSub Z()\nEnd Sub\n");
    const CliRun twice = run({"build", "--out", path("out3"), path("Gut.bas"), path("zwei/Gut.bas")});
    EXPECT_EQ(twice.status, 1);
    EXPECT_TRUE(twice.err.contains("Gut.bas: ein Modul namens »gut« gibt es schon; ausgelassen.")) << twice.err.toStdString();
    EXPECT_TRUE(twice.out.contains(": 1 Module, 2 Routinen")) << twice.out.toStdString();

    write("Heil.bas", "Sub Heil()\n' heil\nEnd Sub\n");
    EXPECT_EQ(run({"build", "--out", path("out"), path("Heil.bas")}).status, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).filter(".neu-"),
              QStringList());
}

TEST_F(CliBuild, BadArgumentsAndFilesChangeNothing) {
    EXPECT_EQ(run({"build", path("A.bas")}).status, 2);
    EXPECT_EQ(run({"build", "--out", path("out"), "--fett", path("A.bas")}).status, 2);
    const CliRun r = run({"build", "--out", path("out"), path("fehlt.bas")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("fehlt.bas")) << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out/DivuRuvi.mdb")));
}

TEST_F(CliBuild, RtfOfAModule) {
    write("Haupt.bas", "Sub Start()\n  x = \"Gr\xf6\xdf" "e \x9f\" ' {\\}\n\tEnd Sub\n");
    ASSERT_EQ(run({"build", "--out", path("out"), "--no-einr", path("Haupt.bas")}).status, 0);
    const CliRun r = run({"rtf", "--module", "1", path("out")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n"));
    EXPECT_TRUE(r.out.contains("\\plain\\f3\\fs20 \\b \\cf1 Sub\\cf0  Start()\\b0 \r\n\\par   x = \\cf3 \"Gr\\'f6\\'dfe "
                               "\\'9f\"\\cf0  \\cf2 ' \\{\\\\\\}\\cf0 \r\n\\par \\b \\tab \\cf1 End"))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith("\\b0 \r\n\\par }"));
    // Read back as a word processor would: colours, bold routine lines, tabs, umlauts.
    const lumo::RtfContent doc = lumo::readRtf(QString::fromLatin1(r.out));
    EXPECT_EQ(doc.text, "Sub Start()\n  x = \"Größe " + QString(QChar(0x0178)) + "\" ' {\\}\n\tEnd Sub\n");
    ASSERT_GE(doc.colors.size(), 4);
    EXPECT_EQ(doc.colors[1], (lumo::RtfColor{0, 0, 128}));
    EXPECT_EQ(doc.tabStopsTwips.value(0), 283);
    QStringList runs;
    for (const lumo::RtfRun& run : doc.runs)
        runs << QString("%1%2:%3").arg(run.format.bold ? "B" : "").arg(run.format.color).arg(doc.text.mid(run.start, run.length));
    EXPECT_TRUE(runs.join('|').startsWith("B1:Sub|B0: Start()|0:\n  x = |3:\"Größe")) << runs.join('|').toStdString();
    EXPECT_EQ(run({"rtf", "--module", "2", path("out")}).status, 1);
    EXPECT_EQ(run({"rtf", "--module", "x", path("out")}).status, 2);
}
