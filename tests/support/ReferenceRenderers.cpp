#include "support/ReferenceRenderers.h"

#include "model/Tags.h"

namespace lumo::reference {

QString taggedToRtf(QString text, const Options& options) {
    const Tags& t = tags();
    text.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    text.replace(QLatin1String("{"), QLatin1String("\\{"));
    text.replace(QLatin1String("}"), QLatin1String("\\}"));
    text.replace(t.close, QLatin1String("\\cf0 "));
    text.replace(t.comment, QLatin1String("\\cf2 "));
    text.replace(t.keyword, QLatin1String("\\cf1 "));
    text.replace(t.string, QLatin1String("\\cf3 "));
    text.replace(QLatin1String("\t"), QLatin1String("\\tab "));
    text.replace(t.lineOpen, options.rouf ? QStringLiteral("\\b ") : QString());
    text.replace(t.lineClose, options.rouf ? QStringLiteral("\\b0 ") : QString());
    text.replace(QLatin1String("\r\n"), QLatin1String("\r\n\\par "));
    return text;
}

}  // namespace lumo::reference
