#pragma once
// The identifier under the caret, for the definition and caller lookups.
#include <QString>

namespace lumo {

// Exactly 0-9, A-Z, a-z, "_", Ä Ö Ü ä ö ü and ß (70 characters); no other letter, no point,
// no type-declaration suffix.
bool isIdentChar(QChar c);

// The identifier that contains the character just before the caret (caret:
// the number of characters before it, line breaks counting two), or "".
QString wordAtCaret(const QString& text, int caret);

}  // namespace lumo
