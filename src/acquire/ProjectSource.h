#pragma once
// Whatever the user opened: an Office document, a folder of exported
// modules, or one exported module file.
#include <QString>

#include "acquire/VbaProjectData.h"

namespace lumo {

// Throws ReadError with a German reason (without the path).
VbaProjectData readProjectSource(const QString& path);

}  // namespace lumo
