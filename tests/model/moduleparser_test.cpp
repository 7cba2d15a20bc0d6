// The module pipeline with the store: routine rows, numbering, line numbers,
// the rle/einr/rer options and parse errors.
#include <gtest/gtest.h>

#include "model/BuildFixture.h"
#include "model/ModuleParser.h"
#include "model/ParseError.h"
#include "model/TagCode.h"
#include "model/TagNotation.h"

using lumo::test::readable;
using lumo::test::untagged;

namespace {

class ModuleParser : public lumo::test::BuildFixture {};

}  // namespace

TEST_F(ModuleParser, ModuleWithoutRoutines) {
    const QString text = add("Option Explicit\nDim x As Long");
    EXPECT_EQ(readable(text), "[k]Option[/] [k]Explicit[/]\n[k]Dim[/] x [k]As[/] [k]Long[/]\n");
    EXPECT_TRUE(routines().empty());
    EXPECT_EQ(scalar("SELECT mod_zeilen FROM td_mod WHERE mod_num = 1"), 2);
}

TEST_F(ModuleParser, NumberingIsSubsThenFunctionsThenProperties) {
    const QString text = add("Sub Eins()\nEnd Sub\nFunction Zwei()\nEnd Function\nSub Drei()\nExit Sub\nEnd Sub");
    const auto r = routines();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].name, "Eins");
    EXPECT_EQ(r[1].name, "Drei");
    EXPECT_EQ(r[2].name, "Zwei");
    EXPECT_EQ(r[0].start + "-" + r[0].end, "1-2");
    EXPECT_EQ(r[1].start + "-" + r[1].end, "5-7");
    EXPECT_EQ(r[2].start + "-" + r[2].end, "3-4");
    EXPECT_EQ(r[2].typ, 2);
    EXPECT_EQ(readable(text).section('\n', 4, 6), "[x][k]Sub[/] Drei()[/x]\n[k]Exit[/] [k]Sub[/]\n[x][k]End[/] [k]Sub[/][/x]");
    // Numbering goes on across the modules of a build.
    add("Sub Vier()\nEnd Sub", "Modul2");
    EXPECT_EQ(scalar("SELECT rou_num FROM td_rout WHERE rou_name = 'Vier'"), 4);
    EXPECT_EQ(scalar("SELECT mod_num FROM td_rout WHERE rou_name = 'Vier'"), 2);
}

TEST_F(ModuleParser, VisibilityTypesAndNames) {
    add("Public Sub A(x)\nEnd Sub\nStatic Sub B()\nEnd Sub\nPrivate Sub C ()\nEnd Sub\n"
        "Friend Function D$(a As Long) As String\nEnd Function\n"
        "Private Declare Sub E Lib \"k\" (ByVal x As Long)\n"
        "Public Property Get Wert() As Variant\nEnd Property\nProperty Let Wert(v)\nEnd Property\n"
        "Property Set Wert(v)\nEnd Property\n' Sub Function Property in a comment\nx = \"Sub F()\"");
    const auto r = routines();
    ASSERT_EQ(r.size(), 8u);
    QStringList got;
    for (const auto& x : r) got << QString("%1:%2/%3/%4").arg(x.name).arg(x.typ).arg(x.open).arg(x.num);
    EXPECT_EQ(got.join(' ').toStdString(), "A:1/1/1 B:1/1/2 C:1/2/3 E:11/2/4 D$:2/3/5 Wert:4/1/6 Wert:3/1/7 Wert:5/1/8");
    EXPECT_EQ(r[3].start, "9");
    EXPECT_EQ(r[3].end, "9");

    // Names that are words of the keyword list are tagged like keywords.
    add("Function Random(lo, hi)\nEnd Function\nPrivate Declare Sub Access Lib \"k\" ()\n"
        "Property Get Binary() As Long\nEnd Property\nSub ()\nEnd Sub", "Modul2");
    got.clear();
    for (const auto& x : routines())
        if (x.mod == 2) got << QString("%1:%2").arg(x.name).arg(x.typ);
    EXPECT_EQ(got.join(' ').toStdString(), "Access:11 :1 Random:2 Binary:4");
}

TEST_F(ModuleParser, DeclareOverThreeLines) {
    const QString text = add("Option Explicit\nPrivate Declare PtrSafe Function GetTickCount _\n  Lib \"kernel32\" _\n"
                             "  () As Long\nSub A()\nEnd Sub");
    const auto r = routines();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[1].name, "GetTickCount");
    EXPECT_EQ(r[1].typ, 12);
    EXPECT_EQ(r[1].decLines, 3);
    EXPECT_EQ(r[1].start + "-" + r[1].end, "2-4");
    EXPECT_EQ(r[0].decLines, 1);
    EXPECT_TRUE(readable(text).contains("[x][k]Private[/] [k]Declare[/] PtrSafe [k]Function[/] GetTickCount _\n  [k]Lib[/]"));
}

TEST_F(ModuleParser, BlankLinesBeforeRoutines) {
    options().blankLineBeforeRoutines = true;
    const QString text = add("Dim x\nSub A()\ny = 1\nEnd Sub\nDeclare Function F Lib \"k\" ()");
    EXPECT_EQ(untagged(text), "Dim x\n\nSub A()\ny = 1\nEnd Sub\n\nDeclare Function F Lib \"k\" ()\n");
    const auto r = routines();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].start + "-" + r[0].end, "3-5");
    EXPECT_EQ(r[1].start + "-" + r[1].end, "7-7");
    EXPECT_EQ(scalar("SELECT mod_zeilen FROM td_mod"), 7);
}

TEST_F(ModuleParser, RoutineBodyTabsOnFirstPhysicalLineOnly) {
    options().reindentBlocks = true;
    options().indentRoutineBodies = true;
    const QString code = "Dim a\nSub A()\nIf x Then\ny = f(1, _\n2)\nEnd If\nEnd Sub\nDim b";
    EXPECT_EQ(untagged(add(code)), "Dim a\nSub A()\n\tIf x Then\n\t\ty = f(1, _\n\t\t2)\n\tEnd If\nEnd Sub\nDim b\n");
    options().blankLineBeforeRoutines = true;
    EXPECT_EQ(untagged(add(code, "Modul2")),
              "Dim a\n\t\nSub A()\n\tIf x Then\n\t\ty = f(1, _\n\t\t2)\n\tEnd If\nEnd Sub\nDim b\n");
    EXPECT_EQ(scalar("SELECT rou_start FROM td_rout WHERE mod_num = 2"), 3);
}

TEST_F(ModuleParser, LastRoutineWithoutEnd) {
    options().reindentBlocks = true;
    options().indentRoutineBodies = true;
    EXPECT_EQ(untagged(add("Sub A()\nx = 1\n\ny")), "Sub A()\n\tx = 1\n\t\n\ty\n");
    const auto r = routines();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].start, "1");
    EXPECT_EQ(r[0].end, "");
}

TEST_F(ModuleParser, AFailingModuleLeavesNothingAndDrawsNoNumbers) {
    add("Sub Test(): End Sub\nx = 1");
    // A Function closed by End Sub: that End Sub is taken for a head.
    EXPECT_THROW(add("Function F()\nEnd Sub\nEnd Function\nSub G()\nEnd Sub", "Modul2"), lumo::ParseError);
    EXPECT_EQ(store.moduleCounter, 1);
    EXPECT_EQ(store.routineCounter, 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM td_mod"), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM td_rout"), 1);
}

TEST_F(ModuleParser, OnlyStoredRoutinesDrawNumbersAndALineIsOfOneKind) {
    // An End Property met outside a Property is no head: it draws no number.
    add("Sub A()\nEnd Sub\nEnd Property\nProperty Get P()\nEnd Property");
    add("Sub B()\nEnd Sub", "M2");
    EXPECT_EQ(scalar("SELECT max(rou_num) FROM td_rout"), 3);
    EXPECT_EQ(scalar("SELECT count(*) FROM td_rout"), store.routineCounter);
    // A line the Function pass made a routine's can be no Property head as well.
    try {
        add("Property Get C() As Long: End Function\nFunction F()\nEnd Property", "M3");
        ADD_FAILURE() << "no parse error";
    } catch (const lumo::ParseError& e) {
        EXPECT_EQ(e.reason(), "\"Property\" in einer Zeile, die schon eine andere Routine beginnt oder beendet");
        EXPECT_EQ(e.line(), 1);
    }
}

TEST_F(ModuleParser, ParseErrorsAreErrorsForTheCaller) {
    EXPECT_THROW(add("Sub Kaputt\nEnd Sub"), lumo::ParseError);
    EXPECT_THROW(add("Declare Sub Ohne (x)", "M2"), lumo::ParseError);
    store.routineCounter = lumo::kMaxRoutineNumber - 1;
    add("Sub Letzte()\nEnd Sub", "M3");
    EXPECT_EQ(scalar("SELECT max(rou_num) FROM td_rout"), lumo::kMaxRoutineNumber);
    EXPECT_THROW(add("Sub Zuviel()\nEnd Sub", "M4"), lumo::ParseError);
}

TEST_F(ModuleParser, StoredTextKeepsTheSourceAndItsMarkers) {
    const QString m(QChar(0x0178));
    const QString code = m + "*A00000001|x\n' |" + m + "u| |" + m + "d| " + m + "|? " + m + "*E\n"
                         "Sub " + m + "A(s)\ns = \"\"\"\" & \"a \" & _\n  \"b\" ' c _\nd\nEnd Sub";
    const QString text = add(code, "D'Artagnan");
    EXPECT_EQ(untagged(text), code + "\n");
    EXPECT_EQ(scalar("SELECT rou_start FROM td_rout"), 3);
    EXPECT_EQ(scalar("SELECT rou_ende FROM td_rout"), 7);
    EXPECT_EQ(scalar("SELECT count(*) FROM td_rout WHERE rou_name = '" + m + "A'"), 1);
    EXPECT_EQ(scalar("SELECT count(*) FROM td_mod WHERE mod_name = 'd''artagnan'"), 1);
}

TEST_F(ModuleParser, EmptyModuleAndMissingFinalLineBreak) {
    EXPECT_EQ(add(""), "\n");
    EXPECT_EQ(scalar("SELECT mod_zeilen FROM td_mod WHERE mod_num = 1"), 1);
    options().removeBlankLines = true;
    EXPECT_EQ(add("", "M2"), "");
    EXPECT_EQ(add("x\n", "M3"), "x\n");
}

TEST_F(ModuleParser, FragmentModeTouchesNoStore) {
    QString text = "Sub A()\r\nEnd Sub";
    lumo::tagCode(text, lumo::TagMode::Fragment, options(), store);
    EXPECT_EQ(readable(text), "[x][k]Sub[/] A()[/x]\r\n[x][k]End[/] [k]Sub[/][/x]");
    EXPECT_EQ(scalar("SELECT count(*) FROM td_rout"), 0);
    EXPECT_EQ(store.routineCounter, 0);
}

TEST_F(ModuleParser, GarbageAndDeepNestingFailCleanlyOrPass) {
    options().reindentBlocks = true;
    options().indentRoutineBodies = true;
    QString garbage;
    for (int i = 0; i < 20000; ++i) garbage += QChar(char16_t((i * 7919) % 0xD7FF + 1));
    garbage += "\nSub A(\nEnd Sub\n\"\n'\n_\n";
    try {
        add(garbage, "Garbage");
    } catch (const lumo::ParseError&) {
    }
    QString deep;
    for (int i = 0; i < 40000; ++i) deep += "For i = 1 To 2\n";
    EXPECT_THROW(add(deep, "Tief"), lumo::ParseError);
    // The store is still usable after both.
    add("Sub Danach()\nEnd Sub", "Danach");
    EXPECT_EQ(scalar("SELECT count(*) FROM td_rout WHERE rou_name = 'Danach'"), 1);
}

TEST_F(ModuleParser, EveryBuildStartsAgainFromOne) {
    add("Sub A()\nEnd Sub\nSub B()\nEnd Sub");
    add("Sub C()\nEnd Sub", "Modul2");
    ASSERT_TRUE(build.begin());
    EXPECT_EQ(scalar("SELECT count(*) FROM td_rout"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM td_mod"), 0);
    add("Sub D()\nEnd Sub", "Neu");
    EXPECT_EQ(scalar("SELECT rou_num FROM td_rout WHERE rou_name = 'D'"), 1);
    EXPECT_EQ(scalar("SELECT mod_num FROM td_mod WHERE mod_name = 'Neu'"), 1);
}
