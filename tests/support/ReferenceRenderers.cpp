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
    text.replace(t.comment, span(options.fkom));
    text.replace(t.keyword, span(options.fkey));
    text.replace(t.string, span(options.fstr));
    text.replace(t.lineOpen, options.rouf ? QStringLiteral("<b>") : QString());
    text.replace(t.lineClose, options.rouf ? QStringLiteral("</b>") : QString());
    return "<pre><span style=\"font-family=" + options.fontName + ",Arial; font-size=" +
           QString::number(options.fontSize) + "pt\"; >" + text + "</span></pre>";
}

}  // namespace lumo::reference
