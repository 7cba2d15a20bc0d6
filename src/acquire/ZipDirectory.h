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

    // The recorded CRC-32 of a part by its full name ("word/vbaProject.bin"),
    // compared without regard to case; nullopt when there is no such part.
    std::optional<std::uint32_t> crcOf(const QString& partName) const;

private:
    QHash<QString, std::uint32_t> crcs_;  // lower-case part name
};

// The full name of a part libgsf opened below the package's root, its
// folders joined with "/".
QString zipPartName(GsfInput* part);

}  // namespace lumo
