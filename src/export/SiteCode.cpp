#include "export/SiteCode.h"

#include "model/TaggedText.h"
#include "model/TextOperations.h"

namespace lumo {

namespace {

// Writes lines as elements of their own: a span open at a line's end is
// closed there and opened again on the next line, so that every line can
// be a link target and the markup stays nested.
class SiteCodeSink {
public:
    SiteCodeSink(QString& out, const SiteLinkOf& linkOf, const QHash<int, QStringList>& anchors)
        : out_(out), linkOf_(linkOf), anchors_(anchors) {}

    void text(QStringView s) {
        const qsizetype n = s.size();
        for (qsizetype i = 0; i < n;) {
            const QChar c = s[i];
            if (c == u'\r') {
                ++i;
                continue;
            }
            if (c == u'\n') {
                endLine();
                ++i;
                continue;
            }
            startLine();
            if (slot_ == ColourSlot::Plain && isIdentChar(c)) {
                qsizetype e = i;
                while (e < n && isIdentChar(s[e])) ++e;
                word(s.sliced(i, e - i));
                i = e;
                continue;
            }
            qsizetype e = i;
            while (e < n && s[e] != u'\r' && s[e] != u'\n' && !(slot_ == ColourSlot::Plain && isIdentChar(s[e]))) ++e;
            appendSiteEscaped(out_, s.sliced(i, e - i));
            i = e;
        }
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
        const QString id = QStringLiteral("L") + QString::number(line_);
        out_ += QStringLiteral("<span class=\"z\" id=\"") + id + QStringLiteral("\">");
        for (const QString& a : anchors_.value(line_)) out_ += QStringLiteral("<a id=\"") + siteEscaped(a) + QStringLiteral("\"></a>");
        out_ += QStringLiteral("<a class=\"n\" href=\"#") + id + QStringLiteral("\" data-n=\"") +
                QString::number(line_) + QStringLiteral("\"></a>");
        openElements();
    }

    void endLine() {
        startLine();  // an empty line is a line too
        closeElements();
        // The break inside the line's element: as a block of its own, a
        // line followed by a break outside it would show an empty line.
        out_ += QStringLiteral("\n</span>");
        open_ = false;
        ++line_;
    }

    void openElements() {
        if (bold_) out_ += QStringLiteral("<span class=\"r\">");
        switch (slot_) {
        case ColourSlot::Keyword: out_ += QStringLiteral("<span class=\"k\">"); break;
        case ColourSlot::Comment: out_ += QStringLiteral("<span class=\"c\">"); break;
        case ColourSlot::String: out_ += QStringLiteral("<span class=\"s\">"); break;
        case ColourSlot::Plain: break;
        }
    }

    void closeElements() {
        if (slot_ != ColourSlot::Plain) out_ += QStringLiteral("</span>");
        if (bold_) out_ += QStringLiteral("</span>");
    }

    void word(QStringView w) {
        const QString href = linkOf_(w.toString(), line_);
        if (href.isEmpty()) {
            appendSiteEscaped(out_, w);
            return;
        }
        out_ += QStringLiteral("<a href=\"") + siteEscaped(href) + QStringLiteral("\">");
        appendSiteEscaped(out_, w);
        out_ += QStringLiteral("</a>");
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
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        default: out += c;
        }
    }
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
