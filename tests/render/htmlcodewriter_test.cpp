// The one writer of code as HTML: its two ways of placing tags and its
// hooks (the export's fragment and the site's pages are checked whole by
// their own tests).
#include <gtest/gtest.h>

#include <QStringList>

#include "model/Tags.h"
#include "render/HtmlCodeWriter.h"

using namespace lumo;

namespace {

struct TextPage {
    QString out;
    void add(QByteArrayView markup) { out += QLatin1StringView(markup); }
    void addEscaped(QStringView text) { out += text.toString().replace(u'<', QStringLiteral("&lt;")); }
    void addNumber(qint64 n) { out += QString::number(n); }
};

// Links "Ziel" wherever it is offered; an anchor at line 2.
struct LinkHooks {
    static constexpr bool kLinks = true;
    QStringList offered;
    QByteArrayView link(QStringView word, int line) {
        offered << word.toString() + u'@' + QString::number(line);
        return word == u"Ziel" ? QByteArrayView("#L9") : QByteArrayView();
    }
    void lineStarted(TextPage& page, int line) {
        if (line == 2) page.add("<a id=\"r\"></a>");
    }
};

template <class Hooks>
QString write(const QString& tagged, bool lineElements, Hooks& hooks) {
    HtmlCodeMarkup markup;
    markup.lineElements = lineElements;
    markup.tags[size_t(TagKind::Comment)] = "<i>";
    markup.tags[size_t(TagKind::Close)] = "</i>";
    markup.colours[size_t(ColourSlot::Comment)] = "<span class=\"c\">";
    markup.routineLine = "<span class=\"r\">";
    TextPage page;
    HtmlCodeWriter writer(page, markup, hooks);
    readTagged(tagged, writer);
    writer.finish();
    return page.out;
}

}  // namespace

TEST(HtmlCodeWriter, TagsWhereTheyStandOrLinesAsElements) {
    const Tags& t = tags();
    const QString tagged = "a<Ziel " + t.comment + "' Ziel\r\nb" + t.close + "\r\nc";
    NoHtmlHooks none;
    EXPECT_EQ(write(tagged, false, none).toStdString(), "a&lt;Ziel <i>' Ziel\r\nb</i>\r\nc");
    LinkHooks hooks;
    EXPECT_EQ(write(tagged, false, hooks).toStdString(), "a&lt;<a href=\"#L9\">Ziel</a> <i>' Ziel\r\nb</i>\r\nc");
    // Only plain code is offered, with the line it stands on.
    EXPECT_EQ(hooks.offered, QStringList({"a@1", "Ziel@1", "c@1"}));
    hooks.offered.clear();
    // The comment's element is closed at the line's end and opened again;
    // carriage returns are left out, the anchor follows its line's element.
    EXPECT_EQ(write(tagged, true, hooks).toStdString(),
              "<span id=\"L1\">a&lt;<a href=\"#L9\">Ziel</a> <span class=\"c\">' Ziel</span>\n</span>"
              "<span id=\"L2\"><a id=\"r\"></a><span class=\"c\">b</span>\n</span>"
              "<span id=\"L3\">c\n</span>");
    EXPECT_EQ(hooks.offered, QStringList({"a@1", "Ziel@1", "c@3"}));
    // A routine line holding a comment: every change of the two closes
    // what is open and opens it anew, so that they nest on every line.
    const QString head = t.lineOpen + "S " + t.comment + "x\r\ny" + t.close + t.lineClose;
    EXPECT_EQ(write(head, true, none).toStdString(),
              "<span id=\"L1\"><span class=\"r\">S </span><span class=\"r\"><span class=\"c\">x</span></span>\n</span>"
              "<span id=\"L2\"><span class=\"r\"><span class=\"c\">y</span></span><span class=\"r\"></span>\n</span>");
}
