#include "export/site/PageBytes.h"

#include <algorithm>
#include <array>

#include "base/ByteSearch.h"

namespace lumo {

namespace {

// What an ASCII character becomes in escaped text: nothing (0, it stays),
// or the entity with this number in kEntities.
constexpr QByteArrayView kEntities[] = {{}, "&amp;", "&lt;", "&gt;", "&quot;", "&#xFFFD;"};
constexpr qsizetype kLongestEntity = 8;

// The printable ASCII characters that are escaped.
constexpr AsciiStops kPlainStops = {u'"', u'&', u'<', u'>'};

const std::array<unsigned char, 128> kAsciiEntity = [] {
    std::array<unsigned char, 128> t{};
    for (int c = 0; c < 0x20; ++c) t[size_t(c)] = 5;
    t[u'\t'] = t[u'\n'] = t[u'\r'] = 0;
    t[0x7F] = 5;
    t[u'&'] = 1;
    t[u'<'] = 2;
    t[u'>'] = 3;
    t[u'"'] = 4;
    return t;
}();

}  // namespace

PageBytes::PageBytes(qsizetype expected) {
    data_.resize(std::max<qsizetype>(expected, 64));
    begin_ = at_ = data_.data();
    end_ = begin_ + data_.size();
}

void PageBytes::grow(qsizetype n) {
    const qsizetype used = byteCount();
    data_.resize(std::max(2 * data_.size(), used + n));
    begin_ = data_.data();
    at_ = begin_ + used;
    end_ = begin_ + data_.size();
}

QByteArray PageBytes::take() {
    data_.truncate(byteCount());
    begin_ = at_ = end_ = nullptr;
    return std::move(data_);
}

void PageBytes::addNumber(qint64 n) {
    // Two digits at a time: line numbers go out twice for every call listed.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    room(21);
    if (n < 0) *at_++ = '-';
    quint64 u = n < 0 ? 0 - quint64(n) : quint64(n);
    int digits = u < 10 ? 1 : u < 100 ? 2 : u < 1000 ? 3 : u < 10000 ? 4 : 5;
    for (quint64 v = u / 100000; v != 0; v /= 10) ++digits;
    at_ += digits;
    char* d = at_;
    for (; u >= 100; u /= 100) {
        d -= 2;
        std::memcpy(d, kPairs + 2 * (u % 100), 2);
    }
    if (u >= 10) std::memcpy(d - 2, kPairs + 2 * u, 2);
    else *--d = char('0' + u);
}

qsizetype PageBytes::encode(const QChar* p, qsizetype k, qsizetype n) {
    const char16_t u = p[k].unicode();
    auto* out = reinterpret_cast<unsigned char*>(at_);
    if (u < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (u >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (u & 0x3F));
        at_ += 2;
        return 1;
    }
    if (!QChar::isSurrogate(u)) {
        out[0] = static_cast<unsigned char>(0xE0 | (u >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (u & 0x3F));
        at_ += 3;
        return 1;
    }
    // A surrogate without its partner is written as toUtf8 writes it: "?".
    if (!QChar::isHighSurrogate(u) || k + 1 >= n || !QChar::isLowSurrogate(p[k + 1].unicode())) {
        *at_++ = '?';
        return 1;
    }
    const char32_t c = QChar::surrogateToUcs4(u, p[k + 1].unicode());
    out[0] = static_cast<unsigned char>(0xF0 | (c >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    at_ += 4;
    return 2;
}

void PageBytes::addEscaped(QStringView text) {
    const QChar* p = text.data();
    const qsizetype n = text.size();
    room(kLongestEntity * n);
    for (qsizetype k = 0; k < n;) {
        // Eight units of plain ASCII that need no escape go out as they
        // are; the code of a page is mostly such text.
        if (n - k >= 8) {
            const qsizetype copied = copyPrintableAscii(reinterpret_cast<const char16_t*>(p + k), n - k, at_, kPlainStops);
            at_ += copied;
            k += copied;
        }
        // The units that stopped it (or the last few) one by one.
        for (const qsizetype stop = std::min(n, k + 8); k < stop;) {
            const char16_t u = p[k].unicode();
            if (u >= 0x80) {
                k += encode(p, k, n);
                continue;
            }
            if (const unsigned char e = kAsciiEntity[u]) {
                std::memcpy(at_, kEntities[e].data(), size_t(kEntities[e].size()));
                at_ += kEntities[e].size();
            } else {
                *at_++ = char(u);
            }
            ++k;
        }
    }
}

void PageBytes::addJsText(QStringView text) {
    const QChar* p = text.data();
    const qsizetype n = text.size();
    room(6 * n);
    for (qsizetype k = 0; k < n;) {
        const char16_t u = p[k].unicode();
        if (u >= 0x80) {
            k += encode(p, k, n);
            continue;
        }
        if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            const char escape[] = {'\\', 'u', '0', '0', kHex[u >> 4], kHex[u & 15]};
            std::memcpy(at_, escape, sizeof escape);
            at_ += sizeof escape;
        } else {
            if (u == u'"' || u == u'\\') *at_++ = '\\';
            *at_++ = char(u);
        }
        ++k;
    }
}

QByteArray escapedBytes(QStringView text) {
    PageBytes out(text.size() + 16);
    out.addEscaped(text);
    return out.take();
}

}  // namespace lumo
