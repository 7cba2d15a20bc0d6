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
    text.replace(t.lineOpen, options.boldRoutineLines ? QStringLiteral("\\b ") : QString());
    text.replace(t.lineClose, options.boldRoutineLines ? QStringLiteral("\\b0 ") : QString());
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

QString escapeHtml(QString text) {
    const char16_t* const from[] = {u"&", u"<", u">", u"\u00E4", u"\u00F6", u"\u00FC", u"\u00C4", u"\u00D6",
                                    u"\u00DC", u"\u00DF", u"\"", u":", u")", u"(", u"+"};
    const char* const to[] = {"&#38;", "&lt;", "&gt;", "&auml;", "&ouml;", "&uuml;", "&Auml;", "&Ouml;",
                              "&Uuml;", "&szlig;", "&#34;", "&#58;", "&#41;", "&#40;", "&#43;"};
    for (int i = 0; i < 15; ++i) text.replace(QString::fromUtf16(from[i]), QString::fromLatin1(to[i]));
    return text;
}

namespace {

QString colour(qint32 v) {
    const int red = v % 256, green = ((v % 65536) - red) / 256, blue = (v - (v % 65536)) / 65536;
    return QStringLiteral("#%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString span(qint32 v) { return "<span style=\"color:" + colour(v) + "\"; >"; }

}  // namespace

QString taggedToHtml(QString text, const Options& options) {
    const Tags& t = tags();
    text = escapeHtml(text);
    text.replace(t.close, QLatin1String("</span>"));
    text.replace(t.comment, span(options.commentColour));
    text.replace(t.keyword, span(options.keywordColour));
    text.replace(t.string, span(options.stringColour));
    text.replace(t.lineOpen, options.boldRoutineLines ? QStringLiteral("<b>") : QString());
    text.replace(t.lineClose, options.boldRoutineLines ? QStringLiteral("</b>") : QString());
    return "<pre><span style=\"font-family=" + options.fontName + ",Arial; font-size=" +
           QString::number(options.fontSize) + "pt\"; >" + text + "</span></pre>";
}

}  // namespace lumo::reference
