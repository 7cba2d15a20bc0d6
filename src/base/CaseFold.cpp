#include "base/CaseFold.h"

namespace lumo {

namespace {

bool isAscii(QStringView s) {
    for (const QChar c : s)
        if (c.unicode() >= 0x80) return false;
    return true;
}

}  // namespace

QString caseFolded(const QString& name) {
    if (!isAscii(name)) return name.toCaseFolded();
    qsizetype i = 0;
    while (i < name.size() && asciiLower(name[i].unicode()) == name[i].unicode()) ++i;
    if (i == name.size()) return name;
    QString out = name;
    for (QChar* c = out.data() + i; c != out.data() + out.size(); ++c) *c = QChar(asciiLower(c->unicode()));
    return out;
}

QString caseFolded(QStringView name) {
    if (!isAscii(name)) return name.toString().toCaseFolded();
    QString out(name.size(), Qt::Uninitialized);
    QChar* to = out.data();
    for (const QChar c : name) *to++ = QChar(asciiLower(c.unicode()));
    return out;
}

QString caseFolded(QStringView name, std::span<char16_t> buffer) {
    if (name.size() > qsizetype(buffer.size())) return name.toString().toCaseFolded();
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0x80) return name.toString().toCaseFolded();
        buffer[size_t(i)] = asciiLower(c);
    }
    return QString::fromRawData(reinterpret_cast<const QChar*>(buffer.data()), name.size());
}

bool sameIgnoringCase(QStringView a, QStringView b) {
    if (a.size() != b.size()) return false;  // then no case makes them equal
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 0x80 || y >= 0x80) return plain::sameIgnoringCase(a, b);
        if (asciiLower(x) != asciiLower(y)) return false;
    }
    return true;
}

}  // namespace lumo
