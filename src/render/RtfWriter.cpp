#include "render/RtfWriter.h"

#include <algorithm>

#include "render/Cp1252.h"

namespace lumo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr int kTextFont = 3;        // the font number the dialect writes text in
constexpr int kFirstExtraFont = 5;  // fonts beyond the fixed table start here

QString colorEntry(const RtfColor& c) {
    return QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red).arg(c.green).arg(c.blue);
}

class Writer {
public:
    Writer(const RtfContent& c, RtfChars chars) : c_(c), chars_(chars) {
        baseName_ = c.fontName(c.base.font);
        if (baseName_.isEmpty()) baseName_ = QStringLiteral("MS Sans Serif");
    }

    QString document(int from, int to) {
        QString body = this->body(from, to);
        QString out;
        out.reserve(body.size() + 600);
        out += QStringLiteral("{\\rtf1\\ansi\\deff0\\deftab%1{\\fonttbl{\\f0\\fswiss MS Sans Serif;}").arg(c_.defaultTabTwips);
        out += kCrLf;
        out += QStringLiteral("{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss ");
        out += escapedName(baseName_);
        out += QStringLiteral(";}{\\f4\\fswiss\\fprq2 System;}");
        for (auto it = extraFonts_.cbegin(); it != extraFonts_.cend(); ++it)
            out += QStringLiteral("{\\f%1\\fnil %2;}").arg(it.value()).arg(escapedName(it.key()));
        out += u'}';
        out += kCrLf;
        out += QStringLiteral("{\\colortbl");
        const QVector<RtfColor> colors = c_.colors.isEmpty() ? QVector<RtfColor>{RtfColor{}} : c_.colors;
        for (const RtfColor& col : colors) out += colorEntry(col);
        out += u'}';
        out += kCrLf;
        out += QStringLiteral("\\deflang1031\\pard\\li%1").arg(c_.leftIndentTwips);
        for (int t : c_.tabStopsTwips) out += QStringLiteral("\\tx%1").arg(t);
        out += QStringLiteral("\\plain\\f3\\fs%1 ").arg(c_.base.halfPoints);
        out += body;
        out += u'}';
        return out;
    }

private:
    QString body(int from, int to) {
        from = std::clamp(from, 0, int(c_.text.size()));
        to = std::clamp(to, from, int(c_.text.size()));
        QString out;
        out.reserve((to - from) * 5 / 4 + 16);
        // "\plain\f3\fsN " leaves plain colour, no bold, the text font.
        RtfCharFormat cur{0, false, c_.base.font, c_.base.halfPoints};
        // Find the first run touching 'from' by bisection: runs are sorted.
        auto it = std::upper_bound(c_.runs.cbegin(), c_.runs.cend(), from,
                                   [](int pos, const RtfRun& r) { return pos < r.start; });
        if (it != c_.runs.cbegin()) --it;
        const QChar* text = c_.text.constData();
        for (; it != c_.runs.cend() && it->start < to; ++it) {
            const int a = std::max(from, it->start);
            const int b = std::min(to, it->start + it->length);
            if (a >= b) continue;
            switchFormat(out, cur, it->format);
            for (int i = a; i < b; ++i) character(out, text[i].unicode());
        }
        return out;
    }

    void switchFormat(QString& out, RtfCharFormat& cur, const RtfCharFormat& next) {
        if (next.font != cur.font) {
            out += QStringLiteral("\\f%1 ").arg(fontNumber(next.font));
        }
        if (next.halfPoints != cur.halfPoints) out += QStringLiteral("\\fs%1 ").arg(next.halfPoints);
        if (next.color != cur.color) out += QStringLiteral("\\cf%1 ").arg(next.color);
        if (next.bold != cur.bold) out += next.bold ? QStringLiteral("\\b ") : QStringLiteral("\\b0 ");
        cur = next;
    }

    // The base font is always \f3 in the output; other fonts get numbers
    // from 5 upwards, one per name.
    int fontNumber(int font) {
        const QString name = c_.fontName(font);
        if (font == c_.base.font || name == baseName_) return kTextFont;
        const QString key = name.isEmpty() ? QStringLiteral("MS Sans Serif") : name;
        auto found = extraFonts_.constFind(key);
        if (found != extraFonts_.cend()) return found.value();
        const int n = kFirstExtraFont + int(extraFonts_.size());
        extraFonts_.insert(key, n);
        return n;
    }

    void character(QString& out, char16_t ch) {
        switch (ch) {
        case u'\\': out += QStringLiteral("\\\\"); return;
        case u'{': out += QStringLiteral("\\{"); return;
        case u'}': out += QStringLiteral("\\}"); return;
        case u'\t': out += QStringLiteral("\\tab "); return;
        case u'\n': out += QStringLiteral("\r\n\\par "); return;
        default: break;
        }
        if (ch < 128 || chars_ == RtfChars::AsIs) { out += QChar(ch); return; }
        const int byte = cp1252::fromUnicode(ch);
        if (byte >= 0) {
            out += QStringLiteral("\\'%1").arg(byte, 2, 16, QLatin1Char('0'));
        } else {
            // \u takes a signed 16-bit number; '?' is the fallback for old readers.
            out += QStringLiteral("\\u%1?").arg(int(static_cast<qint16>(ch)));
        }
    }

    QString escapedName(const QString& name) {
        QString out;
        for (QChar ch : name) {
            if (ch == u';' || ch == u'{' || ch == u'}' || ch == u'\\') continue;
            character(out, ch.unicode());
        }
        return out;
    }

    const RtfContent& c_;
    RtfChars chars_;
    QString baseName_;
    QMap<QString, int> extraFonts_;
};

}  // namespace

QString writeRtf(const RtfContent& content, int from, int to, RtfChars chars) {
    return Writer(content, chars).document(from, to);
}

}  // namespace lumo
