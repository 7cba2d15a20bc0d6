#include "base/ByteSearch.h"

#include <cstring>

namespace lumo {

void plain::findAllOccurrences(QByteArrayView haystack, QByteArrayView needle, qsizetype from,
                               std::vector<qsizetype>& out) {
    const qsizetype n = haystack.size();
    const qsizetype m = needle.size();
    if (m == 0 || m > n) return;
    const char* h = haystack.data();
    const char* p = needle.data();
    for (qsizetype i = from; i + m <= n; ++i)
        if (h[i] == p[0] && std::memcmp(h + i, p, size_t(m)) == 0) out.push_back(i);
}

qsizetype plain::countByte(const char* from, const char* to, char byte) {
    qsizetype count = 0;
    for (; from < to; ++from) count += *from == byte;
    return count;
}

void findAllOccurrences(QByteArrayView haystack, QByteArrayView needle, std::vector<qsizetype>& out) {
    const qsizetype n = haystack.size();
    const qsizetype m = needle.size();
    if (m == 0 || m > n) return;
    qsizetype i = 0;
#ifdef LUMO_BYTES_SSE2
    const char* h = haystack.data();
    const char* p = needle.data();
    // Candidates are the places where both the needle's first and last byte
    // stand; in code these are few, and only they are compared in full.
    const __m128i first = _mm_set1_epi8(p[0]);
    const __m128i last = _mm_set1_epi8(p[m - 1]);
    for (; i + m - 1 + 16 <= n; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        while (mask) {
            const int bit = std::countr_zero(mask);
            if (std::memcmp(h + i + bit + 1, p + 1, size_t(m > 2 ? m - 2 : 0)) == 0) out.push_back(i + bit);
            mask &= mask - 1;
        }
    }
#endif
    plain::findAllOccurrences(haystack, needle, i, out);
}

qsizetype countByte(const char* from, const char* to, char byte) {
    qsizetype count = 0;
#ifdef LUMO_BYTES_SSE2
    const __m128i wanted = _mm_set1_epi8(byte);
    for (; to - from >= 16; from += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        count += std::popcount(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, wanted))));
    }
#endif
    return count + plain::countByte(from, to, byte);
}

}  // namespace lumo
