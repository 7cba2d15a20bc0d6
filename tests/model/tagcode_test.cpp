// The tagging pass in fragment mode: what gets coloured and what comes back
// unchanged.
#include <gtest/gtest.h>

#include "model/Keywords.h"
#include "model/TagCode.h"
#include "model/TagNotation.h"
#include "model/Tags.h"

using lumo::Options;
using lumo::tagFragment;
using lumo::test::crlf;
using lumo::test::readable;
using lumo::test::untagged;

namespace {

QString tagged(const QString& lfText, const Options& options = {}) {
    return readable(tagFragment(crlf(lfText), options)).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

}  // namespace

TEST(Tags, TextsAndLengthsOfTheTable) {
    const lumo::Tags& t = lumo::tags();
    const QString m(QChar(0x0178));
    EXPECT_EQ(t.escape, m + "|?");
    EXPECT_EQ(t.continuation, "|" + m + "u| ");
    EXPECT_EQ(t.continuation.size(), lumo::kContinuationTagLength);
    EXPECT_EQ(t.blank, "|" + m + "b|");
    EXPECT_EQ(t.doubleQuote, "|" + m + "d|");
    EXPECT_EQ(t.comment, "|" + m + "k|");
    EXPECT_EQ(t.string, "|" + m + "s|");
    EXPECT_EQ(t.keyword, "|" + m + "f|");
    EXPECT_EQ(t.close, "|n" + m + "|");
    EXPECT_EQ(t.lineOpen, "|" + m + "x|");
    EXPECT_EQ(t.lineClose, "|y" + m + "|");
}

TEST(Keywords, ListHas111EntriesInOrderWithTheirSpellings) {
    const QStringList& k = lumo::keywordEntries();
    ASSERT_EQ(k.size(), 111);
    EXPECT_EQ(k.first(), " Option Base 1 ");
    EXPECT_EQ(k.last(), " Write ");
    for (const char* w : {" Redim ", " Cbool ", " Cbyte ", " Cint ", " Clng "}) EXPECT_TRUE(k.contains(w)) << w;
    for (const QString& e : k) {
        EXPECT_TRUE(e.startsWith(' ') && e.endsWith(' ')) << e.toStdString();
        EXPECT_FALSE(e.startsWith("  ") || e.endsWith("  ")) << e.toStdString();
    }
    EXPECT_EQ(readable(lumo::taggedKeywordEntry(" Option Explicit ")), " [k]Option[/] [k]Explicit[/] ");
}

TEST(TagFragment, KeywordsBetweenSeparatorsOnly) {
    EXPECT_EQ(tagged("Dim x As Long"), "[k]Dim[/] x [k]As[/] [k]Long[/]");
    EXPECT_EQ(tagged("    Dim x"), "    [k]Dim[/] x");
    EXPECT_EQ(tagged("\tDim x"), "\t[k]Dim[/] x");
    EXPECT_EQ(tagged("Call f(ByVal a,ByRef b)"), "[k]Call[/] f([k]ByVal[/] a,[k]ByRef[/] b)");
    // After a dot it is a member, before a colon a label-like statement end.
    EXPECT_EQ(tagged("rs.Close"), "rs.Close");
    EXPECT_EQ(tagged("Debug.Print x"), "Debug.Print x");
    EXPECT_EQ(tagged("Else: x = 1"), "Else: x = 1");
    // Spellings of the VBA editor are not in the list; the list's own are.
    EXPECT_EQ(tagged("ReDim a(1): x = CBool(y) + CInt(z) + CLng(z) + CByte(z)"),
              "ReDim a(1): x = CBool(y) + CInt(z) + CLng(z) + CByte(z)");
    EXPECT_EQ(tagged("Redim a(1)"), "[k]Redim[/] a(1)");
    EXPECT_EQ(tagged("For Each c In x Xor y Mod z Like w"), "[k]For[/] Each c In x Xor y Mod z Like w");
    EXPECT_EQ(tagged("Dim d As Date, c As Currency"), "[k]Dim[/] d [k]As[/] Date, c [k]As[/] Currency");
    EXPECT_EQ(tagged("Option Base 1"), "[k]Option[/] [k]Base[/] [k]1[/]");
    EXPECT_EQ(tagged("Private Const"), "[k]Private[/] [k]Const[/]");
    // One pass per entry: the second of two equal neighbours shares the space.
    EXPECT_EQ(tagged("x End End End"), "x [k]End[/] End [k]End[/]");
    // Spaces around punctuation come back as they were.
    EXPECT_EQ(tagged("f ( a ,b )  , c"), "f ( a ,b )  , c");
}

TEST(TagFragment, CommentsAndStrings) {
    EXPECT_EQ(tagged("x = 1 ' Dim As"), "x = 1 [c]' Dim As[/]");
    EXPECT_EQ(tagged("Rem Dim x"), "Rem [k]Dim[/] x");
    EXPECT_EQ(tagged("x = \"If Then\" & y"), "x = [s]\"If Then\"[/] & y");
    EXPECT_EQ(tagged("x = \"a\" & \"b\""), "x = [s]\"a\"[/] & [s]\"b\"[/]");
    // An empty literal stays plain; doubled quotes stay inside their string.
    EXPECT_EQ(tagged("x = \"\""), "x = \"\"");
    EXPECT_EQ(tagged("x = \"a\"\"b\""), "x = [s]\"a\"\"b\"[/]");
    // Quote before apostrophe: the scan decides what is a comment.
    EXPECT_EQ(tagged("x = \"it's\" ' As it is"), "x = [s]\"it's\"[/] [c]' As it is[/]");
    EXPECT_EQ(tagged("x = \"a\" & Not y 'c"), "x = [s]\"a\"[/] & [k]Not[/] y [c]'c[/]");
    // Apostrophe before quote: all of it is comment.
    EXPECT_EQ(tagged("' say \"Dim\""), "[c]' say \"Dim\"[/]");
    // Tabs inside strings survive the widening.
    EXPECT_EQ(tagged("x = \"a\tb ( c , d )\""), "x = [s]\"a\tb ( c , d )\"[/]");
}

TEST(TagFragment, UnbalancedQuotesOnlyChangeColouring) {
    // The string runs on to the end of its line, without a close tag.
    EXPECT_EQ(tagged("x = \"abc Dim\nDim y"), "x = [s]\"abc Dim\n[k]Dim[/] y");
    EXPECT_EQ(tagged("x = \"ab 'c\" & \"d ' e"), "x = [s]\"ab 'c\"[/] & [s]\"d ' e");
    EXPECT_EQ(tagged("\""), "[s]\"");
}

TEST(TagFragment, ContinuedLines) {
    // A comment ending in " _" goes on in the next physical line.
    EXPECT_EQ(tagged("' one _\nDim two\nDim x"), "[c]' one _\nDim two[/]\n[k]Dim[/] x");
    // A keyword at the very start of a continued line is found.
    EXPECT_EQ(tagged("x = a And _\nNot b"), "x = a [k]And[/] _\n[k]Not[/] b");
    EXPECT_EQ(tagged("s = \"a \" & _\n  \"b\""), "s = [s]\"a \"[/] & _\n  [s]\"b\"[/]");
}

TEST(TagFragment, MarkerCharactersOfTheSourceComeBackUnchanged) {
    const QString m(QChar(0x0178));
    // Sequences that would spell transient tags once the marker is restored.
    const QString source = "x = \"" + m + "\" ' |" + m + "u| and |" + m + "d| " + m + "|?\nDim " + m + "_\n|" +
                           m + "b|" + m + m;
    const QString out = tagFragment(crlf(source), Options{});
    EXPECT_EQ(untagged(out), crlf(source));
    EXPECT_TRUE(readable(out).startsWith("x = [s]\"" + m + "?\"[/] [c]' |")) << readable(out).toStdString();
}

TEST(TagFragment, RoutineLines) {
    EXPECT_EQ(tagged("Sub Test()\nx = 1\nEnd Sub"),
              "[x][k]Sub[/] Test()[/x]\nx = 1\n[x][k]End[/] [k]Sub[/][/x]");
    EXPECT_EQ(tagged("Private Function F() As Long\nExit Function\nEnd Function"),
              "[x][k]Private[/] [k]Function[/] F() [k]As[/] [k]Long[/][/x]\n[k]Exit[/] [k]Function[/]\n"
              "[x][k]End[/] [k]Function[/][/x]");
    // Property without Get, Let or Set is no head.
    EXPECT_EQ(tagged("x.Property = 1"), "x.Property = 1");
    Options o;
    o.blankLineBeforeRoutines = true;
    o.reindentBlocks = true;
    o.indentRoutineBodies = true;
    EXPECT_EQ(tagged("Sub A()\nx = 1\nEnd Sub", o), "\t\n[x][k]Sub[/] A()[/x]\n\tx = 1\n[x][k]End[/] [k]Sub[/][/x]");
}

TEST(TagFragment, AnyTextGoesIn) {
    EXPECT_EQ(tagFragment(QString(), Options{}), QString());
    QString garbage;
    for (int i = 0; i < 5000; ++i) garbage += QChar(char16_t((i * 7919) % 0xD7FF + 1));
    const QString out = tagFragment(garbage, Options{});
    EXPECT_EQ(untagged(out), garbage);
    const QString longLine = QString(100000, QLatin1Char('x')) + " \"" + QString(100000, QLatin1Char(' '));
    EXPECT_EQ(untagged(tagFragment(longLine, Options{})), longLine);
}

TEST(TagFragment, BlankLineOptions) {
    Options leer;
    leer.removeBlankLines = true;
    EXPECT_EQ(tagged("a\n\n\n\nb\n  \nc", leer), "a\nb\n  \nc");
    Options both = leer;
    both.reindentBlocks = true;
    EXPECT_EQ(tagged("a\n\n\n\nb\n  \nc", both), "a\nb\nc");
}
