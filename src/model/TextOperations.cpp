#include "model/TextOperations.h"

namespace lumo {

bool isIdentChar(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'_')
        return true;
    switch (u) {
    case u'Ä': case u'Ö': case u'Ü': case u'ä': case u'ö': case u'ü': case u'ß':
        return true;
    default:
        return false;
    }
}

QString wordAtCaret(const QString& text, int caret) {
    const qsizetype length = text.size();
    if (caret <= 0 || caret >= length) return {};
    // 0-based index of the character just before the caret.
    const qsizetype n = caret - 1;
    if (!isIdentChar(text.at(n))) return {};
    qsizetype a = n;
    while (a >= 0 && isIdentChar(text.at(a))) --a;
    qsizetype b = n;
    while (b < length && isIdentChar(text.at(b))) ++b;
    return text.mid(a + 1, b - a - 1);
}

}  // namespace lumo
