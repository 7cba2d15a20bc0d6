#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "base/SystemErrors.h"
#include "base/TextHelpers.h"

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

TEST(TextHelpers, ReplaceAllInOnePass) {
    EXPECT_EQ(replaceAll(u"a\r\nb\r\n\r\nc", u"\r\n", u"\n"), "a\nb\n\nc");
    EXPECT_EQ(replaceAll(u"a\nb\n", u"\n", u"\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(replaceAll(u"aaa", u"aa", u"b"), "ba");  // left to right, no overlaps
    EXPECT_EQ(replaceAll(u"abc", u"x", u"y"), "abc");
    EXPECT_EQ(replaceAll(u"", u"x", u"y"), "");
    EXPECT_EQ(replaceAll(u"abc", u"", u"y"), "abc");
}

TEST(SystemErrors, CausesInGermanWords) {
    EXPECT_EQ(lumo::systemErrorText(EACCES), "Zugriff verweigert");
    EXPECT_EQ(lumo::systemErrorText(ENOSPC), "Kein Platz mehr auf dem Datenträger");
    EXPECT_EQ(lumo::systemErrorText(99999), "Systemfehler 99999");
    // What SQLite, Qt and the C library say in English becomes German.
    EXPECT_EQ(lumo::germanSystemText("/x/DivuRuvi.mdb: database or disk is full"),
              "/x/DivuRuvi.mdb: Kein Platz mehr auf dem Datenträger");
    EXPECT_EQ(lumo::germanSystemText(QString("/x/M1.txt: ") + QString::fromLocal8Bit(strerror(ENOSPC))),
              "/x/M1.txt: Kein Platz mehr auf dem Datenträger");
    EXPECT_EQ(lumo::germanSystemText(QString::fromLocal8Bit(strerror(EACCES))), "Zugriff verweigert");
    EXPECT_EQ(lumo::germanSystemText("Zu viele Module"), "Zu viele Module");
}

TEST(TextHelpers, ControlCharactersShowAsEscapes) {
    const std::pair<QString, QString> rows[] = {
        {"x\x1B]0;PWNED\x07y", "x\\x1B]0;PWNED\\x07y"},
        {"a\tb\r\nc\nd", "a\tb\r\nc\nd"},  // tab and line breaks stay
        {"a\rb\r", "a\\x0Db\\x0D"},          // a lone CR could overwrite the line
        {QString("\x7F") + QChar(0x9B) + QChar(0xA0) + "ä", "\\x7F\\x9B" + QString(QChar(0xA0)) + "ä"},
    };
    for (const auto& [text, shown] : rows) EXPECT_EQ(lumo::visibleControls(text), shown) << shown.toStdString();
}

#include "base/ScreenLayout.h"

TEST(ScreenLayout, EncodesAndDecodesTheStoredForm) {
    using lumo::ScreenLayout;
    EXPECT_EQ(lumo::encodeScreenLayout(ScreenLayout{true}), "max");
    EXPECT_EQ(lumo::encodeScreenLayout(ScreenLayout{false, -15, 30, 14400, 10080}), "-15;30;14400;10080");
    const auto back = lumo::decodeScreenLayout("-15;30;14400;10080");
    ASSERT_TRUE(back);
    EXPECT_FALSE(back->maximized);
    EXPECT_EQ(back->left, -15);
    EXPECT_EQ(back->height, 10080);
    EXPECT_TRUE(lumo::decodeScreenLayout("MAX")->maximized);
    EXPECT_TRUE(lumo::decodeScreenLayout(" 1.6 ;2;3;4;extra"));  // decimals round, more fields are ignored
    for (const char* broken : {"", "10;20;30", "a;b;c;d", "0;0;0;100", "0;0;100;-1", "0;0;1e300;100", "0;0;nan;1"})
        EXPECT_FALSE(lumo::decodeScreenLayout(broken)) << broken;
}
