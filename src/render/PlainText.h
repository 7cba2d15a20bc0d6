#pragma once
// Tagged text as plain text: what the code view shows, without colours.
#include <QString>

#include "base/Options.h"

namespace lumo {

// A module's plain text as its code view shows it: the tags gone, lines
// joined with CR LF. The tagged text is let go before the lines are joined.
QString plainTextOfModule(QString tagged, const Options& options);

}  // namespace lumo
