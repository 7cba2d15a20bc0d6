#pragma once
// Where a name stands in a stored text's UTF-8, without decoding it: every
// occurrence not inside a longer name, ASCII letters compared without case
// (names differ from their uses only by case, never by other letters).
// Comments and strings are not told apart here; the caller reads the lines
// found.
#include <algorithm>

#include <QByteArrayView>

#include "base/ByteSearch.h"
#include "model/Tags.h"

namespace lumo {

// Whether byte `at` of a stored text stands in a comment or a string
// literal of its line, read from the tags before it on the line: such an
// occurrence is no name, and its line need not be decoded to know it.
inline bool inTaggedLiteral(QByteArrayView bytes, qsizetype at) {
    const char* p = bytes.data();
    qsizetype i = at;
    while (i > 0 && p[i - 1] != '\n') --i;
    bool inside = false;
    for (; i + taglayout::kKeptTagBytes <= at; ++i) {
        if (p[i] != '|') continue;
        TagKind kind;
        if (!taglayout::keptTagAt(p, bytes.size(), i, kind)) continue;
        if (kind == TagKind::Comment) return true;  // to the end of the line
        if (kind == TagKind::String) inside = true;
        else if (kind == TagKind::Close) inside = false;
        i += taglayout::kKeptTagBytes - 1;
    }
    return inside;
}

// Calls f(offset) for each occurrence of `name` (UTF-8) in bytes [from, to).
template <class F>
void forEachNameInBytes(QByteArrayView bytes, QByteArrayView name, qsizetype from, qsizetype to, F f) {
    const qsizetype n = name.size();
    if (n == 0) return;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* w = reinterpret_cast<const unsigned char*>(name.data());
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; };
    // A byte that continues a name: ASCII letters, digits, "_" and any byte
    // of a character beyond ASCII (letters of other scripts).
    auto nameByte = [](unsigned char c) {
        return c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    };
    const unsigned char first = lower(w[0]);
    const unsigned char firstUpper = (first >= 'a' && first <= 'z') ? static_cast<unsigned char>(first - 32) : first;
    const qsizetype last = std::min(to, bytes.size()) - n;
    auto upper = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; };
    const unsigned char second = n > 1 ? lower(w[1]) : 0;
    for (qsizetype i = from; i <= last; ++i) {
        i = n > 1 ? findEitherPair(bytes.data(), i, last + 2, char(first), char(firstUpper), char(second), char(upper(second)))
                  : findEitherByte(bytes.data(), i, last + 1, char(first), char(firstUpper));
        if (i > last) break;
        qsizetype k = 1;
        while (k < n && lower(b[i + k]) == lower(w[k])) ++k;
        if (k < n) continue;
        if (i > 0 && nameByte(b[i - 1])) continue;
        if (i + n < bytes.size() && nameByte(b[i + n])) continue;
        f(i);
        i += n - 1;
    }
}

}  // namespace lumo
