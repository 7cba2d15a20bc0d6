#include "render/PlainText.h"

#include "render/TaggedContent.h"

namespace lumo {

QString plainTextOfModule(const QString& tagged, const Options& options) {
    QString text = taggedToContent(tagged, options).text;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

}  // namespace lumo
