#pragma once
// The tags of tagged module text. Each is built from the marker character
// U+0178 once per run and never changes; writer and readers of the stored
// module text agree on them character for character (case-sensitive).
#include <QString>

namespace lumo {

inline constexpr char16_t kMarkerChar = u'\u0178';

struct Tags {
    QString marker;        // the marker character alone
    // Transient: exist only while a text is being tagged.
    QString escape;        // "Ÿ|?"   a marker character of the source
    QString continuation;  // "|Ÿu| " "_" + CR LF; 5 characters, the last a space
    QString blank;         // "|Ÿb|"  a space inside a comment or string literal
    QString doubleQuote;   // "|Ÿd|"  two adjacent quote characters
    // Kept in the stored text.
    QString comment;       // "|Ÿk|"  start of a comment run
    QString string;        // "|Ÿs|"  start of a string-literal run
    QString keyword;       // "|Ÿf|"  start of a keyword
    QString close;         // "|nŸ|"  end of a keyword, comment or string run
    QString lineOpen;      // "|Ÿx|"  start of a routine head, declaration or End line
    QString lineClose;     // "|yŸ|"  end of such a line
};

const Tags& tags();

// keyword tag + word + close tag, the form in which the parser looks for words.
QString taggedKeyword(const QString& word);

// Length of the continuation tag; the parser counts physical lines with it.
inline constexpr int kContinuationTagLength = 5;

}  // namespace lumo
