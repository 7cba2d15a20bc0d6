#pragma once
// Tagged module text straight to the content a code view shows, without
// writing RTF and reading it back. The result is exactly what reading
// wrapRtfDocument(taggedToRtf(text)) gives: both are sinks of the one
// reader of tagged text.
#include <QString>

#include "base/Options.h"
#include "render/RtfContent.h"

namespace lumo {

RtfContent taggedToContent(const QString& tagged, const Options& options);

// The text alone of taggedToContent (line breaks as LF): what a code view
// shows of a piece of tagged text, without reading a head for the formats.
QString taggedToText(QStringView tagged);

}  // namespace lumo
