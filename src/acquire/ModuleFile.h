#pragma once
// A module's code in a file of its own, as the VBA editor shows it: the
// module name is the file's base name, the type comes from the extension.
#include <QString>

#include "base/Limits.h"

namespace lumo {

struct ModuleSource {
    QString name;
    int modTyp = 2;  // td_mod type code
    QString code;    // lines joined with CR LF, no final line break
};

// Module type code of a file extension (".bas" 2, ".cls" 3, ".frm" 1, else 2).
int moduleTypeOfExtension(const QString& suffix);

// Bytes of a module file as code, decoded as decodeFileText does (UTF-8 or
// the code page in force); line ends CR LF, LF or CR become CR LF; one final
// line break is dropped.
QString moduleCodeFromBytes(const QByteArray& bytes);

// Reads path whole, as text that is no export (the name is the base name of
// the file); throws ReadError with a German reason (without the path) for
// anything but a readable regular file of module text.
ModuleSource readModuleFile(const QString& path);

}  // namespace lumo
