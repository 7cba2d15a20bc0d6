#include <gtest/gtest.h>

#include "render/RtfReader.h"
#include "render/RtfWriter.h"

using namespace lumo;

TEST(RtfReader, ReadsEscapesUnicodeAndSkipsIgnorableGroups) {
    const RtfContent c = readRtf(QStringLiteral(
        "{\\rtf1\\ansi{\\*\\generator Schreiber;}{\\info{\\title Titel}}"
        "Gr\\'f6\\'dfe \\u8364\\'80 \\uc0\\u1046 x\\uc2\\u1046\\'3f\\'3fy \\{\\}\\\\\\~\\_\\emdash}"));
    EXPECT_EQ(c.text, QStringLiteral("Größe € ЖxЖy {}\\\u00A0-\u2014"));
}

TEST(RtfReader, FormattingFollowsGroupsAndPlain) {
    const RtfContent c = readRtf(QStringLiteral(
        "{\\rtf1{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f3\\fswiss Courier New;}}"
        "{\\colortbl;\\red255\\green0\\blue0;}\\pard\\li105\\tx300\\tx600\\plain\\f3\\fs24 "
        "a{\\b\\cf1 b}c\\b d\\plain e\\pard\\tx999 f}"));
    EXPECT_EQ(c.text, QStringLiteral("abcdef"));
    ASSERT_EQ(c.colors.size(), 2);   // the empty first entry is the plain colour
    EXPECT_EQ(c.colors[1], (RtfColor{255, 0, 0}));
    EXPECT_EQ(c.fontName(c.base.font), QStringLiteral("Courier New"));
    EXPECT_EQ(c.base.halfPoints, 24);
    EXPECT_EQ(c.tabStopsTwips, (QVector<int>{300, 600}));   // those of the first paragraph
    EXPECT_EQ(c.leftIndentTwips, 105);
    auto formatAt = [&](int pos) {
        for (const RtfRun& r : c.runs)
            if (pos >= r.start && pos < r.start + r.length) return r.format;
        return RtfCharFormat{};
    };
    EXPECT_FALSE(formatAt(0).bold);
    EXPECT_TRUE(formatAt(1).bold);
    EXPECT_EQ(formatAt(1).color, 1);
    EXPECT_FALSE(formatAt(2).bold);   // the group ended
    EXPECT_EQ(formatAt(2).color, 0);
    EXPECT_TRUE(formatAt(3).bold);
    EXPECT_FALSE(formatAt(4).bold);   // \plain
    EXPECT_EQ(formatAt(4).font, 0);   // \plain goes back to the default font
}

TEST(RtfWriter, EscapedFilesStayAsciiAndReadBackTheSame) {
    RtfContent c = plainTextContent(QStringLiteral("Größe € Ж \u0178\r\n{x}\\\ty"));
    c.fonts.insert(0, QStringLiteral("Arial"));
    const QString rtf = writeRtf(c, RtfChars::Escaped);
    for (QChar ch : rtf) ASSERT_LT(ch.unicode(), 128) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(QStringLiteral("Gr\\'f6\\'dfe \\'80 \\u1046? \\'9f\r\n\\par \\{x\\}\\\\\\tab y}")));
    EXPECT_EQ(readRtf(rtf).text, c.text);
    // The part of a text: from..to, no more.
    const QString part = writeRtf(c, 2, 5);
    EXPECT_EQ(readRtf(part).text, QStringLiteral("öße"));
}
