#pragma once
// The VBA project inside an Office file: an OLE2 compound file (.doc, .dot,
// .xls, ...), an OOXML package (.docm, .xlsm, ...) holding vbaProject.bin, or
// a bare vbaProject.bin. libgsf opens the containers; the VBA storage itself
// (dir stream, compression, PROJECT stream) is read here.
#include <QByteArray>
#include <QString>

#include "acquire/VbaProjectData.h"
#include "base/Limits.h"

namespace lumo {

struct ReadBudget;

// Throws ReadError with a German reason (without the file name). The
// decompressed source draws on budget (a fresh one when not given).
VbaProjectData readOfficeFile(const QString& path);
VbaProjectData readOfficeFile(const QString& path, ReadBudget& budget);
// The same for bytes already in memory; fileName stays empty.
VbaProjectData readOfficeBytes(const QByteArray& bytes);

// The version text of this reader, what the document host reports as the
// host's Version.
QString officeReaderVersion();

}  // namespace lumo
