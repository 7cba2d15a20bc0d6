#include "model/Tags.h"

namespace lumo {

namespace {

Tags makeTags() {
    const QString m = QString(QChar(kMarkerChar));
    const QString bar = QStringLiteral("|");
    Tags t;
    t.marker = m;
    t.escape = m + bar + QLatin1Char('?');
    t.continuation = bar + m + QLatin1String("u| ");
    t.blank = bar + m + QLatin1String("b|");
    t.doubleQuote = bar + m + QLatin1String("d|");
    t.comment = bar + m + QLatin1String("k|");
    t.string = bar + m + QLatin1String("s|");
    t.keyword = bar + m + QLatin1String("f|");
    t.close = QLatin1String("|n") + m + bar;
    t.lineOpen = bar + m + QLatin1String("x|");
    t.lineClose = QLatin1String("|y") + m + bar;
    return t;
}

}  // namespace

const Tags& tags() {
    static const Tags t = makeTags();
    return t;
}

QString taggedKeyword(const QString& word) {
    return tags().keyword + word + tags().close;
}

}  // namespace lumo
