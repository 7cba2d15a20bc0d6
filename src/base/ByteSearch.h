#pragma once
// Searches over raw bytes and UTF-16 units, sixteen bytes at a time where the
// processor allows: the project-wide searches, the readers of tagged text and
// of module text and the page writers run them over every character of a
// project and must not cost much more than reading it. The only place of
// the program that speaks to the processor's vector unit; each search has
// its plain definition in `plain::`, which the vector one must match.
#include <QByteArrayView>

#include <array>
#include <bit>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define LUMO_BYTES_SSE2 1
#endif

namespace lumo {

// Appends the start of every occurrence of `needle` in `haystack`,
// overlapping ones included, in ascending order. An empty needle has none.
void findAllOccurrences(QByteArrayView haystack, QByteArrayView needle, std::vector<qsizetype>& out);

// How often `byte` occurs in [from, to).
qsizetype countByte(const char* from, const char* to, char byte);

// Up to four ASCII characters a copy stops at; unused places hold 0, which
// stops it anyway.
using AsciiStops = std::array<char16_t, 4>;

namespace plain {

inline qsizetype findByte(const char* p, qsizetype from, qsizetype n, char byte) {
    for (; from < n; ++from)
        if (p[from] == byte) return from;
    return n;
}

inline qsizetype findEitherByte(const char* p, qsizetype from, qsizetype n, char a, char b) {
    for (; from < n; ++from)
        if (p[from] == a || p[from] == b) return from;
    return n;
}

inline qsizetype findEitherPair(const char* p, qsizetype from, qsizetype n, char a0, char b0, char a1, char b1) {
    for (; from + 1 < n; ++from)
        if ((p[from] == a0 || p[from] == b0) && (p[from + 1] == a1 || p[from + 1] == b1)) return from;
    return n;
}

inline qsizetype findLineBreak(const char16_t* p, qsizetype from, qsizetype n) {
    for (; from < n; ++from)
        if (p[from] == u'\r' || p[from] == u'\n') return from;
    return n;
}

inline qsizetype findOutsidePrintableAscii(const char* p, qsizetype from, qsizetype n) {
    for (; from < n; ++from)
        // A byte from 0x80 up is out whether char is signed (below 0) or not (above "~").
        if (p[from] < 0x20 || p[from] > 0x7E) return from;
    return n;
}

// From p[from]: each carriage return followed by a line feed and each line
// feed after a carriage return (the one at `from` after p[from - 1]).
inline bool onlyCrLfPairs(const char* p, qsizetype from, qsizetype n) {
    if (from == 0 && n > 0 && p[0] == '\n') return false;
    for (qsizetype j = from; j < n; ++j)
        if ((p[j] == '\r') != (j + 1 < n && p[j + 1] == '\n')) return false;
    return true;
}

inline bool isCopiedAscii(char16_t u, const AsciiStops& stops) {
    return u >= 0x20 && u <= 0x7E && u != stops[0] && u != stops[1] && u != stops[2] && u != stops[3];
}

inline qsizetype copyPrintableAscii(const char16_t* p, qsizetype n, char* out, const AsciiStops& stops) {
    qsizetype k = 0;
    for (; k + 8 <= n; k += 8) {
        for (qsizetype j = k; j < k + 8; ++j)
            if (!isCopiedAscii(p[j], stops)) return k;
        for (qsizetype j = k; j < k + 8; ++j) out[j] = char(p[j]);
    }
    return k;
}

void findAllOccurrences(QByteArrayView haystack, QByteArrayView needle, qsizetype from, std::vector<qsizetype>& out);
qsizetype countByte(const char* from, const char* to, char byte);

}  // namespace plain

// The first `byte` in p[from, n), or n. Inline, as the next one is often
// close: the readers of tagged text ask for every tag's "|".
inline qsizetype findByte(const char* p, qsizetype from, qsizetype n, char byte) {
#ifdef LUMO_BYTES_SSE2
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; from + 16 <= n; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
        if (const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted))) return from + std::countr_zero(unsigned(mask));
    }
#endif
    return plain::findByte(p, from, n, byte);
}

// The first `a` or `b` in p[from, n), or n: where a name may begin in
// either case of its first letter.
inline qsizetype findEitherByte(const char* p, qsizetype from, qsizetype n, char a, char b) {
#ifdef LUMO_BYTES_SSE2
    const __m128i wantedA = _mm_set1_epi8(a), wantedB = _mm_set1_epi8(b);
    for (; from + 16 <= n; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, wantedA), _mm_cmpeq_epi8(chunk, wantedB)));
        if (mask != 0) return from + std::countr_zero(unsigned(mask));
    }
#endif
    return plain::findEitherByte(p, from, n, a, b);
}

// The first i in p[from, n - 1) with p[i] `a0` or `b0` and p[i + 1] `a1` or
// `b1`, or n: where a name may begin in either case of its first two letters.
inline qsizetype findEitherPair(const char* p, qsizetype from, qsizetype n, char a0, char b0, char a1, char b1) {
#ifdef LUMO_BYTES_SSE2
    const __m128i wa0 = _mm_set1_epi8(a0), wb0 = _mm_set1_epi8(b0), wa1 = _mm_set1_epi8(a1), wb1 = _mm_set1_epi8(b1);
    for (; from + 17 <= n; from += 16) {
        const __m128i c0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
        const __m128i c1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from + 1));
        const __m128i both = _mm_and_si128(_mm_or_si128(_mm_cmpeq_epi8(c0, wa0), _mm_cmpeq_epi8(c0, wb0)),
                                           _mm_or_si128(_mm_cmpeq_epi8(c1, wa1), _mm_cmpeq_epi8(c1, wb1)));
        if (const int mask = _mm_movemask_epi8(both)) return from + std::countr_zero(unsigned(mask));
    }
#endif
    return plain::findEitherPair(p, from, n, a0, b0, a1, b1);
}

// The first byte in p[from, n) that is not printable ASCII (space to "~"),
// or n: where a copy of code text has more to do than copy.
inline qsizetype findOutsidePrintableAscii(const char* p, qsizetype from, qsizetype n) {
#ifdef LUMO_BYTES_SSE2
    const __m128i belowSpace = _mm_set1_epi8(0x20), tilde = _mm_set1_epi8(0x7E);
    for (; from + 16 <= n; from += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
        // Signed: a byte from 0x80 up is below the space too.
        const __m128i odd = _mm_or_si128(_mm_cmplt_epi8(chunk, belowSpace), _mm_cmpgt_epi8(chunk, tilde));
        if (const int mask = _mm_movemask_epi8(odd)) return from + std::countr_zero(unsigned(mask));
    }
#endif
    return plain::findOutsidePrintableAscii(p, from, n);
}

// Whether every carriage return in p[0, n) is followed by a line feed and
// every line feed follows a carriage return: lines end in CR LF and nowhere else.
inline bool onlyCrLfPairs(const char* p, qsizetype n) {
    qsizetype i = 0;
#ifdef LUMO_BYTES_SSE2
    if (n > 0 && p[0] == '\n') return false;
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    for (; i + 17 <= n; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        if (_mm_movemask_epi8(_mm_xor_si128(_mm_cmpeq_epi8(here, cr), _mm_cmpeq_epi8(next, lf))) != 0) return false;
    }
#endif
    return plain::onlyCrLfPairs(p, i, n);
}

// The first carriage return or line feed in the UTF-16 units p[from, n), or n.
inline qsizetype findLineBreak(const char16_t* p, qsizetype from, qsizetype n) {
#ifdef LUMO_BYTES_SSE2
    const __m128i cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
    for (; from + 8 <= n; from += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf)));
        if (mask != 0) return from + std::countr_zero(unsigned(mask)) / 2;
    }
#endif
    return plain::findLineBreak(p, from, n);
}

// Copies the UTF-16 units p[0, n) to `out` as one byte each, eight at a
// time, for as long as a block of eight holds only printable ASCII (space to
// "~") and none of `stops`; returns how many it copied, a multiple of eight.
// The block that stopped it and the units after it are the caller's. Most
// text of a page is such ASCII and needs no escape.
inline qsizetype copyPrintableAscii(const char16_t* p, qsizetype n, char* out, const AsciiStops& stops) {
#ifdef LUMO_BYTES_SSE2
    const __m128i space = _mm_set1_epi16(0x20), tilde = _mm_set1_epi16(0x7E);
    const __m128i s0 = _mm_set1_epi16(short(stops[0])), s1 = _mm_set1_epi16(short(stops[1])),
                  s2 = _mm_set1_epi16(short(stops[2])), s3 = _mm_set1_epi16(short(stops[3]));
    qsizetype k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
        // Signed: a unit from 0x8000 up is below the space too.
        __m128i odd = _mm_or_si128(_mm_cmplt_epi16(v, space), _mm_cmpgt_epi16(v, tilde));
        odd = _mm_or_si128(odd, _mm_or_si128(_mm_cmpeq_epi16(v, s0), _mm_cmpeq_epi16(v, s1)));
        odd = _mm_or_si128(odd, _mm_or_si128(_mm_cmpeq_epi16(v, s2), _mm_cmpeq_epi16(v, s3)));
        if (_mm_movemask_epi8(odd) != 0) break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + k), _mm_packus_epi16(v, v));
    }
    return k;
#else
    return plain::copyPrintableAscii(p, n, out, stops);
#endif
}

}  // namespace lumo
