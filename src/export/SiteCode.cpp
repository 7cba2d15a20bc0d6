#include "export/SiteCode.h"

#include <array>

#include "model/TaggedText.h"
#include "model/TextOperations.h"

namespace lumo {

namespace {

// isIdentChar, asked for every character of a page: ASCII from a table.
const std::array<bool, 128> kAsciiIdent = [] {
    std::array<bool, 128> t{};
    for (char16_t u = 0; u < 128; ++u) t[u] = isIdentChar(QChar(u));
    return t;
}();

inline bool identChar(QChar c) { return c.unicode() < 128 ? kAsciiIdent[c.unicode()] : isIdentChar(c); }

// Writes lines as elements of their own: a span open at a line's end is
// closed there and opened again on the next line, so that every line can
// be a link target and the markup stays nested.
class SiteCodeSink {
public:
    SiteCodeSink(QString& out, const SiteLinkOf& linkOf, const QHash<int, QStringList>& anchors)
        : out_(out), linkOf_(linkOf), anchors_(anchors) {}

    // A run of a line's text goes out in one piece up to the next word that
    // becomes a link, or the line's end.
    void text(QStringView s) {
        const QChar* p = s.data();
        const qsizetype n = s.size();
        qsizetype from = 0;  // the first character not yet written
        for (qsizetype i = 0; i < n;) {
            const char16_t c = p[i].unicode();
            if (c == u'\r' || c == u'\n') {
                flush(s, from, i);
                if (c == u'\n') endLine();
                from = ++i;
                continue;
            }
            if (slot_ != ColourSlot::Plain || !identChar(p[i])) {
                ++i;
                continue;
            }
            qsizetype e = i + 1;
            while (e < n && identChar(p[e])) ++e;
            const QString href = linkOf_(s.sliced(i, e - i), line_);
            if (!href.isEmpty()) {
                flush(s, from, i);
                startLine();
                out_ += QLatin1String("<a href=\"");
                appendSiteEscaped(out_, href);
                out_ += QLatin1String("\">");
                appendSiteEscaped(out_, s.sliced(i, e - i));
                out_ += QLatin1String("</a>");
                from = e;
            }
            i = e;
        }
        flush(s, from, n);
    }

    void tag(TagKind kind) {
        ColourSlot slot = slot_;
        bool bold = bold_;
        if (!colourOfTag(kind, slot)) bold = kind == TagKind::LineOpen;
        if (slot == slot_ && bold == bold_) return;
        if (open_) closeElements();
        slot_ = slot;
        bold_ = bold;
        if (open_) openElements();
    }

    void finish() {
        if (open_) endLine();
    }

private:
    void startLine() {
        if (open_) return;
        open_ = true;
        // The number itself is drawn by the style sheet (a counter of the
        // lines), so that the page stays small and a copy holds only code.
        out_ += QLatin1String("<span id=\"L");
        out_ += QString::number(line_);
        out_ += QLatin1String("\">");
        if (const auto a = anchors_.constFind(line_); a != anchors_.cend())
            for (const QString& id : a.value()) {
                out_ += QLatin1String("<a id=\"");
                appendSiteEscaped(out_, id);
                out_ += QLatin1String("\"></a>");
            }
        openElements();
    }

    void endLine() {
        startLine();  // an empty line is a line too
        closeElements();
        // The break inside the line's element: as a block of its own, a
        // line followed by a break outside it would show an empty line.
        out_ += QLatin1String("\n</span>");
        open_ = false;
        ++line_;
    }

    void openElements() {
        if (bold_) out_ += QLatin1String("<span class=\"r\">");
        switch (slot_) {
        case ColourSlot::Keyword: out_ += QLatin1String("<span class=\"k\">"); break;
        case ColourSlot::Comment: out_ += QLatin1String("<span class=\"c\">"); break;
        case ColourSlot::String: out_ += QLatin1String("<span class=\"s\">"); break;
        case ColourSlot::Plain: break;
        }
    }

    void closeElements() {
        if (slot_ != ColourSlot::Plain) out_ += QLatin1String("</span>");
        if (bold_) out_ += QLatin1String("</span>");
    }

    void flush(QStringView s, qsizetype from, qsizetype to) {
        if (to <= from) return;
        startLine();
        appendSiteEscaped(out_, s.sliced(from, to - from));
    }

    QString& out_;
    const SiteLinkOf& linkOf_;
    const QHash<int, QStringList>& anchors_;
    ColourSlot slot_ = ColourSlot::Plain;
    bool bold_ = false;
    bool open_ = false;  // a line's element is open
    int line_ = 1;
};

}  // namespace

void appendSiteEscaped(QString& out, QStringView text) {
    const QChar* p = text.data();
    const qsizetype n = text.size();
    qsizetype plain = 0;
    for (qsizetype k = 0; k < n; ++k) {
        QLatin1String entity;
        switch (p[k].unicode()) {
        case u'&': entity = QLatin1String("&amp;"); break;
        case u'<': entity = QLatin1String("&lt;"); break;
        case u'>': entity = QLatin1String("&gt;"); break;
        case u'"': entity = QLatin1String("&quot;"); break;
        default:
            // Control characters are no text of an HTML5 page: each shows
            // as the replacement character.
            if ((p[k].unicode() >= 0x20 && p[k].unicode() != 0x7F) || p[k] == u'\t' || p[k] == u'\n' ||
                p[k] == u'\r')
                continue;
            entity = QLatin1String("&#xFFFD;");
        }
        out.append(p + plain, k - plain);
        out += entity;
        plain = k + 1;
    }
    out.append(p + plain, n - plain);
}

QString siteEscaped(QStringView text) {
    QString out;
    out.reserve(text.size());
    appendSiteEscaped(out, text);
    return out;
}

QString siteCodeHtml(QStringView tagged, const SiteLinkOf& linkOf, const QHash<int, QStringList>& routineAnchors) {
    QString out;
    out.reserve(tagged.size() * 2);
    SiteCodeSink sink(out, linkOf, routineAnchors);
    readTagged(tagged, sink);
    sink.finish();
    return out;
}

}  // namespace lumo
