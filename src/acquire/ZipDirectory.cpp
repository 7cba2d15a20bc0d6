#include "acquire/ZipDirectory.h"

#include "base/Limits.h"

#include <algorithm>
#include <array>

#include <gsf/gsf-infile.h>

namespace lumo {

namespace {

// Records as the ZIP format lays them out; every number little-endian.
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint32_t kZip64EndOfDirectory = 0x06064b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr qint64 kEndRecordSize = 22;
constexpr qint64 kMaxComment = 0xFFFF;
constexpr qint64 kEntryHeaderSize = 46;

std::uint64_t le(const unsigned char* p, int bytes) {
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

bool readAt(GsfInput* input, qint64 offset, qint64 length, QByteArray& out) {
    out.resize(qsizetype(length));
    if (gsf_input_seek(input, gsf_off_t(offset), G_SEEK_SET)) return false;
    return length == 0 || gsf_input_read(input, size_t(length), reinterpret_cast<guint8*>(out.data())) != nullptr;
}

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

}  // namespace

std::uint32_t crc32Of(const QByteArray& bytes) {
    const auto& table = crcTable();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes) c = table[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::optional<ZipDirectory> ZipDirectory::read(GsfInput* input) {
    struct Rewind {
        GsfInput* in;
        ~Rewind() { gsf_input_seek(in, 0, G_SEEK_SET); }
    } rewind{input};
    const qint64 size = gsf_input_size(input);
    if (size < kEndRecordSize) return std::nullopt;
    const qint64 tailSize = std::min(size, kEndRecordSize + kMaxComment);
    QByteArray tail;
    if (!readAt(input, size - tailSize, tailSize, tail)) return std::nullopt;
    const auto* t = reinterpret_cast<const unsigned char*>(tail.constData());
    qint64 end = -1;
    for (qint64 i = tailSize - kEndRecordSize; i >= 0; --i)
        if (le(t + i, 4) == kEndOfDirectory) {
            end = i;
            break;
        }
    if (end < 0) return std::nullopt;
    std::uint64_t entries = le(t + end + 10, 2);
    std::uint64_t dirSize = le(t + end + 12, 4);
    std::uint64_t dirOffset = le(t + end + 16, 4);
    if (entries == 0xFFFF || dirSize == 0xFFFFFFFF || dirOffset == 0xFFFFFFFF) {
        // ZIP64: the locator just before the end record points at the real one.
        const qint64 locator = size - tailSize + end - 20;
        QByteArray loc, rec;
        if (locator < 0 || !readAt(input, locator, 20, loc)) return std::nullopt;
        const auto* l = reinterpret_cast<const unsigned char*>(loc.constData());
        if (le(l, 4) != kZip64Locator) return std::nullopt;
        const std::uint64_t at = le(l + 8, 8);
        if (at > std::uint64_t(size) - 56 || !readAt(input, qint64(at), 56, rec)) return std::nullopt;
        const auto* r = reinterpret_cast<const unsigned char*>(rec.constData());
        if (le(r, 4) != kZip64EndOfDirectory) return std::nullopt;
        entries = le(r + 32, 8);
        dirSize = le(r + 40, 8);
        dirOffset = le(r + 48, 8);
    }
    if (dirSize > std::uint64_t(kMaxZipDirectorySize) || dirOffset > std::uint64_t(size) ||
        dirSize > std::uint64_t(size) - dirOffset)
        return std::nullopt;
    QByteArray dir;
    if (!readAt(input, qint64(dirOffset), qint64(dirSize), dir)) return std::nullopt;
    const auto* d = reinterpret_cast<const unsigned char*>(dir.constData());
    ZipDirectory result;
    qint64 pos = 0;
    for (std::uint64_t i = 0; i < entries && pos + kEntryHeaderSize <= dir.size(); ++i) {
        if (le(d + pos, 4) != kDirectoryEntry) break;
        const std::uint32_t crc = std::uint32_t(le(d + pos + 16, 4));
        const qint64 nameLength = qint64(le(d + pos + 28, 2));
        const qint64 next = pos + kEntryHeaderSize + nameLength + qint64(le(d + pos + 30, 2)) + qint64(le(d + pos + 32, 2));
        if (next > dir.size()) break;
        const QString name = QString::fromUtf8(dir.constData() + pos + kEntryHeaderSize, qsizetype(nameLength));
        const QString key = name.toLower();
        if (!result.crcs_.contains(key)) result.crcs_.insert(key, crc);
        pos = next;
    }
    return result;
}

std::optional<std::uint32_t> ZipDirectory::crcOf(const QString& partName) const {
    QString key = partName.toLower();
    if (key.startsWith(u'/')) key.remove(0, 1);
    const auto it = crcs_.constFind(key);
    if (it == crcs_.constEnd()) return std::nullopt;
    return *it;
}

QString zipPartName(GsfInput* part) {
    QStringList names;
    for (GsfInput* in = part; in; in = GSF_INPUT(gsf_input_container(in))) {
        if (!gsf_input_container(in)) break;  // the root has no name of its own in the path
        const char* n = gsf_input_name(in);
        names.prepend(n ? QString::fromUtf8(n) : QString());
    }
    return names.join(u'/');
}

}  // namespace lumo
