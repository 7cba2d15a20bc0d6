#include "render/RtfRenderer.h"

#include "model/TaggedText.h"
#include "render/Cp1252.h"

namespace lumo {

namespace {

// Twips per centimetre; tab widths are kept in millimetres.
constexpr qint64 kTwipsPerCm = 567;
constexpr int kTabStops = 10;

qint64 floorDiv(qint64 a, qint64 b) {
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

namespace {

// What every tag and every special character of the text becomes in an RTF
// body. Line breaks become CR LF + "\par " only where CR and LF stand
// together once the tags are gone, so a CR is held back while tags that
// vanish (routine lines without bold) follow it.
class RtfBodySink {
public:
    RtfBodySink(QString& out, const Options& options) : out_(out) {
        for (const TagKind kind : {TagKind::Close, TagKind::Comment, TagKind::Keyword, TagKind::String}) {
            ColourSlot slot;
            colourOfTag(kind, slot);
            tagText_[int(kind)] = QStringLiteral("\\cf%1 ").arg(int(slot));
        }
        if (options.boldRoutineLines) {
            tagText_[int(TagKind::LineOpen)] = QStringLiteral("\\b ");
            tagText_[int(TagKind::LineClose)] = QStringLiteral("\\b0 ");
        }
    }
    void text(QStringView s) {
        const QChar* p = s.data();
        const qsizetype n = s.size();
        qsizetype k = 0;
        if (pendingCR_) {
            pendingCR_ = false;
            if (p[0] == u'\n') {
                out_ += QLatin1String("\r\n\\par ");
                k = 1;
            } else {
                out_ += QLatin1Char('\r');
            }
        }
        qsizetype plain = k;
        for (; k < n; ++k) {
            const char16_t c = p[k].unicode();
            if (c != u'\\' && c != u'{' && c != u'}' && c != u'\t' && c != u'\r') continue;
            out_.append(p + plain, k - plain);
            plain = k + 1;
            switch (c) {
            case u'\\': out_ += QLatin1String("\\\\"); break;
            case u'{': out_ += QLatin1String("\\{"); break;
            case u'}': out_ += QLatin1String("\\}"); break;
            case u'\t': out_ += QLatin1String("\\tab "); break;
            default:  // CR
                if (k + 1 == n) {
                    pendingCR_ = true;
                } else if (p[k + 1] == u'\n') {
                    out_ += QLatin1String("\r\n\\par ");
                    plain = ++k + 1;
                } else {
                    out_ += QLatin1Char('\r');
                }
            }
        }
        out_.append(p + plain, n - plain);
    }
    void tag(TagKind kind) {
        const QString& r = tagText_[int(kind)];
        if (r.isEmpty()) return;
        flush();
        out_ += r;
    }
    void flush() {
        if (pendingCR_) out_ += QLatin1Char('\r');
        pendingCR_ = false;
    }

private:
    QString& out_;
    QString tagText_[kTagKindCount];
    bool pendingCR_ = false;
};

}  // namespace

void taggedToRtf(QString& text, const Options& options) {
    QString out;
    out.reserve(text.size() + text.size() / 4 + 16);
    RtfBodySink sink(out, options);
    readTagged(text, sink);
    sink.flush();
    text = std::move(out);
}

QString rtfColorEntry(qint32 colour) {
    // Integer arithmetic as the colour value has always been taken apart
    // (remainders keep the sign of the value).
    const qint64 v = colour;
    const qint64 red = v % 256;
    const qint64 green = ((v % 65536) - red) / 256;
    const qint64 blue = (v - (v % 65536)) / 65536;
    return QStringLiteral("\\red%1\\green%2\\blue%3;").arg(red).arg(green).arg(blue);
}

void wrapRtfDocument(QString& body, const Options& options) {
    body.prepend(rtfDocumentHead(options));
    body += QLatin1Char('}');
}

QString rtfDocumentHead(const Options& options) {
    QString head;
    head += QLatin1String("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n");
    QString fonts = QStringLiteral(
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss Arial;}{\\f4\\fswiss\\fprq2 System;}}");
    // A font table entry ends at ";" and a group at a brace: a name from a
    // hand-edited settings file must not end it early and open groups of its own.
    QString fontName = options.fontName;
    fontName.removeIf([](QChar c) { return c == u';' || c == u'{' || c == u'}' || c == u'\\' || c.unicode() < 0x20; });
    fonts.replace(QLatin1String("Arial"), fontName);
    head += fonts + QLatin1String("\r\n");
    head += QLatin1String("{\\colortbl\\red0\\green0\\blue0;") + rtfColorEntry(options.keywordColour) +
            rtfColorEntry(options.commentColour) + rtfColorEntry(options.stringColour) + QLatin1String("}\r\n");
    head += QLatin1String("\\deflang1031\\pard\\li105");
    const qint64 step = floorDiv(qint64(options.tabStopMm) * kTwipsPerCm, 10);
    for (int k = 1; k <= kTabStops; ++k) head += QStringLiteral("\\tx%1").arg(k * step);
    head += QStringLiteral("\\plain\\f3\\fs%1 ").arg(2 * int(options.fontSize));
    return head;
}

QByteArray rtfFileBytes(const QString& document) {
    QByteArray out;
    out.reserve(document.size() + document.size() / 8);
    for (QChar c : document) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out += char(u);
            continue;
        }
        const int byte = cp1252::fromUnicode(u);
        if (byte >= 0) {
            out += "\\'";
            out += QByteArray::number(byte, 16).rightJustified(2, '0');
        } else {
            // \u takes a signed 16-bit number, followed by its stand-in character.
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

}  // namespace lumo
