#pragma once
// A web page written straight as the UTF-8 bytes of its file. The pages of
// a large project come to many megabytes in hundreds of thousands of small
// pieces; through a QString each piece would cost more than its bytes, and
// the whole page would be converted once more at the end.
#include <cstring>

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace lumo {

class PageBytes {
public:
    explicit PageBytes(qsizetype expected = 4096);

    // Markup as it is: ASCII, or UTF-8 made before.
    template <size_t N>
    void add(const char (&ascii)[N]) {
        addBytes(ascii, qsizetype(N - 1));
    }
    void add(QByteArrayView bytes) { addBytes(bytes.data(), bytes.size()); }
    void add(char c) {
        room(1);
        *at_++ = c;
    }
    void addNumber(qint64 n);
    // Text and attribute values for HTML5 in UTF-8: "&", "<", ">" and the
    // quote as entities, control characters (but tab and line breaks) as
    // U+FFFD.
    void addEscaped(QStringView text);
    // Text inside a JavaScript string literal: the quote and the backslash
    // after a backslash, control characters as \u00XX.
    void addJsText(QStringView text);

    qsizetype byteCount() const { return at_ - begin_; }
    QByteArrayView bytes() const { return {begin_, byteCount()}; }
    // Empty again, keeping the room: one buffer serves page after page.
    void clear() { at_ = begin_; }
    QByteArray take();

private:
    void addBytes(const char* p, qsizetype n) {
        room(n);
        std::memcpy(at_, p, size_t(n));
        at_ += n;
    }
    void room(qsizetype n) {
        if (end_ - at_ < n) grow(n);
    }
    void grow(qsizetype n);
    // One UTF-16 unit that is no ASCII at p[k] (a pair of surrogates
    // taken whole), as toUtf8 writes it; returns the units read.
    qsizetype encode(const QChar* p, qsizetype k, qsizetype n);

    QByteArray data_;
    char* begin_ = nullptr;
    char* at_ = nullptr;
    char* end_ = nullptr;
};

// A text escaped as PageBytes::addEscaped escapes it.
QByteArray escapedBytes(QStringView text);

}  // namespace lumo
