#include "acquire/VbaDecompress.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lumo {

namespace {

constexpr std::size_t kChunkSize = 4096;
constexpr unsigned kChunkSignature = 0b011;

}  // namespace

bool decompressVba(const unsigned char* data, std::size_t size, QByteArray& out, QString* error,
                   std::size_t limit) {
    std::size_t written = 0;
    auto fail = [&](const QString& why) {
        out.resize(static_cast<qsizetype>(written));
        if (error) *error = why;
        return false;
    };
    auto tooLarge = [&] {
        return fail(QStringLiteral("Der entpackte Text wäre größer als %1 MB.").arg(limit / (1024 * 1024)));
    };

    out.clear();
    if (size == 0 || data[0] != 0x01)
        return fail(QStringLiteral("Der komprimierte Datenstrom beginnt nicht mit der Signatur 0x01."));

    // Source text compresses to roughly a third; start there and grow.
    out.resize(static_cast<qsizetype>(std::min(limit, size * 3 + kChunkSize)));

    std::size_t pos = 1;
    bool lastChunkShort = false;
    while (pos + 2 <= size) {
        const unsigned header = data[pos] | (unsigned(data[pos + 1]) << 8);
        if (((header >> 12) & 0x7) != kChunkSignature) {
            // Only the last chunk may decompress to less than 4096 bytes, so
            // after a short one the container has ended; what follows is not
            // part of it (real files carry such leftovers).
            if (written > 0 && lastChunkShort) break;
            return fail(QStringLiteral("Ein komprimierter Block hat einen ungültigen Kopf (Byte %1).").arg(pos));
        }
        const std::size_t chunkEnd = std::min(size, pos + (header & 0x0FFF) + 3);
        const bool compressed = (header & 0x8000) != 0;
        pos += 2;

        // Room for one whole chunk, growing geometrically up to the limit.
        if (std::size_t(out.size()) - written < kChunkSize && std::size_t(out.size()) < limit)
            out.resize(static_cast<qsizetype>(
                std::min(limit, std::max<std::size_t>(std::size_t(out.size()) * 2, written + kChunkSize))));
        const std::size_t room = std::min<std::size_t>(kChunkSize, std::size_t(out.size()) - written);
        unsigned char* const chunkStart = reinterpret_cast<unsigned char*>(out.data()) + written;

        if (!compressed) {
            const std::size_t n = std::min(chunkEnd - pos, kChunkSize);
            if (n > room) return tooLarge();
            std::memcpy(chunkStart, data + pos, n);
            written += n;
            lastChunkShort = n < kChunkSize;
            pos = chunkEnd;
            continue;
        }

        unsigned char* const base = reinterpret_cast<unsigned char*>(out.data());
        unsigned char* const bufferEnd = base + out.size();
        unsigned char* dst = chunkStart;
        unsigned char* const chunkLimit = chunkStart + room;
        bool overflow = false;
        while (pos < chunkEnd && !overflow) {
            const unsigned flags = data[pos++];
            // Eight literals in a row, the common case in source text.
            if (flags == 0 && chunkEnd - pos >= 8 && chunkLimit - dst >= 8) {
                std::memcpy(dst, data + pos, 8);
                dst += 8;
                pos += 8;
                continue;
            }
            for (int bit = 0; bit < 8 && pos < chunkEnd; ++bit) {
                if (!(flags & (1u << bit))) {
                    if (dst == chunkLimit) {
                        overflow = true;
                        break;
                    }
                    *dst++ = data[pos++];
                    continue;
                }
                written = std::size_t(dst - base);
                if (pos + 2 > chunkEnd)
                    return fail(QStringLiteral("Ein komprimierter Block endet mitten in einem Kopierbefehl."));
                const unsigned token = data[pos] | (unsigned(data[pos + 1]) << 8);
                pos += 2;
                const std::size_t done = std::size_t(dst - chunkStart);
                if (done == 0)
                    return fail(QStringLiteral("Ein komprimierter Block beginnt mit einem Kopierbefehl."));
                // The split between offset and length moves with the chunk position.
                const int bitCount = std::max(4, int(std::bit_width(done - 1)));
                const unsigned lengthMask = 0xFFFFu >> bitCount;
                const std::size_t offset = (token >> (16 - bitCount)) + 1;
                const std::size_t length = (token & lengthMask) + 3;
                if (offset > done)
                    return fail(QStringLiteral("Ein Kopierbefehl verweist vor den Anfang des Blocks."));
                if (length > std::size_t(chunkLimit - dst)) {
                    overflow = true;
                    break;
                }
                const unsigned char* src = dst - offset;
                if (offset >= length && length <= 16 && bufferEnd - dst >= 16) {
                    // Most copies are short: one fixed-size move, whose
                    // surplus bytes lie in the buffer beyond the text and are
                    // overwritten by what follows.
                    unsigned char piece[16];
                    std::memcpy(piece, src, 16);
                    std::memcpy(dst, piece, 16);
                } else if (offset >= length) {
                    std::memcpy(dst, src, length);
                } else if (offset == 1) {
                    std::memset(dst, *src, length);  // a run of one character, typically blanks
                } else {
                    for (std::size_t k = 0; k < length; ++k) dst[k] = src[k];
                }
                dst += length;
            }
        }
        written = std::size_t(dst - base);
        if (overflow) {
            if (room < kChunkSize) return tooLarge();
            return fail(QStringLiteral("Ein komprimierter Block ergibt mehr als 4096 Bytes."));
        }
        lastChunkShort = std::size_t(dst - chunkStart) < kChunkSize;
        pos = chunkEnd;
    }
    out.resize(static_cast<qsizetype>(written));
    return true;
}

bool looksLikeContainer(const unsigned char* data, std::size_t size) {
    return size >= 3 && data[0] == 0x01 && ((data[2] >> 4) & 0x7) == kChunkSignature;
}

qsizetype findSourceContainer(const unsigned char* data, std::size_t size) {
    // 01, chunk header (compressed), flag byte 00, eight literals "Attribut".
    static constexpr unsigned char kLiterals[] = {'A', 't', 't', 'r', 'i', 'b', 'u', 't'};
    for (std::size_t i = 0; i + 4 + sizeof kLiterals <= size; ++i) {
        if (data[i] != 0x01 || (data[i + 2] & 0xF0) != 0xB0 || data[i + 3] != 0x00) continue;
        if (std::memcmp(data + i + 4, kLiterals, sizeof kLiterals) == 0) return qsizetype(i);
    }
    return -1;
}

}  // namespace lumo
