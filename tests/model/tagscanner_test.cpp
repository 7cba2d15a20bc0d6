// The one-scan tagging gives exactly what the chain of whole-text
// replacements gives.
#include <gtest/gtest.h>

#include <random>

#include <QStringList>

#include "model/ModuleParser.h"
#include "model/ParseError.h"
#include "model/TagCode.h"
#include "model/TagNotation.h"
#include "support/ReferenceParser.h"

namespace {

void expectSame(const QString& code, const lumo::Options& o = {}) {
    ASSERT_EQ(lumo::tagText(code, o), lumo::reference::tagText(code, o)) << code.toStdString();
}

}  // namespace

TEST(TagScanner, NeighboursSeveralWordEntriesAndGluedRuns) {
    for (const char* s :
         {"End End End", "End  End", "End\tEnd", "Option Explicit Option Explicit Option Explicit",
          "Option Base 1 Option Private Module Explicit", "Option  Explicit", "As Long As", "Option Base 1_\r\nx",
          "x = \"a\"Then", "Dim'c", "If\"a\"", "Dim x As _\r\n  Long", "As_\r\nLong", "f(ByVal a,ByRef b)",
          "x = \"abc", "\"", "' a _\r\nDim b", "Ÿ Dim ŸDim DimŸ", "\"\"\"a\"\"\"", "x = \"a\"\"b\" & \"\" Or y",
          "Else: x", "a\rDim\nDim\r\n", "Option Compare Text Compare Database", "_\r\n", "( ) , \t"}) {
        expectSame(QString::fromUtf8(s));
    }
    EXPECT_EQ(lumo::test::readable(lumo::tagText("End End End", {})), "\r\n[k]End[/] End [k]End[/]\r\n");
}

TEST(TagScanner, RandomTextsOfKeywordsAndSeparators) {
    const QStringList pieces = {"End", "Sub", "Option", "Explicit", "Base", "1", "Private", "Module", "Compare",
                                "Text", "Database", "Dim", "As", "Long", "x", "(", ")", ",", "\t", "\r\n", "'",
                                "\"", "_", "If", "Then", "Else:", ".Close", "Redim", "ReDim", "Ÿ", "\"\"", "\r",
                                "\n", "_\r\n", "|", "?", "a_\r\n", "\t_\r\n"};
    std::mt19937 rng(20240611);
    for (int round = 0; round < 4000; ++round) {
        QString code;
        const int len = int(rng() % 40);
        for (int i = 0; i < len; ++i) {
            code += pieces[qsizetype(rng() % pieces.size())];
            const unsigned gap = rng() % 4;
            code += gap == 0 ? "" : gap == 3 ? "  " : " ";
        }
        lumo::Options o;
        o.reindentBlocks = round % 2;
        o.removeBlankLines = round % 3 == 0;
        expectSame(code, o);
    }
}

namespace {

// Both parsers on the same module: the same text, lines and rows, or both
// fail. And what read under the rules of before reads as it did then,
// unless one of the new rules decided a line.
void expectSameModule(const QString& code, const lumo::Options& o) {
    using lumo::reference::Rules;
    qint32 fastCounter = 0, referenceCounter = 0;
    lumo::ParsedModule fast, reference;
    bool fastFailed = false, referenceFailed = false;
    int newRuleHits = 0;
    try {
        fast = lumo::parseModule(code, o, fastCounter);
    } catch (const lumo::ParseError&) {
        fastFailed = true;
    }
    try {
        reference = lumo::reference::parseModule(code, o, referenceCounter, Rules::Current, &newRuleHits);
    } catch (const lumo::ParseError&) {
        referenceFailed = true;
    }
    ASSERT_EQ(fastFailed, referenceFailed) << code.toStdString();
    ASSERT_EQ(fastCounter, referenceCounter);
    ASSERT_EQ(lumo::tagFragment(code, o), lumo::reference::tagFragment(code, o)) << code.toStdString();
    if (!fastFailed) {
        ASSERT_EQ(fast.text, reference.text) << code.toStdString();
        ASSERT_EQ(lumo::reference::describeRows(fast), lumo::reference::describeRows(reference)) << code.toStdString();
    }

    if (newRuleHits > 0) return;
    lumo::ParsedModule before;
    qint32 beforeCounter = 0;
    try {
        before = lumo::reference::parseModule(code, o, beforeCounter, Rules::Previous);
    } catch (const lumo::ParseError&) {
        return;
    }
    ASSERT_FALSE(fastFailed) << code.toStdString();
    ASSERT_EQ(fast.text, before.text) << code.toStdString();
    ASSERT_EQ(lumo::reference::describeRows(fast), lumo::reference::describeRows(before)) << code.toStdString();
}

}  // namespace

TEST(ModuleScan, RandomModulesGiveTheSameTextRowsAndFailures) {
    const QStringList lines = {"Sub A()", "End Sub", "Private Function F(x) As Long", "End Function",
                               "Property Get W()", "Property Let W(v)", "Property Set W(v)", "End Property",
                               "Exit Sub", "Private Declare Sub D Lib \"k\" (x)", "Declare Function G _",
                               "  Lib \"k\" ()", "x = 1 ' Sub", "s = \"End Sub\"", "If a Then", "End If",
                               "For i = 1 To 2", "Next", "", "   ", "Sub Test(): End Sub", "Ÿ*A00000001|x",
                               "Friend Sub Q(a, _", "  b)", "x.Property = 1", "Sub Kaputt", "\tDim y",
                               "If x _", "Then y = 1 ' c", "If a Then ' c", "Select Case x", "Case 1",
                               "End Select", "Else", "Do", "Loop", "With a", "End With", "If q Then r = \"'\"",
                               "Function Random(a)", "Declare Function Access Lib \"k\" ()", "Sub ()",
                               "If b Then ' 5\" it's", "#If X Then", "#Else", "  #ElseIf Y Then", "#End If",
                               "Function F(): F = 1: End Function", "Property Get P() As Long: End Property",
                               "Sub T(a): x = a: End Sub ' c", "Private Sub A(x As LongPtr)", "' Notiz",
                               "y = name_", "Function H(a,\t_", "' Kommentar_"};
    std::mt19937 rng(4711);
    for (int round = 0; round < 3000; ++round) {
        QStringList code;
        const int len = int(rng() % 25);
        for (int i = 0; i < len; ++i) code << lines[qsizetype(rng() % lines.size())];
        lumo::Options o;
        o.reindentBlocks = rng() % 2;
        o.indentRoutineBodies = rng() % 2;
        o.blankLineBeforeRoutines = rng() % 2;
        o.removeBlankLines = rng() % 2;
        expectSameModule(code.join("\r\n"), o);
    }
}
