#include "view/RtfRenderer.h"

#include "model/Tags.h"
#include "view/Cp1252.h"

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

void taggedToRtf(QString& text, const Options& options) {
    const Tags& t = tags();
    text.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    text.replace(QLatin1String("{"), QLatin1String("\\{"));
    text.replace(QLatin1String("}"), QLatin1String("\\}"));
    text.replace(t.close, QLatin1String("\\cf0 "));
    text.replace(t.comment, QLatin1String("\\cf2 "));
    text.replace(t.keyword, QLatin1String("\\cf1 "));
    text.replace(t.string, QLatin1String("\\cf3 "));
    text.replace(QLatin1String("\t"), QLatin1String("\\tab "));
    text.replace(t.lineOpen, options.rouf ? QStringLiteral("\\b ") : QString());
    text.replace(t.lineClose, options.rouf ? QStringLiteral("\\b0 ") : QString());
    text.replace(QLatin1String("\r\n"), QLatin1String("\r\n\\par "));
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
    QString head;
    head += QLatin1String("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n");
    QString fonts = QStringLiteral(
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss Arial;}{\\f4\\fswiss\\fprq2 System;}}");
    fonts.replace(QLatin1String("Arial"), options.fontName);
    head += fonts + QLatin1String("\r\n");
    head += QLatin1String("{\\colortbl\\red0\\green0\\blue0;") + rtfColorEntry(options.fkey) +
            rtfColorEntry(options.fkom) + rtfColorEntry(options.fstr) + QLatin1String("}\r\n");
    head += QLatin1String("\\deflang1031\\pard\\li105");
    const qint64 step = floorDiv(qint64(options.tab) * kTwipsPerCm, 10);
    for (int k = 1; k <= kTabStops; ++k) head += QStringLiteral("\\tx%1").arg(k * step);
    head += QStringLiteral("\\plain\\f3\\fs%1 ").arg(2 * int(options.fontSize));
    body.prepend(head);
    body += QLatin1Char('}');
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
