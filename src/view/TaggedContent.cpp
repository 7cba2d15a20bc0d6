#include "view/TaggedContent.h"

#include "model/Tags.h"
#include "view/RtfReader.h"
#include "view/RtfRenderer.h"

namespace lumo {

namespace {

enum class TagKind { None, Close, Comment, Keyword, String, LineOpen, LineClose };

// The tag starting at i, if any. Every kept tag is four characters: "|", two
// characters one of which is the marker, "|".
TagKind tagAt(const QChar* p, qsizetype n, qsizetype i) {
    if (i + 3 >= n || p[i] != u'|' || p[i + 3] != u'|') return TagKind::None;
    const char16_t a = p[i + 1].unicode();
    const char16_t b = p[i + 2].unicode();
    if (a == kMarkerChar) {
        switch (b) {
        case u'k': return TagKind::Comment;
        case u'f': return TagKind::Keyword;
        case u's': return TagKind::String;
        case u'x': return TagKind::LineOpen;
        default: return TagKind::None;
        }
    }
    if (b == kMarkerChar) {
        if (a == u'n') return TagKind::Close;
        if (a == u'y') return TagKind::LineClose;
    }
    return TagKind::None;
}

// What the reader makes of a character it shows: paragraph and frame marks
// would break the one-character-per-position agreement with the view.
char16_t textSafe(char16_t c) {
    if (c == u'\r' || c == 0 || c == 0x2028 || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC) return u' ';
    return c;
}

RtfContent byRtf(const QString& tagged, const Options& options) {
    QString rtf = tagged;
    taggedToRtf(rtf, options);
    wrapRtfDocument(rtf, options);
    return readRtf(rtf);
}

}  // namespace

RtfContent taggedToContent(const QString& tagged, const Options& options) {
    // The head (fonts, colours, tab stops, the starting format) is whatever
    // the reader makes of the renderer's head.
    // One character shows the format in force where the body begins.
    QString probe = QStringLiteral("x");
    wrapRtfDocument(probe, options);
    RtfContent c = readRtf(probe);
    RtfCharFormat format = c.runs.isEmpty() ? c.base : c.runs.first().format;
    c.text.clear();
    c.runs.clear();

    const QChar* p = tagged.constData();
    const qsizetype n = tagged.size();
    c.text.reserve(n);
    // Characters between tags and line breaks go over as whole spans: one
    // run extended or opened per span instead of per character.
    auto appendSpan = [&](const QChar* from, qsizetype len) {
        if (len == 0) return;
        const int pos = int(c.text.size());
        c.text.append(from, len);
        if (!c.runs.isEmpty() && c.runs.last().format == format)
            c.runs.last().length += int(len);
        else
            c.runs.push_back(RtfRun{pos, int(len), format});
    };
    auto special = [](char16_t ch) {
        return ch == u'|' || ch == u'\r' || ch == u'\n' || textSafe(ch) != ch;
    };
    for (qsizetype i = 0; i < n;) {
        const TagKind kind = tagAt(p, n, i);
        if (kind != TagKind::None) {
            // Two tags sharing their "|": the renderer replaces them one kind
            // after the other, and which one wins depends on that order.
            if (tagAt(p, n, i + 3) != TagKind::None) return byRtf(tagged, options);
            switch (kind) {
            case TagKind::Close: format.color = 0; break;
            case TagKind::Keyword: format.color = 1; break;
            case TagKind::Comment: format.color = 2; break;
            case TagKind::String: format.color = 3; break;
            case TagKind::LineOpen: if (options.rouf) format.bold = true; break;
            case TagKind::LineClose: if (options.rouf) format.bold = false; break;
            case TagKind::None: break;
            }
            i += 4;
            continue;
        }
        const char16_t ch = p[i].unicode();
        if (ch == u'\r' && i + 1 < n && p[i + 1] == u'\n') {
            const QChar lf(u'\n');
            appendSpan(&lf, 1);
            i += 2;
        } else if (ch == u'\r' || ch == u'\n') {
            ++i;  // a lone line-break character: the reader skips raw breaks
        } else if (special(ch)) {
            const QChar safe(textSafe(ch));
            appendSpan(&safe, 1);
            ++i;
        } else {
            qsizetype j = i + 1;
            while (j < n && !special(p[j].unicode())) ++j;
            appendSpan(p + i, j - i);
            i = j;
        }
    }
    // Without any character the reader ends outside the document's group,
    // with the format it started from.
    c.base = c.runs.isEmpty() ? RtfCharFormat{} : c.runs.first().format;
    return c;
}

}  // namespace lumo
