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

QString blankTaggedSpans(QString text) {
    const Tags& t = tags();
    const QString open = QStringLiteral("|") + t.marker;
    qsizetype p = text.indexOf(open);
    while (p >= 0) {
        const bool routineLine = p + 2 < text.size() && text.at(p + 2) == u'x';
        const qsizetype e = text.indexOf(routineLine ? t.lineClose : t.close, p);
        const qsizetype last = e < 0 ? text.size() - 1 : e + 3;
        for (qsizetype i = p; i <= last; ++i) text[i] = u' ';
        if (e < 0) break;
        p = text.indexOf(open, e + 3);
    }
    return text;
}

}  // namespace lumo::reference
