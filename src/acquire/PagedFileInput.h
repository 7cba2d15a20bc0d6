#pragma once
// A document opened for libgsf that is read from disk only where libgsf
// looks: in a large workbook the VBA project, the directory and the
// allocation tables are a small part of the file, and copying all of it
// cost more than everything else the reader does.
#include <QString>

#include <gsf/gsf-input.h>

namespace lumo {

// Null when the file cannot be opened. Reads that fail (the file was cut
// short meanwhile) fail in libgsf as on a damaged file; the file is never
// mapped, so a change under the reader cannot crash it.
GsfInput* openPagedFile(const QString& path);

}  // namespace lumo
