// The one-scan tagging gives exactly what the chain of whole-text
// replacements gives.
#include <gtest/gtest.h>

#include <random>

#include <QStringList>

#include "model/TagCode.h"
#include "model/TagNotation.h"

namespace {

void expectSame(const QString& code, const lumo::Options& o = {}) {
    ASSERT_EQ(lumo::tagText(code, o), lumo::tagText(code, o, true)) << code.toStdString();
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
                                "\n", "_\r\n", "|", "?"};
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
        o.einr = round % 2;
        o.leer = round % 3 == 0;
        expectSame(code, o);
    }
}
