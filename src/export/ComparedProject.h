#pragma once
// What "diff" and "Vergleichen mit ..." compare: a document, a folder of
// exported modules, one exported file or a stored project, read into the
// modules as the VBA editor shows them.
#include <QString>

#include "acquire/VbaProjectData.h"
#include "base/Options.h"

namespace lumo {

class WorkingStore;

// path: an Office document, a module folder, an exported module file, a
// stored project's folder or its DivuRuvi.mdb. Throws ReadError (German,
// without the path) when it cannot be read.
VbaProjectData readComparedProject(const QString& path, const Options& options);

// The modules of the open store as its code views show them (options: the
// look they were stored with), by module number.
VbaProjectData projectOfStore(WorkingStore& store, const Options& options);

}  // namespace lumo
