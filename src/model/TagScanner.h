#pragma once
// The tagging steps from the escape tag to the undone widening, in one scan
// over the text instead of a chain of whole-text replacements. Its result is
// held character for character to the replacement chain by the tests.
#include <QString>

namespace lumo {

// text: the module wrapped in line breaks, indented and without blank lines
// as the options ask. Returns the text with the transient tags (escape,
// doubled quote, continuation) and the comment, string and keyword tags.
QString scanTags(const QString& text);

}  // namespace lumo
