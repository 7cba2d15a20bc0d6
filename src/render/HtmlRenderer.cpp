#include "render/HtmlRenderer.h"

#include <algorithm>
#include <array>

#include "model/TaggedText.h"
#include "render/HtmlCodeWriter.h"

namespace lumo {

namespace {

// What each escaped character becomes. "&" must be first in any chain of
// replacements; as one pass over the text the order no longer matters,
// because no entity holds a character that is escaped itself.
QLatin1String entityOf(char16_t c) {
    switch (c) {
    case u'&': return QLatin1String("&#38;");
    case u'<': return QLatin1String("&lt;");
    case u'>': return QLatin1String("&gt;");
    case u'\u00E4': return QLatin1String("&auml;");
    case u'\u00F6': return QLatin1String("&ouml;");
    case u'\u00FC': return QLatin1String("&uuml;");
    case u'\u00C4': return QLatin1String("&Auml;");
    case u'\u00D6': return QLatin1String("&Ouml;");
    case u'\u00DC': return QLatin1String("&Uuml;");
    case u'\u00DF': return QLatin1String("&szlig;");
    case u'"': return QLatin1String("&#34;");
    case u':': return QLatin1String("&#58;");
    case u')': return QLatin1String("&#41;");
    case u'(': return QLatin1String("&#40;");
    case u'+': return QLatin1String("&#43;");
    default: return QLatin1String();
    }
}

// The span a colour tag opens, attribute form included.
QByteArray colourSpan(const QString& colour) {
    return "<span style=\"color:" + colour.toLatin1() + "\"; >";
}

// The fragment's page: markup as it is, text escaped with the entities of escapeHtml.
class EntityPage {
public:
    explicit EntityPage(QString& out) : out_(out) {}
    void add(QByteArrayView markup) { out_ += QLatin1StringView(markup); }
    void addEscaped(QStringView text) { appendEscapedHtml(out_, text); }
    void addNumber(qint64 n) { out_ += QString::number(n); }

private:
    QString& out_;
};

}  // namespace

void appendEscapedHtml(QString& out, QStringView span) {
    const QChar* p = span.data();
    const qsizetype n = span.size();
    qsizetype plain = 0;
    for (qsizetype k = 0; k < n; ++k) {
        const QLatin1String entity = entityOf(p[k].unicode());
        if (entity.isEmpty()) continue;
        out.append(p + plain, k - plain);
        out += entity;
        plain = k + 1;
    }
    out.append(p + plain, n - plain);
}

void escapeHtml(QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    appendEscapedHtml(out, text);
    text = std::move(out);
}

std::optional<QString> htmlColor(qint32 colour) {
    // Taken apart with remainders that keep the value's sign, as the colour
    // values have always been; a component outside one byte has no two-digit form.
    const qint64 v = colour;
    const qint64 red = v % 256;
    const qint64 green = ((v % 65536) - red) / 256;
    const qint64 blue = (v - (v % 65536)) / 65536;
    QString out = QStringLiteral("#");
    for (const qint64 c : {red, green, blue}) {
        if (c < 0 || c > 255) return std::nullopt;
        out += QString::number(c, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    }
    return out;
}

QString htmlColorOrThrow(qint32 colour, const char* what) {
    if (std::optional<QString> c = htmlColor(colour)) return *c;
    throw HtmlError(QStringLiteral("Die Farbe für %1 (%2) lässt sich nicht als HTML-Farbe schreiben; "
                                   "erlaubt sind Werte von 0 bis 16777215.")
                        .arg(QString::fromUtf8(what))
                        .arg(colour)
                        .toStdString());
}

void taggedToHtml(QString& text, const Options& options) {
    HtmlCodeMarkup markup;
    auto& tagText = markup.tags;
    tagText[size_t(TagKind::Close)] = "</span>";
    tagText[size_t(TagKind::Comment)] = colourSpan(htmlColorOrThrow(options.commentColour, "Kommentare"));
    tagText[size_t(TagKind::Keyword)] = colourSpan(htmlColorOrThrow(options.keywordColour, "Schlüsselwörter"));
    tagText[size_t(TagKind::String)] = colourSpan(htmlColorOrThrow(options.stringColour, "Zeichenketten"));
    if (options.boldRoutineLines) {
        tagText[size_t(TagKind::LineOpen)] = "<b>";
        tagText[size_t(TagKind::LineClose)] = "</b>";
    }
    QString out;
    out.reserve(text.size() * 3 + 128);
    out += QStringLiteral("<pre><span style=\"font-family=");
    // Escaped like the text: a name from a hand-edited settings file must
    // not close the attribute and add markup of its own.
    appendEscapedHtml(out, options.fontName);
    out += QStringLiteral(",Arial; font-size=") + QString::number(options.fontSize) + QStringLiteral("pt\"; >");
    EntityPage page(out);
    NoHtmlHooks hooks;
    HtmlCodeWriter writer(page, markup, hooks);
    readTagged(text, writer);
    out += QStringLiteral("</span></pre>");
    text = std::move(out);
}

}  // namespace lumo
