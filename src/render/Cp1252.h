#pragma once
// Windows-1252, the code page RTF's \ansi declares: bytes 0x80..0x9F carry
// typographic characters, the rest equals Latin-1.
#include <QChar>

namespace lumo::cp1252 {

// The character of one byte of the code page (undefined bytes give U+FFFD).
char16_t toUnicode(unsigned char byte);
// The byte of a character, or -1 when the code page cannot represent it.
int fromUnicode(char16_t ch);

}  // namespace lumo::cp1252
