// The indentation formatter: block table, single-line If rule, continuation
// lines, blank lines and levels below zero.
#include <gtest/gtest.h>

#include "model/Indent.h"
#include "model/TagNotation.h"

using lumo::test::crlf;

namespace {

// The formatter sees the module wrapped in line breaks; tests write lines
// with "\n" and read back what each line became.
QString indent(const QString& lfText) {
    QString out = lumo::indentText(crlf("\n" + lfText + "\n"));
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return out.mid(1, out.size() - 2);
}

}  // namespace

TEST(Indent, SelectForIfInsideARoutine) {
    EXPECT_EQ(indent("Sub A()\n"
                     "Select Case x\n"
                     "Case 1\n"
                     "For i = 1 To 2\n"
                     "If a Then\n"
                     "b = 1\n"
                     "End If\n"
                     "Next i\n"
                     "End Select\n"
                     "End Sub"),
              "Sub A()\n"
              "Select Case x\n"
              "\tCase 1\n"
              "\t\tFor i = 1 To 2\n"
              "\t\t\tIf a Then\n"
              "\t\t\t\tb = 1\n"
              "\t\t\tEnd If\n"
              "\t\tNext i\n"
              "End Select\n"
              "End Sub");
}

TEST(Indent, SingleLineIfOpensNoBlock) {
    EXPECT_EQ(indent("If x Then y = 1\nz = 2"), "If x Then y = 1\nz = 2");
    EXPECT_EQ(indent("Select Case a\nCase 1\nIf x Then y = 1\nCase Else\nIf x Then y = 1\nEnd Select\nz"),
              "Select Case a\n\tCase 1\n\t\tIf x Then y = 1\n\tCase Else\n\t\tIf x Then y = 1\nEnd Select\nz");
    EXPECT_EQ(indent("If a Then\nb\nElse\nIf x Then y = 1\nEnd If"), "If a Then\n\tb\nElse\n\tIf x Then y = 1\nEnd If");
    // A trailing comment is removed before the test, quotes respected.
    EXPECT_EQ(indent("If x Then ' c\ny\nEnd If"), "If x Then ' c\n\ty\nEnd If");
    EXPECT_EQ(indent("If x Then y = 1 ' c\nz"), "If x Then y = 1 ' c\nz");
    EXPECT_EQ(indent("If x Then y = \"it's Then\"\nz"), "If x Then y = \"it's Then\"\nz");
    EXPECT_EQ(indent("If x = \"'\" Then ' Then\ny\nEnd If"), "If x = \"'\" Then ' Then\n\ty\nEnd If");
    // An apostrophe or a lone quote inside the comment itself.
    EXPECT_EQ(indent("If x Then ' geht's\ny\nEnd If"), "If x Then ' geht's\n\ty\nEnd If");
    EXPECT_EQ(indent("If x Then ' 5\" Zoll\ny\nEnd If"), "If x Then ' 5\" Zoll\n\ty\nEnd If");
    EXPECT_EQ(indent("If x Then y = 1 ' it's \"a\nz"), "If x Then y = 1 ' it's \"a\nz");
}

TEST(Indent, ContinuationLines) {
    EXPECT_EQ(indent("Sub A()\nIf a And _\nb Then\nc = 1\nEnd If\nEnd Sub"),
              "Sub A()\nIf a And _\n\t\tb Then\n\tc = 1\nEnd If\nEnd Sub");
    EXPECT_EQ(indent("If a _\nThen x = 1\ny"), "If a _\n\tThen x = 1\ny");
    EXPECT_EQ(indent("For i = 1 To 2\nx = f(a, _\n  b)\nNext"), "For i = 1 To 2\n\tx = f(a, _\n\t\tb)\nNext");
}

TEST(Indent, WordsThatOnlyLookLikeBlocks) {
    EXPECT_EQ(indent("Do\nDoEvents\nLoops = 1\nNexts = 1\nWend2 = 1\nLoop"),
              "Do\n\tDoEvents\n\tLoops = 1\n\tNexts = 1\n\tWend2 = 1\nLoop");
    EXPECT_EQ(indent("Do While a\nx\nLoop\nDo Until b\ny\nLoop Until c"),
              "Do While a\n\tx\nLoop\nDo Until b\n\ty\nLoop Until c");
    EXPECT_EQ(indent("While a\nWith b\n.c = 1\nEnd With ' done\nWend\nx"), "While a\n\tWith b\n\t\t.c = 1\n\tEnd With ' done\nWend\nx");
    EXPECT_EQ(indent("If a Then\nb\nElse ' c\nd\nElseIf y Then\ne\nEnd If"),
              "If a Then\n\tb\n\tElse ' c\n\td\n\tElseIf y Then\n\te\nEnd If");
    EXPECT_EQ(indent("Private Type T\na As Long\nEnd Type\nType U\nb As Long\nEnd Type\nEnum E\nc\nEnd Enum"),
              "Private Type T\n\ta As Long\nEnd Type\nType U\n\tb As Long\nEnd Type\nEnum E\nc\nEnd Enum");
    // Case matters.
    EXPECT_EQ(indent("for i = 1 To 2\nx"), "for i = 1 To 2\nx");
}

TEST(Indent, BlankLinesTabsAndNegativeLevels) {
    EXPECT_EQ(indent("   \n\t\tx = \"a\tb\" '\tc\n"), "\nx = \"ab\" 'c\n");
    // Blank lines do not count as the previous line.
    EXPECT_EQ(indent("x = 1 _\n\n+ 2"), "x = 1 _\n\n\t+ 2");
    EXPECT_EQ(indent("Sub A()\nEnd If\nFor i = 1 To 2\nx\nNext\nEnd Sub\nFor j = 1 To 2\ny\nNext"),
              "Sub A()\nEnd If\nFor i = 1 To 2\nx\nNext\nEnd Sub\nFor j = 1 To 2\n\ty\nNext");
}

TEST(Indent, LevelStepsOfTheTable) {
    struct Row {
        const char* line;
        int level;
        int outdent;
    };
    const Row rows[] = {{"Case 1", 5, 1},        {"Do", 6, 1},           {"Do While x", 6, 1},
                        {"Else", 5, 1},          {"End With", 4, 0},     {"End If", 4, 0},
                        {"End Type", 4, 0},      {"End Select", 3, 0},   {"End Sub", 0, 0},
                        {"End Function", 0, 0},  {"End Property", 0, 0}, {"For x", 6, 1},
                        {"If x", 6, 1},          {"Loop", 4, 0},         {"Next", 4, 0},
                        {"Public Type T", 6, 1}, {"Select Case x", 7, 2}, {"Type", 6, 1},
                        {"While x", 6, 1},       {"With x", 6, 1},       {"Wend", 4, 0},
                        {"End Enum", 5, 0},      {"ElseIf x", 5, 0},     {"Selected = 1", 5, 0},
                        {"TypeName = 1", 5, 0},  {"Private TypeLib As String", 5, 0}};
    for (const Row& r : rows) {
        lumo::IndentState st{5, 9};
        lumo::indentStep(st, QString::fromUtf8(r.line));
        EXPECT_EQ(st.level, r.level) << r.line;
        EXPECT_EQ(st.outdent, r.outdent) << r.line;
    }
}
