#include "base/TextHelpers.h"

#include <cmath>

namespace lumo {

QString afterLast(const QString& text, const QString& separator) {
    if (separator.isEmpty()) return text;
    const qsizetype at = text.lastIndexOf(separator, -1, Qt::CaseInsensitive);
    if (at < 0) return text;
    return text.mid(at + separator.size());
}

QString beforeFirst(const QString& text, const QString& separator) {
    if (separator.isEmpty()) return text;
    const qsizetype at = text.indexOf(separator, 0, Qt::CaseInsensitive);
    if (at < 0) return text;
    return text.left(at);
}

QString fileNamePart(const QString& path) { return afterLast(path, QStringLiteral("/")); }

double leadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) ++i;
    bool digits = false, point = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0.0;
    bool ok = false;
    const double v = text.mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

qint64 leadingInteger(const QString& text, qint64 lo, qint64 hi) {
    const double v = std::nearbyint(leadingNumber(text));  // default rounding: halves to even
    if (v <= double(lo)) return lo;
    if (v >= double(hi)) return hi;
    return qint64(v);
}

QString visibleControls(const QString& text) {
    const auto isControl = [&text](qsizetype i) {
        const char16_t c = text[i].unicode();
        if (c == u'\t' || c == u'\n' || (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) return false;
        return c < 0x20 || (c >= 0x7F && c <= 0x9F);
    };
    qsizetype i = 0;
    while (i < text.size() && !isControl(i)) ++i;
    if (i == text.size()) return text;  // the usual case: nothing to show, nothing copied
    QString out = text.first(i);
    for (; i < text.size(); ++i) {
        if (!isControl(i)) {
            out += text[i];
            continue;
        }
        static constexpr char kHex[] = "0123456789ABCDEF";
        const char16_t c = text[i].unicode();  // below 0xA0: two digits
        out += QLatin1String("\\x");
        out += QLatin1Char(kHex[c >> 4]);
        out += QLatin1Char(kHex[c & 15]);
    }
    return out;
}

QString replaceAll(QStringView text, QStringView before, QStringView after) {
    if (before.isEmpty()) return text.toString();
    QString out;
    qsizetype from = 0;
    qsizetype hit = text.indexOf(before, from);
    if (hit < 0) return text.toString();
    out.reserve(text.size() + (after.size() > before.size() ? text.size() / 8 : 0));
    while (hit >= 0) {
        out.append(text.sliced(from, hit - from));
        out.append(after);
        from = hit + before.size();
        hit = text.indexOf(before, from);
    }
    out.append(text.sliced(from));
    return out;
}

}  // namespace lumo
