#pragma once
// The central directory of a ZIP package, read for what libgsf does not
// check: the CRC-32 of every part. A part whose bytes do not match it was
// damaged, and its content must not pass for the document's.
#include <cstdint>
#include <optional>

#include <QByteArray>
#include <QHash>
#include <QString>

#include <gsf/gsf-input.h>

namespace lumo {

std::uint32_t crc32Of(const QByteArray& bytes);

class ZipDirectory {
public:
    // Reads the directory of the package in input (leaves its position at
    // 0). Returns nullopt when there is no readable directory.
    static std::optional<ZipDirectory> read(GsfInput* input);

    // What the directory records of one part.
    struct Entry {
        QString name;       // as spelled in the directory
        QByteArray rawName;  // its bytes there, as the local header repeats them
        std::uint32_t crc = 0;
        std::uint64_t size = 0;          // uncompressed
        std::uint64_t headerOffset = 0;  // of the part's local header
    };

    // A part by its full name ("word/vbaProject.bin"): the exact spelling
    // first, so that a part of another case beside it cannot stand in for
    // it, then without regard to case; nullopt when there is no such part.
    std::optional<Entry> entry(const QString& partName) const;
    std::optional<std::uint32_t> crcOf(const QString& partName) const;

    // Why the part's bytes cannot be its own, in German; empty when they
    // can: its local header must carry its name (not another part's) where
    // the directory says, and libgsf must take the size the directory records.
    static QString headerProblem(GsfInput* package, const Entry& entry, gsf_off_t sizeRead);

private:
    QHash<QString, Entry> exact_;   // first part of each spelling
    QHash<QString, Entry> folded_;  // first part of each lower-case name
};

// The full name of a part libgsf opened below the package's root, its
// folders joined with "/".
QString zipPartName(GsfInput* part);

}  // namespace lumo
