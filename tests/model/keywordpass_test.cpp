// The one-scan keyword pass gives exactly what one replacement per list
// entry gives.
#include <gtest/gtest.h>

#include <random>

#include <QStringList>

#include "model/KeywordPass.h"
#include "model/TagCode.h"
#include "model/TagNotation.h"

namespace {

QString bothWays(const QString& widened, QString* reference) {
    QString fast = widened;
    lumo::keywordPass(fast);
    *reference = widened;
    lumo::keywordPassByReplacement(*reference);
    return fast;
}

}  // namespace

TEST(KeywordPass, NeighboursAndSeveralWordEntries) {
    for (const char* s : {" End End End ", " End  End ", " Option Explicit Option Explicit Option Explicit ",
                          " Option Base 1 Option Private Module Explicit ", " Option  Explicit ", " As Long As ",
                          "Dim x", " Dim", "Dim ", " ", "", " Option Compare Text Compare Database "}) {
        QString reference;
        const QString fast = bothWays(QString::fromLatin1(s), &reference);
        EXPECT_EQ(fast, reference) << s;
    }
    QString reference;
    EXPECT_EQ(lumo::test::readable(bothWays(" End End End ", &reference)), " [k]End[/] End [k]End[/] ");
}

TEST(KeywordPass, RandomTextsOfKeywordsAndSeparators) {
    const QStringList pieces = {"End", "Sub", "Option", "Explicit", "Base", "1", "Private", "Module", "Compare",
                                "Text", "Database", "Dim", "As", "Long", "x", "(", ")", ",", "\t", "\r\n", "'",
                                "\"", "_", "If", "Then", "Else:", ".Close", "Redim", "ReDim", "Ÿ", "\"\""};
    std::mt19937 rng(20240611);
    for (int round = 0; round < 3000; ++round) {
        QString code;
        const int len = int(rng() % 40);
        for (int i = 0; i < len; ++i) {
            code += pieces[qsizetype(rng() % pieces.size())];
            const unsigned gap = rng() % 4;
            code += gap == 0 ? "" : gap == 3 ? "  " : " ";
        }
        for (bool einr : {false, true}) {
            lumo::Options o;
            o.einr = einr;
            ASSERT_EQ(lumo::tagText(code, o), lumo::tagText(code, o, true)) << code.toStdString();
        }
    }
}
