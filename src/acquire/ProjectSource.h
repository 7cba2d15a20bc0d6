#pragma once
// Whatever the user opened: an Office document, a folder of exported
// modules, or one exported module file. Every entry that takes sources (the
// window, list, dump, build) tells them apart here, so that all of them
// take and refuse the same things with the same words.
#include <QString>

#include "acquire/VbaProjectData.h"

namespace lumo {

enum class SourceKind { ModuleFolder, ExportedModule, OfficeFile };

// Which kind path is; throws ReadError (German, without the path) for what
// is none: missing, or no regular file and no folder (pipes, devices).
// Whether an Office file really is one is for its reader to find out.
SourceKind classifySource(const QString& path);

struct ReadBudget;

// Throws ReadError with a German reason (without the path). The source's
// text draws on budget (a fresh one when not given).
VbaProjectData readProjectSource(const QString& path);
VbaProjectData readProjectSource(const QString& path, ReadBudget& budget);

}  // namespace lumo
