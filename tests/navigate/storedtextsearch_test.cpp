// The search on stored bytes against the search of the shown text it
// stands in for: the same hits, with and without positions, on tagged texts
// made of tags, escapes, line breaks and characters whose case folds oddly.
#include <gtest/gtest.h>

#include <random>

#include "base/Options.h"
#include "navigate/SearchHits.h"
#include "navigate/StoredTextSearch.h"
#include "render/PlainText.h"
#include "render/TaggedContent.h"

using namespace lumo;

namespace {

QString describe(const std::vector<SearchHit>& hits, bool positions) {
    QString out;
    for (const SearchHit& h : hits)
        out += QString("%1:%2:%3:%4 %5\n").arg(h.module).arg(h.line).arg(positions ? h.position : 0).arg(h.length).arg(h.text);
    return out;
}

// Every way of searching `tagged` for `what` agrees with the searches of
// the shown text, the window's and the headless one's (which differ only
// where a stray line break meets a routine line); `bytesAlone` whether the
// stored bytes must answer without them.
void expectSame(const QString& tagged, const QString& what, bool bytesAlone) {
    const QByteArray bytes = tagged.toUtf8();
    const QString shownTexts[] = {taggedToViewText(tagged), plainTextOfModule(tagged, Options{})};
    for (const bool whole : {false, true}) {
        StoredTextSearch search(what, whole);
        for (const bool positions : {true, false}) {
            const std::optional<std::vector<SearchHit>> got = search.hits(bytes, 3, positions);
            if (bytesAlone) ASSERT_TRUE(got.has_value()) << qPrintable(tagged) << " / " << qPrintable(what);
            for (const QString& shown : shownTexts)
                if (got)
                    ASSERT_EQ(describe(*got, positions), describe(hitsInText(shown, what, whole, 3), positions))
                        << qPrintable(tagged) << " / " << qPrintable(what) << " whole " << whole;
        }
        if (const std::optional<bool> holds = search.holds(bytes))
            for (const QString& shown : shownTexts) ASSERT_EQ(*holds, shown.contains(what, Qt::CaseInsensitive)) << qPrintable(tagged);
    }
}

}  // namespace

TEST(StoredTextSearch, FindsWhatTheShownTextHolds) {
    struct Row {
        const char* tagged;
        const char* what;
        bool bytesAlone;
    };
    const Row rows[] = {
        {"|Ÿx||Ÿf|Sub|nŸ| Foo()|yŸ|\r\n    |Ÿf|Dim|nŸ| x |Ÿf|As|nŸ| Long\r\n|Ÿx||Ÿf|End|nŸ| |Ÿf|Sub|nŸ||yŸ|", "sub foo", true},
        {"|Ÿx||Ÿf|Sub|nŸ| Foo()|yŸ|\r\n|Ÿx||Ÿf|End|nŸ| |Ÿf|Sub|nŸ||yŸ|\r\n", "END SUB", true},
        {"a = |Ÿs|\"x|Ÿ?f|y\"|nŸ| |Ÿk|' Ÿ?? ok|nŸ|", "Ÿ?", true},       // escapes shown as the marker
        {"a = |Ÿs|\"x|Ÿ?f|y\"|nŸ| |Ÿk|' Ÿ?? ok|nŸ|", "|Ÿf|", true},
        {"x|Ÿk|nŸ|y and |nŸ|Ÿk|z", "xn", true},                        // overlapping tags: one is text
        {"x|Ÿk|nŸ|y and |nŸ|Ÿk|z", "Ÿk|z", true},
        {"Größe = |Ÿs|\"STRASSE straße\"|nŸ|\r\n' ÄRGER ärger", "ärger", true},
        {"sKey \xe2\x84\xaa \xc5\xbf\x65\x63ret Key", "k", true},      // Kelvin sign and long s fold to ASCII
        {"sKey \xe2\x84\xaa \xc5\xbf\x65\x63ret Key", "SECRET", true},
        {"x_1 = x_12 + x_1\r\n\xf0\x9f\x98\x80x_1\xf0\x9f\x98\x80 ", "x_1", true},
        {"aaa\r\naaaa", "aa", true},
        {"a\rb\r\nc\nd", "ab", false},                                  // stray CR and LF: the view drops them
        {"a\rb\r\nc\nd", "cd", false},
        {"x\r|yŸ|\ny", "y", false},
        {QByteArray("a\0b a b", 7).constData(), "a b", false},
        {"a\xe2\x80\xa8" "b a b", "a b", false},                         // a paragraph mark shown as a blank
        {"a\r\nb", "a\r\nb", false},
    };
    for (const Row& row : rows) expectSame(QString::fromUtf8(row.tagged), QString::fromUtf8(row.what), row.bytesAlone);
    expectSame(QString::fromUtf8(QByteArray("a\0b a b", 7)), "a b", false);
}

TEST(StoredTextSearch, AgreesOnRandomTaggedTexts) {
    const char* pieces[] = {"|Ÿf|", "|nŸ|", "|Ÿk|", "|Ÿs|", "|Ÿx|", "|yŸ|", "Ÿ?", "Ÿ", "|", "?", "\r\n", "\r\n", "\r",
                            "\n", "a", "B", "b", "k", "\xe2\x84\xaa", "\xc5\xbf", "s", " ", " ", "ä", "Ä", "\xf0\x9f\x98\x80",
                            "_", "x", "\xe2\x80\xa8", "\t"};
    const char* needles[] = {"a", "ab", "b a", "k", "ks", "Ä", "x_", "s b", "Ÿ", "|", "a|b", "?", "ba", "\xc5\xbf"};
    std::mt19937 rng(41);
    for (int round = 0; round < 4000; ++round) {
        QByteArray text;
        for (int k = int(rng() % 40); k > 0; --k) text += pieces[rng() % std::size(pieces)];
        expectSame(QString::fromUtf8(text), QString::fromUtf8(needles[rng() % std::size(needles)]), false);
    }
}
