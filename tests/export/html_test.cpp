// Tagged text to HTML, the clipboard transfer with its footer question, and
// the preview page.
#include <gtest/gtest.h>

#include <random>

#include <QFile>
#include <QTemporaryDir>

#include "base/OptionsStore.h"
#include "base/Ui.h"
#include "export/ExportContext.h"
#include "export/Html.h"
#include "model/TagCode.h"
#include "model/TagNotation.h"
#include "support/FakeUi.h"
#include "support/ReferenceRenderers.h"

using namespace lumo;
using lumo::test::FakeUi;

namespace {

const QString kFrame = "<pre><span style=\"font-family=MS Sans Serif,Arial; font-size=10pt\"; >";
const QString kQuestion =
    "Die Daten sind jetzt für die Zwischenablage vorbereitet \r\n"
    "und stehen Ihnen nach Schliessen des Dialoges dort zur Verfügung !\r\n\r\n"
    "Hinweis auf Erstellungsprogramm Hinzufügen ?";

QString html(const QString& tagged, const Options& o = Options{}) {
    QString text = tagged;
    taggedToHtml(text, o);
    return text;
}

// A context over a fake UI that records the status panel PanelOperation.
struct Env {
    FakeUi ui;
    Options options;
    QStringList panel;
    QTemporaryDir dir;
    ExportContext context() {
        return ExportContext{.ui = ui,
                             .options = options,
                             .hostName = "Word",
                             .previewFile = dir.path() + "/TempCodeLum.htm",
                             .status = [this](const QString& t) { panel << t; },
                             .busy = {}};
    }
};

}  // namespace

TEST(Html, EscapesFifteenCharactersAndLeavesTheTagsAlone) {
    const QString marker{QChar(kMarkerChar)};
    QString text = "a<b & \"c\": (d+e) > äöüÄÖÜß | " + marker + " é&lt;";
    escapeHtml(text);
    EXPECT_EQ(text, "a&lt;b &#38; &#34;c&#34;&#58; &#40;d&#43;e&#41; &gt; &auml;&ouml;&uuml;&Auml;&Ouml;&Uuml;&szlig; | " +
                        marker + " é&#38;lt;");
    const QString tagged = tags().comment + "' x < y" + tags().close;
    QString kept = tagged;
    escapeHtml(kept);
    EXPECT_EQ(kept, tags().comment + "' x &lt; y" + tags().close);
}

TEST(Html, ColoursAsSixHexDigitsAndNoneBeyondOneBytePerComponent) {
    const Options o;
    EXPECT_EQ(htmlColor(o.keywordColour), "#000080");
    EXPECT_EQ(htmlColor(o.commentColour), "#008000");
    EXPECT_EQ(htmlColor(o.stringColour), "#800000");
    EXPECT_EQ(htmlColor(0xFFFFFF), "#FFFFFF");
    EXPECT_EQ(htmlColor(0x0A0B0C), "#0C0B0A");
    EXPECT_EQ(htmlColor(0x1000000), std::nullopt);
    EXPECT_EQ(htmlColor(-1), std::nullopt);
}

TEST(Html, SpansBoldRoutineLinesAndTheFrame) {
    const Tags& t = tags();
    const QString tagged = t.lineOpen + t.keyword + "Sub" + t.close + " A()" + t.lineClose + "\r\n\tx = " + t.string +
                           "\"<ä>\"" + t.close + " " + t.comment + "' If | Then" + t.close + "\r\n";
    EXPECT_EQ(html(tagged), kFrame +
                                "<b><span style=\"color:#000080\"; >Sub</span> A&#40;&#41;</b>\r\n\tx = "
                                "<span style=\"color:#800000\"; >&#34;&lt;&auml;&gt;&#34;</span> "
                                "<span style=\"color:#008000\"; >' If | Then</span>\r\n</span></pre>");
    Options plain;
    plain.boldRoutineLines = false;
    plain.fontName = "Courier New";
    plain.fontSize = 12;
    const QString out = html(tagged, plain);
    EXPECT_FALSE(out.contains("<b>"));
    EXPECT_FALSE(out.contains("</b>"));
    EXPECT_TRUE(out.startsWith("<pre><span style=\"font-family=Courier New,Arial; font-size=12pt\"; ><span"));
}

TEST(Html, AKeywordInsideACommentCarriesOnlyTheCommentSpan) {
    const QString out = html(tagFragment("x = 1 ' If a Then Exit Sub", Options{}));
    EXPECT_EQ(out, kFrame + "x = 1 <span style=\"color:#008000\"; >' If a Then Exit Sub</span></span></pre>");
}

namespace {

// Random tagged text from tags, their pieces and every escaped character;
// line-open tags only where the tagger puts them when rouf is off (see the
// RTF renderer's test for why).
QString randomTagged(std::mt19937& rng, bool rouf) {
    const Tags& t = tags();
    const QString marker{QChar(kMarkerChar)};
    const QString lineOpen = rouf ? t.lineOpen : "\r\n" + t.lineOpen;
    const QStringList pieces = {t.close, t.comment, t.keyword, t.string, lineOpen, t.lineClose, "|", marker, "x|",
                                "|y", "n", "k|", "\r\n", "\t", "&", "<", ">", "ä", "Ö", "ß", "\"", ":", "(", ")",
                                "+", "Sub A", "€"};
    QString s;
    const int n = int(rng() % 40);
    for (int k = 0; k < n; ++k) s += pieces[int(rng() % pieces.size())];
    return s;
}

}  // namespace

// The sink against the chain of replacements it is defined as.
TEST(Html, AFontNameCannotCloseTheStyleAttribute) {
    Options o;
    o.fontName = "A\"><script>x</script>";
    EXPECT_TRUE(html("", o).startsWith("<pre><span style=\"font-family=A&#34;&gt;&lt;script&gt;x&lt;/script&gt;,Arial;"));
}

TEST(Html, FragmentEqualsTheReplacementChain) {
    std::mt19937 rng(20261207);
    for (const bool rouf : {true, false}) {
        Options o;
        o.boldRoutineLines = rouf;
        o.keywordColour = 0x123456;
        for (int i = 0; i < 20000; ++i) {
            const QString tagged = randomTagged(rng, rouf);
            if (!rouf) {
                bool atLineStarts = true;
                for (qsizetype p = tagged.indexOf(tags().lineOpen); p >= 0; p = tagged.indexOf(tags().lineOpen, p + 1))
                    if (p > 0 && tagged[p - 1] != u'\n') atLineStarts = false;
                if (!atLineStarts) continue;
            }
            ASSERT_EQ(html(tagged, o), reference::taggedToHtml(tagged, o)) << tagged.toStdString() << " rouf " << rouf;
        }
    }
}

TEST(Html, AColourBeyondOneByteStopsTheConversionWithItsReason) {
    Options o;
    o.stringColour = 0x1000000;
    QString text = tags().string + "\"a\"" + tags().close;
    const QString before = text;
    EXPECT_THROW(taggedToHtml(text, o), HtmlError);
    EXPECT_EQ(text, before);

    Env env;
    env.options = o;
    EXPECT_FALSE(convertToHtml(text, env.context()));
    EXPECT_EQ(text, before);
    ASSERT_EQ(env.ui.messages().size(), 1);
    EXPECT_TRUE(env.ui.messages()[0].contains("16777216")) << env.ui.messages()[0].toStdString();
    EXPECT_EQ(env.panel, (QStringList{"Erzeuge Html Code", ""}));
}

TEST(Html, FooterOnlyOnYesAndWithMessagesOn) {
    const QString lead = "<span style=\" font-weight:bold;\"> Code eingef&uuml;gt mit: </span> ";
    EXPECT_EQ(htmlFooter("Word", "https://example.org/a?b=1&c"),
              lead + "<a style =\"color:#ffff00; background-color:#000080; font-weight:bold;\" "
                     "href=\"https&#58;//example.org/a?b=1&#38;c\" target=\"blank\">Word Code Lumo</a>");
    // No web page set: the program is named without a dead link.
    const QString footer =
        lead + "<span style=\"color:#ffff00; background-color:#000080; font-weight:bold;\">Word Code Lumo</span>";
    EXPECT_EQ(htmlFooter("Word", ""), footer);
    for (const char* bad : {"javascript:alert(1)", "ftp://x", "https://a\"b", "https://a b", "",
                            "https://a\x1B]0;x\x07b", "https://a\u202Egro.b"})
        EXPECT_EQ(webPageAddress(bad), "") << bad;
    EXPECT_EQ(webPageAddress(" https://example.org/ "), "https://example.org/");

    Env yes;
    htmlToClipboard("<pre>x</pre>", yes.context());
    ASSERT_EQ(yes.ui.calls.size(), 3u);
    EXPECT_EQ(yes.ui.calls[0].kind, "question");
    EXPECT_EQ(yes.ui.calls[0].text, kQuestion);
    EXPECT_EQ(yes.ui.calls[0].icon, MsgIcon::Question);
    EXPECT_TRUE(yes.ui.calls[0].title.isEmpty());
    EXPECT_EQ(yes.ui.calls[1].kind, "clip-clear");
    EXPECT_EQ(yes.ui.clipboard, "<pre>x</pre>\r\n<br>" + footer);

    Env no;
    no.ui.answers.push_back(Answer::No);
    htmlToClipboard("<pre>x</pre>", no.context());
    EXPECT_EQ(no.ui.clipboard, "<pre>x</pre>");

    Env silent;
    silent.options.confirmClipboard = false;
    htmlToClipboard("<pre>x</pre>", silent.context());
    EXPECT_EQ(silent.ui.clipboard, "<pre>x</pre>");
    EXPECT_EQ(silent.ui.calls.size(), 2u);  // emptied and filled, nothing asked
    EXPECT_TRUE(silent.ui.viewed.empty());
}

TEST(Html, PreviewPageIsUtf8WithTheFooterAndOpensInTheBrowser) {
    Env env;
    env.options.previewInBrowser = true;
    htmlToClipboard("<pre>€</pre>", env.context());
    const QString file = env.dir.path() + "/TempCodeLum.htm";
    ASSERT_EQ(env.ui.viewed, std::vector<QString>{file});
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(f.readAll());
    EXPECT_EQ(page, "<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                    "<TITLE>Word Code Lumo</TITLE></HEAD><BODY>" +
                        env.ui.clipboard + "</Body></HTML>\r\n");
    EXPECT_TRUE(env.ui.clipboard.startsWith("<pre>€</pre>\r\n<br>"));
    // Every preview replaces the page before.
    env.ui.answers.push_back(Answer::No);
    htmlToClipboard("<pre>b</pre>", env.context());
    f.close();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("<BODY><pre>b</pre></Body>"));
}

namespace {

struct NoBrowserUi : FakeUi {
    bool openInViewer(const QString& path) override {
        FakeUi::openInViewer(path);
        return false;
    }
};

}  // namespace

TEST(Html, PreviewFailuresAreShownAndTheClipboardKeepsTheHtml) {
    NoBrowserUi ui;
    Options o;
    o.previewInBrowser = true;
    o.confirmClipboard = false;
    QTemporaryDir dir;
    ExportContext context{.ui = ui, .options = o, .hostName = "Word", .previewFile = dir.path() + "/TempCodeLum.htm"};
    htmlToClipboard("<pre>x</pre>", context);
    EXPECT_EQ(ui.messages(), QStringList{"Vorschau nicht möglich, vermutlich kein IE installiert"});
    EXPECT_EQ(ui.clipboard, "<pre>x</pre>");

    FakeUi unwritable;
    ExportContext nowhere{.ui = unwritable, .options = o, .hostName = "Word",
                          .previewFile = dir.path() + "/fehlt/TempCodeLum.htm"};
    htmlToClipboard("<pre>x</pre>", nowhere);
    ASSERT_EQ(unwritable.messages().size(), 1);
    EXPECT_TRUE(unwritable.messages()[0].startsWith("Die Vorschau ")) << unwritable.messages()[0].toStdString();
    EXPECT_TRUE(unwritable.viewed.empty());
    EXPECT_EQ(unwritable.clipboard, "<pre>x</pre>");
}
