#pragma once
// Tagged module text straight to the content a code view shows, without
// writing RTF and reading it back. The result is exactly what reading
// wrapRtfDocument(taggedToRtf(text)) gives; where the single left-to-right
// pass could differ from the renderer's sequence of replacements (tags that
// share a character), it takes the RTF road itself.
#include <QString>

#include "app/Options.h"
#include "view/RtfContent.h"

namespace lumo {

RtfContent taggedToContent(const QString& tagged, const Options& options);

}  // namespace lumo
