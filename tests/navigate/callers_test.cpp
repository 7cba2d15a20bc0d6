// The caller search over modules built by the real parser, and the
// blanking of tagged spans against its definition.
#include <gtest/gtest.h>

#include <random>

#include <QFile>

#include "model/BuildFixture.h"
#include "model/Tags.h"
#include "model/Codes.h"
#include "navigate/Callers.h"
#include "support/ReferenceRenderers.h"
#include "view/NodeList.h"

using namespace lumo;

namespace {

class CallersTest : public lumo::test::BuildFixture {
protected:
    // The result as the headless entry prints it.
    QStringList run(const QString& name, int currentModule, int count) {
        outcome = callersCommand(tree, store, name, currentModule, count, ui);
        QStringList out;
        for (const ListedNode& n : tree.nodes())
            out << (n.parentKey.isEmpty() ? "" : "\t") + n.key + "\t" + n.text + "\t" + n.imageKey;
        return out;
    }
    NodeList tree;
    CallersOutcome outcome = CallersOutcome::Stopped;
};

}  // namespace

TEST_F(CallersTest, OneNodePerCallingRoutineAndOnlyCodeCounts) {
    add("Public Sub Foo()\n"                      // R1
        "    Foo\n"                               // calls itself
        "End Sub\n"
        "Sub Zwei()\n"                            // R2: references in comment, string, longer names
        "    MyFoo: Foo_2: XFoo 1: FooBar ' Foo\n"
        "    s = \"Foo\" & foo\n"
        "End Sub\n"
        "Function Drei()\n"                       // R3: a reference before a semicolon
        "    Debug.Print Foo;\n"
        "End Function\n",
        "Eins");
    add("Option Explicit\n"
        "Dim a: Foo\n"                            // outside every routine
        "Private Sub Vier()\n"                    // R4: none
        "    Dim Foo2\n"
        "End Sub\n",
        "Zwei");
    add("Sub Fuenf()\n    Call Foo(1)\nEnd Sub\n", "Drei", 3);  // R5
    // "foo" in Zwei is Foo too: VBA does not tell names apart by case.
    EXPECT_EQ(run("Foo", 0, 3), (QStringList{"M1\tEins\tM2", "\tR1\tFoo\tR1O1", "\tR2\tZwei\tR1O1", "\tR3\tDrei\tR2O1",
                                             "M2\tZwei\tM2", "M3\tDrei\tM3", "\tR5\tFuenf\tR1O1"}));
    EXPECT_EQ(outcome, CallersOutcome::Found);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(CallersTest, LinesCountTheBreaksOfContinuedHeads) {
    // The head of Foo runs over three lines; were its line breaks blanked
    // with it, the call in Baz would be counted two lines up, into Bar.
    const QString stored = add("Public Sub Foo(a, _\n"
        "    b, _\n"
        "    c)\n"
        "End Sub\n"
        "Sub Bar()\n"
        "End Sub\n"
        "Sub Baz()\n"
        "    Foo 1, 2, 3\n"
        "End Sub\n",
        "Eins");
    const qsizetype call = stored.indexOf("Foo 1");
    ASSERT_EQ(blankTaggedSpans(stored).left(call).count('\n') + 2, stored.left(call).count('\n'));
    ASSERT_EQ(routines().size(), 3u);
    ASSERT_EQ(routines()[2].start, "7");
    EXPECT_EQ(run("Foo", 0, 1), (QStringList{"M1\tEins\tM2", "\tR3\tBaz\tR1O1"}));
}

TEST_F(CallersTest, PrivateRoutinesAreSearchedInTheirModuleOnly) {
    add("Private Sub Geheim()\nEnd Sub\nSub A()\n    Geheim\nEnd Sub\n", "Eins");
    add("Sub B()\n    Geheim\nEnd Sub\n", "Zwei");
    EXPECT_EQ(run("Geheim", 0, 2), (QStringList{"M1\tEins\tM2", "\tR2\tA\tR1O1"}));
    // Seen from module 2 the name is not one of its routines; the last result stays.
    EXPECT_EQ(run("Geheim", 1, 2).size(), 2);
    EXPECT_EQ(outcome, CallersOutcome::Stopped);
    EXPECT_EQ(ui.messages(), QStringList{"Infos zu Routine nicht gefunden"});
}

TEST_F(CallersTest, PropertiesAndUncalledRoutines) {
    add("Property Get Wert()\nEnd Property\nSub Leer()\nEnd Sub\nSub C()\n    x = Wert\nEnd Sub\n", "Eins", 3);
    EXPECT_TRUE(run("Wert", 0, 1).isEmpty());
    EXPECT_EQ(outcome, CallersOutcome::Stopped);
    EXPECT_EQ(ui.messages(), QStringList{"Property wird von der Routinensuche nicht unterstützt"});
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::Warning);
    EXPECT_TRUE(run("Leer", 0, 1).isEmpty());
    EXPECT_EQ(outcome, CallersOutcome::NoneFound);
    EXPECT_TRUE(run("", 0, 1).isEmpty());
    EXPECT_EQ(outcome, CallersOutcome::Stopped);
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST_F(CallersTest, AMissingModuleTextIsReportedAndTheCallersFoundStay) {
    add("Sub Foo()\nEnd Sub\nSub A()\n    Foo\nEnd Sub\n", "Eins");
    add("Sub B()\n    Foo\nEnd Sub\n", "Zwei");
    ASSERT_TRUE(QFile::remove(store.moduleTextPath(2)));
    EXPECT_EQ(run("Foo", 0, 2).size(), 2);
    EXPECT_EQ(outcome, CallersOutcome::Found);
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST(CallersIdentifiers, LettersOfEitherCaseDigitsAndUnderscore) {
    for (QChar c : QStringLiteral("azAZ09_äöüßÄÖÜ")) EXPECT_TRUE(isCallerIdentChar(c)) << int(c.unicode());
    for (QChar c : QStringLiteral("; .(é$")) EXPECT_FALSE(isCallerIdentChar(c)) << int(c.unicode());
}

namespace {

// Tagged texts from tags, their pieces and plain text, unterminated spans
// included.
QString randomTagged(std::mt19937& rng) {
    const Tags& t = tags();
    const QString marker = QString(QChar(kMarkerChar));
    const QStringList pieces = {t.close, t.comment, t.keyword, t.string, t.lineOpen, t.lineClose, "x",  marker,
                                "Foo",   " ",       "\r\n",    "ab",     "y"};
    QString s;
    const int n = int(rng() % 30);
    for (int k = 0; k < n; ++k) s += pieces[int(rng() % pieces.size())];
    return s;
}

// Texts the tagger never writes: two tags sharing a "|", or "|" and the
// marker that start no tag. The defined search and the reader may then
// see different tags.
bool unlikeStoredText(const QString& s) {
    TagKind kind;
    const QChar* p = s.constData();
    for (qsizetype i = 0; i + 1 < s.size(); ++i) {
        const bool tag = taglayout::keptTagAt(p, s.size(), i, kind);
        if (tag && taglayout::keptTagAt(p, s.size(), i + 3, kind)) return true;
        if (!tag && p[i] == u'|' && p[i + 1].unicode() == kMarkerChar) return true;
    }
    return false;
}

}  // namespace

TEST(CallersBlanking, EqualsTheDefinedSearchAndKeepsPositions) {
    const Tags& t = tags();
    const QString tagged = t.lineOpen + t.keyword + "Sub" + t.close + " A()" + t.lineClose + "\r\n  x = " + t.string +
                           "\"Foo\"" + t.close + " " + t.comment + "' Foo" + t.close + "\r\nFoo";
    const QString blanked = blankTaggedSpans(tagged);
    EXPECT_EQ(blanked.size(), tagged.size());
    EXPECT_EQ(blanked, QString(23, ' ') + "\r\n  x = " + QString(13, ' ') + " " + QString(13, ' ') + "\r\nFoo");
    EXPECT_EQ(blankTaggedSpans("a " + t.comment + "' offen\r\nb"), "a " + QString(14, ' '));
    // "|" and the marker before a letter that makes no tag open nothing (the
    // stored texts never hold such a pair outside a literal or comment).
    const QString noTag = "a |" + t.marker + "q b" + t.close;
    EXPECT_EQ(blankTaggedSpans(noTag), noTag);

    std::mt19937 rng(20261207);
    int compared = 0;
    for (int i = 0; i < 20000; ++i) {
        const QString s = randomTagged(rng);
        if (unlikeStoredText(s)) continue;
        ASSERT_EQ(blankTaggedSpans(s), reference::blankTaggedSpans(s)) << s.toStdString();
        ++compared;
    }
    EXPECT_GT(compared, 5000);
}
