#include <gtest/gtest.h>

#include "app/TextHelpers.h"

using namespace lumo;

TEST(TextHelpers, AfterLastAtTheEdges) {
    EXPECT_EQ(afterLast("/a/b", "/"), "b");
    EXPECT_EQ(afterLast("abc", "/"), "abc");
    EXPECT_EQ(afterLast("abc/", "/"), "");
    EXPECT_EQ(afterLast("", "/"), "");
    EXPECT_EQ(afterLast("aXbxc", "x"), "c");  // letters compare without regard to case
    EXPECT_EQ(fileNamePart("/home/u/Projekt/M1.txt"), "M1.txt");
    EXPECT_EQ(fileNamePart("/home/u/Projekt/"), "");
}

TEST(TextHelpers, BeforeFirstAtTheEdges) {
    EXPECT_EQ(beforeFirst("MS Sans Serif,10", ","), "MS Sans Serif");
    EXPECT_EQ(beforeFirst(",10", ","), "");
    EXPECT_EQ(beforeFirst("Arial", ","), "Arial");
    EXPECT_EQ(beforeFirst("abXcdx", "x"), "ab");
}

TEST(TextHelpers, LeadingNumberReadsLikeTheStoredTextsExpect) {
    EXPECT_EQ(leadingNumber("  -1"), -1.0);
    EXPECT_EQ(leadingNumber("+12.5pt"), 12.5);
    EXPECT_EQ(leadingNumber("abc"), 0.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("-"), 0.0);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("1,5"), 1.0);  // "," is no decimal point here
    EXPECT_EQ(leadingInteger("10.5", -100, 100), 10);  // halves to even
    EXPECT_EQ(leadingInteger("11.5", -100, 100), 12);
    EXPECT_EQ(leadingInteger("99999999", -32768, 32767), 32767);
    EXPECT_EQ(leadingInteger("-99999999", -32768, 32767), -32768);
}
