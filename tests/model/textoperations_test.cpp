// The identifier under the caret.
#include <gtest/gtest.h>

#include "model/TagNotation.h"
#include "model/TextOperations.h"

using lumo::isIdentChar;
using lumo::wordAtCaret;

TEST(TextOperations, ExactlyTheIdentifierCharacters) {
    // Digits, both alphabets, the underscore, six umlauts and sharp s.
    int count = 0;
    for (char16_t u = 0; u < 0x3000; ++u)
        if (isIdentChar(QChar(u))) ++count;
    EXPECT_EQ(count, 10 + 26 + 26 + 1 + 6 + 1);
    for (QChar c : QStringLiteral("_äöüÄÖÜß09azAZ")) EXPECT_TRUE(isIdentChar(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("éàñ.$%&# \t\r\n(")) EXPECT_FALSE(isIdentChar(c)) << int(c.unicode());
}

TEST(TextOperations, WordAtCaret) {
    const QString dim = "Dim wert As Long";
    EXPECT_EQ(wordAtCaret(dim, 8), "wert");
    EXPECT_EQ(wordAtCaret(dim, 4), "");  // right after a space
    EXPECT_EQ(wordAtCaret("x = Größe + 1", 6), "Größe");
    EXPECT_EQ(wordAtCaret("Café = 1", 3), "Caf");
    EXPECT_EQ(wordAtCaret("Café = 1", 4), "");
    EXPECT_EQ(wordAtCaret("a = x.Name", 5), "x");
    EXPECT_EQ(wordAtCaret("a = x.Name", 8), "Name");
    EXPECT_EQ(wordAtCaret("s$ = f(s$)", 8), "s");
    EXPECT_EQ(wordAtCaret("f(a)", 2), "");
    EXPECT_EQ(wordAtCaret("x\r\nabc d", 3), "");
    EXPECT_EQ(wordAtCaret("Wort rest", 2), "Wort");
    EXPECT_EQ(wordAtCaret("a = Wort", 6), "Wort");
    EXPECT_EQ(wordAtCaret("Wort", 0), "");
    EXPECT_EQ(wordAtCaret("Wort", 4), "");
    EXPECT_EQ(wordAtCaret("", 0), "");
    EXPECT_EQ(wordAtCaret("Wort", 99), "");
}
