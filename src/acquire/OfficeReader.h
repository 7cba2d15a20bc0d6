#pragma once
// The VBA project inside an Office file: an OLE2 compound file (.doc, .dot,
// .xls, ...), an OOXML package (.docm, .xlsm, ...) holding vbaProject.bin, or
// a bare vbaProject.bin. libgsf opens the containers; the VBA storage itself
// (dir stream, compression, PROJECT stream) is read here.
#include <QByteArray>
#include <QString>

#include "acquire/VbaProjectData.h"

namespace lumo {

// Files beyond this are not read into memory.
inline constexpr qint64 kMaxDocumentSize = 1024LL * 1024 * 1024;

// What one document may cost whatever its size on disk: a small file can
// hold streams that decompress a hundredfold, module records that share one
// stream, or package parts that inflate a thousandfold. A document beyond
// either budget is refused. Real projects stay far below both: the text
// budget counts decompressed source (each use of a stream again, the dir
// stream included), the part budget the package parts read.
inline constexpr qint64 kMaxDocumentText = 24LL * 1024 * 1024;
inline constexpr qint64 kMaxPackageParts = 64LL * 1024 * 1024;

// Throws ReadError with a German reason (without the file name).
VbaProjectData readOfficeFile(const QString& path);
// The same for bytes already in memory; fileName stays empty.
VbaProjectData readOfficeBytes(const QByteArray& bytes);

// The version text of this reader, what the document host reports as the
// host's Version.
QString officeReaderVersion();

}  // namespace lumo
