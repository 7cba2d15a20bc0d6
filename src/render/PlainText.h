#pragma once
// Tagged text as plain text: what the code view shows, without colours.
#include <QString>

#include "base/Options.h"

namespace lumo {

// A module's plain text as its code view shows it: the tags gone, lines
// joined with CR LF.
QString plainTextOfModule(const QString& tagged, const Options& options);

}  // namespace lumo
