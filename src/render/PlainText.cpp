#include "render/PlainText.h"

#include "base/TextHelpers.h"
#include "render/TaggedContent.h"

namespace lumo {

QString plainTextOfModule(QString tagged, const Options& options) {
    QString text = taggedToContent(tagged, options).text;
    tagged = QString();  // a large module is held twice at most, not three times
    // In one pass: QString::replace moves the rest of the text again and
    // again, which made a module of millions of short lines cost minutes.
    return replaceAll(text, u"\n", u"\r\n");
}

}  // namespace lumo
