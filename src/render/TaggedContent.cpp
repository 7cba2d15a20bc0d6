#include "render/TaggedContent.h"

#include "base/TextHelpers.h"

#include "model/TaggedText.h"
#include "render/RtfReader.h"
#include "render/RtfRenderer.h"

namespace lumo {

namespace {

// What the reader makes of a character it shows: paragraph and frame marks
// would break the one-character-per-position agreement with the view.
char16_t textSafe(char16_t c) {
    if (c == u'\r' || c == 0 || c == 0x2028 || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC) return u' ';
    return c;
}

bool special(char16_t ch) {
    return ch == u'\r' || ch == u'\n' || textSafe(ch) != ch;
}

// The content the RTF reader would make of the renderer's body: colour and
// bold switched by the tags, CR LF as one line break, lone CR and LF dropped
// (the reader skips raw breaks). As in the RTF body, a CR and an LF make a
// line break when only tags that vanish stand between them.
class ContentSink {
public:
    ContentSink(RtfContent& c, RtfCharFormat format, bool bold) : c_(c), format_(format), bold_(bold) {}

    void text(QStringView s) {
        const QChar* p = s.data();
        const qsizetype n = s.size();
        qsizetype i = 0;
        if (pendingCR_) {
            pendingCR_ = false;
            if (p[0] == u'\n') {
                appendLineBreak();
                i = 1;
            }
        }
        while (i < n) {
            const char16_t ch = p[i].unicode();
            if (ch == u'\r' && i + 1 == n) {
                pendingCR_ = true;
                ++i;
            } else if (ch == u'\r' && p[i + 1] == u'\n') {
                appendLineBreak();
                i += 2;
            } else if (ch == u'\r' || ch == u'\n') {
                ++i;
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
    }

    void tag(TagKind kind) {
        ColourSlot slot;
        if (colourOfTag(kind, slot)) {
            format_.color = int(slot);
        } else if (bold_) {
            format_.bold = kind == TagKind::LineOpen;
        } else {
            return;  // the tag vanishes: a held CR may still meet its LF
        }
        pendingCR_ = false;
    }

private:
    void appendLineBreak() {
        const QChar lf(u'\n');
        appendSpan(&lf, 1);
    }
    // Characters between tags and line breaks go over as whole spans: one
    // run extended or opened per span instead of per character.
    void appendSpan(const QChar* from, qsizetype len) {
        const int pos = int(c_.text.size());
        c_.text.append(from, len);
        if (!c_.runs.isEmpty() && c_.runs.last().format == format_)
            c_.runs.last().length += int(len);
        else
            c_.runs.push_back(RtfRun{pos, int(len), format_});
    }

    RtfContent& c_;
    RtfCharFormat format_;
    bool bold_;
    bool pendingCR_ = false;
};

}  // namespace

RtfContent taggedToContent(const QString& tagged, const Options& options) {
    // The head (fonts, colours, tab stops, the starting format) is whatever
    // the reader makes of the renderer's head.
    // One character shows the format in force where the body begins.
    QString probe = QStringLiteral("x");
    wrapRtfDocument(probe, options);
    RtfContent c = readRtf(probe);
    const RtfCharFormat format = c.runs.isEmpty() ? c.base : c.runs.first().format;
    c.text.clear();
    c.runs.clear();
    c.text.reserve(tagged.size());
    ContentSink sink(c, format, options.boldRoutineLines);
    readTagged(tagged, sink);
    // Without any character the reader ends outside the document's group,
    // with the format it started from.
    c.base = c.runs.isEmpty() ? RtfCharFormat{} : c.runs.first().format;
    return c;
}

QString taggedToText(QStringView tagged) {
    RtfContent c;
    c.text.reserve(tagged.size());
    ContentSink sink(c, RtfCharFormat{}, false);
    readTagged(tagged, sink);
    return c.text;
}

QString taggedToViewText(QStringView tagged) {
    QString text = taggedToText(tagged);
    makeTextSafe(text);
    return replaceAll(text, u"\n", u"\r\n");  // in one pass, as in plainTextOfModule
}

}  // namespace lumo
