#pragma once
// The decompressed "dir" stream of a VBA storage: project information,
// references, and one record group per module.
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>

namespace lumo {

struct VbaDirModule {
    QByteArray name;          // MODULENAME, in the project code page
    QString unicodeName;      // MODULENAMEUNICODE when present
    QByteArray streamName;    // MODULESTREAMNAME, in the project code page
    QString unicodeStreamName;
    std::uint32_t textOffset = 0;
    bool hasTextOffset = false;
    bool procedural = true;   // MODULETYPE 0x21; 0x22 covers document, class and designer
};

struct VbaDirInfo {
    int codePage = 1252;
    QByteArray projectName;
    std::vector<VbaDirModule> modules;
};

// Throws ReadError when the stream is not a dir stream or lies about its
// lengths; tolerates the variations real files show (the PROJECTVERSION
// record whose length field says 4 for 6 bytes, optional records in any
// order, a missing terminator, a module count that disagrees with the records).
VbaDirInfo parseVbaDir(const QByteArray& decompressed);

}  // namespace lumo
