#pragma once
// The keyword pass over the widened text of the tagging pass: every entry of
// the keyword list, with the spaces around it, gets its words wrapped in
// keyword tags.
#include <QString>

namespace lumo {

// One whole-text replacement per list entry, in list order: the definition.
void keywordPassByReplacement(QString& widened);

// The same result in one scan over the space-separated tokens of the text.
void keywordPass(QString& widened);

}  // namespace lumo
