#include "render/ContentHtml.h"

#include <algorithm>

namespace lumo {

namespace {

QString cssColor(const RtfColor& c) {
    return QStringLiteral("#%1%2%3")
        .arg(c.red, 2, 16, QLatin1Char('0'))
        .arg(c.green, 2, 16, QLatin1Char('0'))
        .arg(c.blue, 2, 16, QLatin1Char('0'));
}

void escapeInto(QString& out, QStringView text) {
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        default: out += c;
        }
    }
}

}  // namespace

QString contentToHtml(const RtfContent& content, int from, int to) {
    from = std::clamp(from, 0, int(content.text.size()));
    to = std::clamp(to, from, int(content.text.size()));
    QString family = content.fontName(content.base.font);
    family.remove(u'"').remove(u'\'').remove(u';').remove(u'<').remove(u'>');
    QString out = QStringLiteral("<pre style=\"font-family: '%1'; font-size: %2pt; color: %3;\">")
                      .arg(family.isEmpty() ? QStringLiteral("MS Sans Serif") : family)
                      .arg(content.base.halfPoints / 2.0)
                      .arg(cssColor(content.color(0)));
    for (const RtfRun& run : content.runs) {
        const int a = std::max(from, run.start);
        const int b = std::min(to, run.start + run.length);
        if (a >= b) continue;
        const bool colored = run.format.color != 0;
        if (run.format.bold) out += QStringLiteral("<b>");
        if (colored) out += QStringLiteral("<span style=\"color: %1;\">").arg(cssColor(content.color(run.format.color)));
        escapeInto(out, QStringView(content.text).mid(a, b - a));
        if (colored) out += QStringLiteral("</span>");
        if (run.format.bold) out += QStringLiteral("</b>");
    }
    out += QStringLiteral("</pre>");
    return out;
}

}  // namespace lumo
