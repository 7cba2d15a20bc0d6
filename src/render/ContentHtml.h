#pragma once
// Code view content as a small HTML fragment (one <pre> block with coloured
// and bold spans), the rich form a copy puts on the clipboard beside RTF for
// programs that take no RTF.
#include "render/RtfContent.h"

namespace lumo {

// The text from..to (indexes into content.text).
QString contentToHtml(const RtfContent& content, int from, int to);

}  // namespace lumo
