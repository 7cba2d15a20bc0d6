// Tagged text to RTF: the replacement table and the document head.
#include <gtest/gtest.h>

#include <random>

#include <QStringList>

#include "model/Tags.h"
#include "render/RtfRenderer.h"
#include "support/ReferenceRenderers.h"

using lumo::Options;

namespace {

QString head(const Options& o) {
    QString doc;
    lumo::wrapRtfDocument(doc, o);
    return doc;
}

}  // namespace

TEST(RtfRenderer, HeadWithDefaults) {
    EXPECT_EQ(head(Options{}),
              "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n"
              "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss MS Sans Serif;}"
              "{\\f4\\fswiss\\fprq2 System;}}\r\n"
              "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue0;}\r\n"
              "\\deflang1031\\pard\\li105"
              "\\tx283\\tx566\\tx849\\tx1132\\tx1415\\tx1698\\tx1981\\tx2264\\tx2547\\tx2830"
              "\\plain\\f3\\fs20 }");
}

TEST(RtfRenderer, HeadFollowsTabFontAndColours) {
    Options o;
    o.tabStopMm = 10;
    o.fontName = "Courier New";
    o.fontSize = 12;
    o.keywordColour = 0x123456;
    const QString h = head(o);
    EXPECT_TRUE(h.contains("\\tx567\\tx1134\\tx1701\\tx2268\\tx2835\\tx3402\\tx3969\\tx4536\\tx5103\\tx5670\\plain"));
    EXPECT_TRUE(h.contains("{\\f3\\fswiss Courier New;}"));
    EXPECT_TRUE(h.contains("\\plain\\f3\\fs24 }"));
    EXPECT_TRUE(h.contains("{\\colortbl\\red0\\green0\\blue0;\\red86\\green52\\blue18;"));
    o.tabStopMm = 3;  // 170.1 twips, rounded down
    EXPECT_TRUE(head(o).contains("\\tx170\\tx340\\tx510"));
}

TEST(RtfRenderer, AFontNameCannotEndItsEntryNorOpenGroups) {
    Options o;
    o.fontName = "Arial;}}{\\rtf1 {\\field x}";
    EXPECT_TRUE(head(o).contains("{\\f3\\fswiss Arialrtf1 field x;}{\\f4")) << head(o).toStdString();
}

TEST(RtfRenderer, ColorEntry) {
    EXPECT_EQ(lumo::rtfColorEntry(0), "\\red0\\green0\\blue0;");
    EXPECT_EQ(lumo::rtfColorEntry(0xFFFFFF), "\\red255\\green255\\blue255;");
    EXPECT_EQ(lumo::rtfColorEntry(0x0000FF), "\\red255\\green0\\blue0;");
    EXPECT_EQ(lumo::rtfColorEntry(0xFF0000), "\\red0\\green0\\blue255;");
}

TEST(RtfRenderer, BodyReplacements) {
    const lumo::Tags& t = lumo::tags();
    const QString tagged = t.lineOpen + t.keyword + "Sub" + t.close + " A()" + t.lineClose + "\r\n\tx = " + t.string +
                           "\"{\\}\"" + t.close + " " + t.comment + "' é" + t.close + "\r\n";
    QString body = tagged;
    Options bold;
    lumo::taggedToRtf(body, bold);
    EXPECT_EQ(body, "\\b \\cf1 Sub\\cf0  A()\\b0 \r\n\\par \\tab x = \\cf3 \"\\{\\\\\\}\"\\cf0  \\cf2 ' é\\cf0 \r\n\\par ");
    // Without bold routine lines the routine-line tags vanish without trace.
    Options plain;
    plain.boldRoutineLines = false;
    body = tagged;
    lumo::taggedToRtf(body, plain);
    EXPECT_TRUE(body.startsWith("\\cf1 Sub\\cf0  A()\r\n\\par "));
    EXPECT_FALSE(body.contains(QChar(lumo::kMarkerChar)));
}

namespace {

// Random tagged text built from tags, their pieces, line-break halves, tabs
// and the characters RTF escapes: every overlap the chain can meet. Without
// bold routine lines the chain removes a line-open tag before it looks for
// line-close tags, so the characters around a removed one could form a new
// line-close tag; the tagger puts line-open tags only at line starts, where
// that cannot happen, and so does this text.
QString randomTagged(std::mt19937& rng, bool rouf) {
    const lumo::Tags& t = lumo::tags();
    const QString marker(QChar(lumo::kMarkerChar));
    const QString lineOpen = rouf ? t.lineOpen : "\r\n" + t.lineOpen;
    const QStringList pieces = {t.close,   t.comment, t.keyword, t.string, lineOpen, t.lineClose, "|", marker,
                                "x|",      "|y",      "n",       "k|",     "\r",       "\n",        "\r\n",
                                "\t",      "\\",      "{",       "}",      "Sub A()",  "ä€"};
    QString s;
    const int n = int(rng() % 40);
    for (int k = 0; k < n; ++k) s += pieces[int(rng() % pieces.size())];
    return s;
}

bool lineOpenOnlyAtLineStarts(const QString& s) {
    for (qsizetype i = s.indexOf(lumo::tags().lineOpen); i >= 0; i = s.indexOf(lumo::tags().lineOpen, i + 1))
        if (i > 0 && s[i - 1] != u'\n') return false;
    return true;
}

}  // namespace

// The body as one walk of the tagged-text reader against the chain of
// replacements it is defined as: random texts full of overlapping tags, and
// every module of the corpus.
TEST(RtfRenderer, BodyEqualsTheReplacementChain) {
    std::mt19937 rng(20261207);
    for (const bool rouf : {true, false}) {
        Options o;
        o.boldRoutineLines = rouf;
        for (int i = 0; i < 20000; ++i) {
            const QString tagged = randomTagged(rng, rouf);
            if (!rouf && !lineOpenOnlyAtLineStarts(tagged)) continue;
            QString body = tagged;
            lumo::taggedToRtf(body, o);
            ASSERT_EQ(body, lumo::reference::taggedToRtf(tagged, o)) << tagged.toStdString() << " rouf " << rouf;
        }
    }
}
