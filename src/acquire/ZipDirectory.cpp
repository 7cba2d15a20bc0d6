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
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr qint64 kLocalHeaderSize = 30;

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

// Sizes and offset beyond 32 bits stand in the entry's ZIP64 extra field,
// in this order, each only where its 32-bit field holds 0xFFFFFFFF.
void readZip64Fields(const unsigned char* extra, qint64 length, bool compressedTooLarge, ZipDirectory::Entry& entry) {
    const bool sizeTooLarge = entry.size == 0xFFFFFFFF;
    const bool offsetTooLarge = entry.headerOffset == 0xFFFFFFFF;
    if (!sizeTooLarge && !offsetTooLarge) return;
    for (qint64 at = 0; at + 4 <= length;) {
        const qint64 fieldLength = qint64(le(extra + at + 2, 2));
        if (le(extra + at, 2) == 0x0001 && at + 4 + fieldLength <= length) {
            const unsigned char* f = extra + at + 4;
            qint64 used = 0;
            const auto take = [&](bool present, std::uint64_t* into) {
                if (!present || used + 8 > fieldLength) return;
                if (into) *into = le(f + used, 8);
                used += 8;
            };
            take(sizeTooLarge, &entry.size);
            take(compressedTooLarge, nullptr);
            take(offsetTooLarge, &entry.headerOffset);
            return;
        }
        at += 4 + fieldLength;
    }
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
        Entry entry;
        entry.crc = std::uint32_t(le(d + pos + 16, 4));
        entry.size = le(d + pos + 24, 4);
        entry.headerOffset = le(d + pos + 42, 4);
        const qint64 nameLength = qint64(le(d + pos + 28, 2));
        const qint64 next = pos + kEntryHeaderSize + nameLength + qint64(le(d + pos + 30, 2)) + qint64(le(d + pos + 32, 2));
        if (next > dir.size()) break;
        entry.rawName = QByteArray(dir.constData() + pos + kEntryHeaderSize, qsizetype(nameLength));
        entry.name = QString::fromUtf8(entry.rawName);
        readZip64Fields(d + pos + kEntryHeaderSize + nameLength, qint64(le(d + pos + 30, 2)),
                        le(d + pos + 20, 4) == 0xFFFFFFFF, entry);
        if (!result.exact_.contains(entry.name)) result.exact_.insert(entry.name, entry);
        const QString key = entry.name.toLower();
        if (!result.folded_.contains(key)) result.folded_.insert(key, entry);
        pos = next;
    }
    return result;
}

std::optional<ZipDirectory::Entry> ZipDirectory::entry(const QString& partName) const {
    const QString name = partName.startsWith(u'/') ? partName.mid(1) : partName;
    if (const auto it = exact_.constFind(name); it != exact_.constEnd()) return *it;
    if (const auto it = folded_.constFind(name.toLower()); it != folded_.constEnd()) return *it;
    return std::nullopt;
}

std::optional<std::uint32_t> ZipDirectory::crcOf(const QString& partName) const {
    const std::optional<Entry> e = entry(partName);
    if (!e) return std::nullopt;
    return e->crc;
}

QString ZipDirectory::headerProblem(GsfInput* package, const Entry& entry, gsf_off_t sizeRead) {
    struct Rewind {
        GsfInput* in;
        ~Rewind() { gsf_input_seek(in, 0, G_SEEK_SET); }
    } rewind{package};
    const QByteArray& name = entry.rawName;
    QByteArray header;
    bool own = entry.headerOffset < std::uint64_t(gsf_input_size(package)) &&
               readAt(package, qint64(entry.headerOffset), kLocalHeaderSize + name.size(), header);
    if (own) {
        const auto* h = reinterpret_cast<const unsigned char*>(header.constData());
        own = le(h, 4) == kLocalHeader && qint64(le(h + 26, 2)) == name.size() && header.endsWith(name);
    }
    if (!own)
        return QStringLiteral("Der Teil %1 des ZIP-Pakets verweist auf Daten, die nicht seine sind; die Datei ist "
                              "beschädigt.").arg(entry.name);
    if (sizeRead < 0 || std::uint64_t(sizeRead) != entry.size)
        return QStringLiteral("Die Größe des Teils %1 im ZIP-Paket ist widersprüchlich; die Datei ist beschädigt.")
            .arg(entry.name);
    return {};
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
