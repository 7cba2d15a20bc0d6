#pragma once
// A comparison of two projects as a page for the browser: what the text
// report says, the code of each hunk in the user's colours (keywords,
// comments, strings as the options have them), removed lines on red, added
// ones on green, both with the editor's line numbers.
#include <QString>

#include "base/Options.h"
#include "export/ProjectDiff.h"

namespace lumo {

// A whole HTML5 page. Throws HtmlError when a colour cannot be written.
QString diffHtmlPage(const ProjectDiff& diff, const QString& oldLabel, const QString& newLabel, const Options& options);

}  // namespace lumo
