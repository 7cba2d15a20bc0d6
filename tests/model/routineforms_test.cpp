// Routines written on one line, heads that conditional compilation offers
// in several forms, and the line a parse error names.
#include <gtest/gtest.h>

#include "model/BuildFixture.h"
#include "model/ModuleParser.h"
#include "model/ParseError.h"
#include "model/TagCode.h"
#include "model/TagNotation.h"

using lumo::test::readable;
using lumo::test::untagged;

namespace {

class RoutineForms : public lumo::test::BuildFixture {
protected:
    QStringList rows() {
        QStringList out;
        for (const auto& r : routines())
            out << QString("%1 %2 typ %3 open %4 %5-%6").arg(r.num).arg(r.name).arg(r.typ).arg(r.open).arg(r.start, r.end);
        return out;
    }
};

// The line at which parsing code fails, as ParseError names it.
std::pair<QString, int> failure(const QString& lfCode, const lumo::Options& options) {
    QString code = lfCode;
    code.replace("\n", "\r\n");
    qint32 counter = 0;
    try {
        lumo::parseModule(code, options, counter);
    } catch (const lumo::ParseError& e) {
        return {e.reason(), e.line()};
    }
    return {};
}

}  // namespace

TEST_F(RoutineForms, OneLineRoutinesStartAndEndOnTheirLine) {
    const QString text = add("Option Explicit\n"
                             "Sub Leer(): End Sub\n"
                             "Public Function Id() As Long: Id = 1: End Function\n"
                             "Property Get X() As Long: End Property\n"
                             "Private Property Let X(v As Long): mX = v: End Property\n"
                             "Sub Zwei(a, b): x = a: y = b: End Sub ' fertig\n"
                             "Sub Drei()\n"
                             "End Sub");
    EXPECT_EQ(rows(), QStringList({"1 Leer typ 1 open 1 2-2", "2 Zwei typ 1 open 1 6-6", "3 Drei typ 1 open 1 7-8",
                                   "4 Id typ 2 open 1 3-3", "5 X typ 4 open 1 4-4", "6 X typ 3 open 2 5-5"}));
    const QStringList lines = readable(text).split('\n');
    EXPECT_EQ(lines[1], "[x][k]Sub[/] Leer(): [k]End[/] [k]Sub[/][/x]");
    EXPECT_EQ(lines[3], "[x][k]Property[/] [k]Get[/] X() [k]As[/] Long: [k]End[/] [k]Property[/][/x]");
    EXPECT_EQ(lines[5], "[x][k]Sub[/] Zwei(a, b): x = a: y = b: [k]End[/] [k]Sub[/] [c]' fertig[/][/x]");
    EXPECT_EQ(untagged(text), "Option Explicit\nSub Leer(): End Sub\nPublic Function Id() As Long: Id = 1: End Function\n"
                              "Property Get X() As Long: End Property\n"
                              "Private Property Let X(v As Long): mX = v: End Property\n"
                              "Sub Zwei(a, b): x = a: y = b: End Sub ' fertig\nSub Drei()\nEnd Sub\n");

    // Without a colon before it the End is no End of this line's routine,
    // and a one-line routine at the very end no longer stays open.
    add("Sub Offen() ' End Sub\nx = \": End Sub\"\nEnd Sub\nSub Letzte(): End Sub", "Modul2");
    EXPECT_EQ(rows().mid(6), QStringList({"7 Offen typ 1 open 1 1-3", "8 Letzte typ 1 open 1 4-4"}));
}

TEST_F(RoutineForms, OneLineRoutineFollowedByANormalOneWithBlankLinesAndTabs) {
    options().reindentBlocks = true;
    options().indentRoutineBodies = true;
    options().blankLineBeforeRoutines = true;
    const QString text = add("Sub Eins(): End Sub\nSub Zwei()\nIf x Then\ny = 1\nEnd If\nEnd Sub\n"
                             "Function Drei(): Drei = 3: End Function\nDim z");
    // The blank line before a one-line routine holds no tab: no routine is open there.
    EXPECT_EQ(untagged(text), "\nSub Eins(): End Sub\n\t\nSub Zwei()\n\tIf x Then\n\t\ty = 1\n\tEnd If\nEnd Sub\n"
                              "\nFunction Drei(): Drei = 3: End Function\nDim z\n");
    EXPECT_EQ(rows(), QStringList({"1 Eins typ 1 open 1 2-2", "2 Zwei typ 1 open 1 4-8", "3 Drei typ 2 open 1 10-10"}));
    EXPECT_EQ(scalar("SELECT mod_zeilen FROM td_mod"), 11);
}

TEST_F(RoutineForms, AlternativeHeadsBelongToOneRoutine) {
    const QString code = "Option Explicit\n"
                         "#If VBA7 Then\n"
                         "Public Function Ptr(ByVal p As LongPtr) As LongPtr\n"
                         "#Else\n"
                         "Public Function Ptr(ByVal p As Long) As Long\n"
                         "#End If\n"
                         "    Ptr = p\n"
                         "End Function\n"
                         "#If Win64 Then\n"
                         "Private Sub Kopie(ByVal n As LongLong)\n"
                         "#ElseIf VBA7 Then ' 64 Bit\n"
                         "\n"
                         "Private Sub Kopie(ByVal n As LongPtr)\n"
                         "  #Else\n"
                         "Private Sub Kopie(ByVal n As Long)\n"
                         "#End If\n"
                         "End Sub";
    const QString text = add(code);
    EXPECT_EQ(rows(), QStringList({"1 Kopie typ 1 open 2 10-17", "2 Ptr typ 2 open 1 3-8"}));
    EXPECT_EQ(untagged(text), code + "\n");
    const QStringList lines = readable(text).split('\n');
    EXPECT_EQ(lines[4], "[x][k]Public[/] [k]Function[/] Ptr([k]ByVal[/] p [k]As[/] [k]Long[/]) [k]As[/] [k]Long[/][/x]");
    EXPECT_EQ(lines[12], "[x][k]Private[/] [k]Sub[/] Kopie([k]ByVal[/] n [k]As[/] LongPtr)[/x]");
    EXPECT_EQ(lines[14], "[x][k]Private[/] [k]Sub[/] Kopie([k]ByVal[/] n [k]As[/] [k]Long[/])[/x]");

    // Another head gets no blank line and no tab; the branches between do.
    options().reindentBlocks = true;
    options().indentRoutineBodies = true;
    options().blankLineBeforeRoutines = true;
    const QString shaped = add(code, "Modul2");
    EXPECT_EQ(untagged(shaped), "Option Explicit\n#If VBA7 Then\n\t\n"
                                "Public Function Ptr(ByVal p As LongPtr) As LongPtr\n\t#Else\n"
                                "Public Function Ptr(ByVal p As Long) As Long\n\t#End If\n\tPtr = p\nEnd Function\n"
                                "#If Win64 Then\n\t\nPrivate Sub Kopie(ByVal n As LongLong)\n\t#ElseIf VBA7 Then ' 64 Bit\n"
                                "\t\nPrivate Sub Kopie(ByVal n As LongPtr)\n\t#Else\nPrivate Sub Kopie(ByVal n As Long)\n"
                                "\t#End If\nEnd Sub\n");
    EXPECT_EQ(rows().mid(2), QStringList({"3 Kopie typ 1 open 2 12-19", "4 Ptr typ 2 open 1 4-9"}));

    // The display variant marks the same lines.
    EXPECT_EQ(readable(lumo::tagFragment(lumo::test::crlf(code), options())).count("[x]"), 7);
}

TEST_F(RoutineForms, HeadsUnderIfStayAsTheyWereWhereTheRulesDoNotApply) {
    add("#If VBA7 Then\n"
        "Private Declare PtrSafe Function GetTickCount Lib \"kernel32\" () As Long\n"
        "#Else\n"
        "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"
        "#End If\n"
        // A branch, but the line with Sub after it is an End.
        "Sub B()\n#If X Then\n#End If\nEnd Sub\n"
        // Code after the branch and no #Else: the next line with Sub closes the routine.
        "Sub A()\n#If X Then\nx = 1\n#End If\nSub A2()");
    EXPECT_EQ(rows(), QStringList({"1 B typ 1 open 1 6-9", "2 A typ 1 open 1 10-14", "3 GetTickCount typ 12 open 2 2-2",
                                   "4 GetTickCount typ 12 open 2 4-4"}));
}

TEST(ParseFailure, NamesTheReasonAndTheLineOfTheModuleWhateverTheOptions) {
    const QString code = "Sub A()\nx = f(1, _\n  2)\nEnd Sub\n\nFunction B()\nEnd Sub\nEnd Function";
    lumo::Options o;
    const std::pair<QString, int> expected{"Routinenkopf ohne \"(\"", 7};
    EXPECT_EQ(failure(code, o), expected);
    o.blankLineBeforeRoutines = true;
    EXPECT_EQ(failure(code, o), expected);
    o.removeBlankLines = true;
    o.reindentBlocks = true;
    o.indentRoutineBodies = true;
    EXPECT_EQ(failure(code, o), expected);
    EXPECT_EQ(failure("' a\n\nSub X()\nEnd Sub\nDeclare Sub Ohne (x)", o),
              std::make_pair(QString("Declare ohne Lib"), 5));
    EXPECT_EQ(std::string(lumo::ParseError("Declare ohne Lib", 5).what()), "Declare ohne Lib in Zeile 5");
    EXPECT_EQ(std::string(lumo::ParseError("Einrückung zu tief").what()), "Einrückung zu tief");
}
