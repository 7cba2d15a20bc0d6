#pragma once
// Writes content back as an RTF document in the dialect of our renderer:
// the fixed font table with the text font as \f3, the colour table, the
// paragraph with its tab stops, "\plain\f3\fsN " and the body with \cf, \b,
// \b0, \tab, \par and escaped \ { }.
#include "render/RtfContent.h"

namespace lumo {

enum class RtfChars {
    AsIs,      // characters above 127 stay as they are (the string is Unicode)
    Escaped    // \'hh for the Windows-1252 range, \uN? beyond: a portable file
};

// The text from..to (indexes into content.text) as a complete document.
QString writeRtf(const RtfContent& content, int from, int to, RtfChars chars = RtfChars::AsIs);
inline QString writeRtf(const RtfContent& content, RtfChars chars = RtfChars::AsIs) {
    return writeRtf(content, 0, content.text.size(), chars);
}

}  // namespace lumo
