#include "export/DiffHtml.h"

#include "export/DiffReport.h"
#include "model/TagCode.h"
#include "render/HtmlRenderer.h"

namespace lumo {

namespace {

QString escaped(const QString& text) {
    QString out;
    appendEscapedHtml(out, text);
    return out;
}

// One line of code in the user's colours, as it stands: the look options
// that re-indent or add lines are off for it.
QString colouredLine(const QString& line, const Options& look) {
    if (line.trimmed().isEmpty()) return {};
    QString html = tagFragment(line, look);
    taggedToHtml(html, look);
    // The fragment is one <pre> block; the report's cell is the block.
    if (html.startsWith(QLatin1String("<pre>"))) html.remove(0, 5);
    if (html.endsWith(QLatin1String("</pre>"))) html.chop(6);
    while (html.endsWith(u'\n') || html.endsWith(u'\r')) html.chop(1);
    return html;
}

void appendHunk(QString& out, const DiffHunk& h, const QString& label, const Options& look) {
    out += QStringLiteral("<tr class=\"hunk\"><td colspan=\"3\">") + escaped(hunkHeader(h, label)) +
           QStringLiteral("</td></tr>\n");
    int oldLine = h.oldStart, newLine = h.newStart;
    for (const DiffLine& l : h.lines) {
        const char* cls = l.mark == '+' ? "add" : l.mark == '-' ? "del" : "same";
        const QString o = l.mark == '+' ? QString() : QString::number(oldLine++);
        const QString n = l.mark == '-' ? QString() : QString::number(newLine++);
        out += QStringLiteral("<tr class=\"%1\"><td class=\"n\">%2</td><td class=\"n\">%3</td><td><pre>%4</pre></td></tr>\n")
                   .arg(QLatin1String(cls), o, n, colouredLine(l.text, look));
    }
}

}  // namespace

QString diffHtmlPage(const ProjectDiff& diff, const QString& oldLabel, const QString& newLabel, const Options& options) {
    Options look = options;
    look.reindentBlocks = false;
    look.removeBlankLines = false;
    look.blankLineBeforeRoutines = false;
    look.indentRoutineBodies = false;
    QString out = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"generator\" content=\"Word Code Lumo\">\n<title>Vergleich</title>\n<style>\n"
        "body { font-family: sans-serif; }\n"
        "table { border-collapse: collapse; width: 100%; margin-bottom: 1em; }\n"
        "td { vertical-align: top; padding: 0 0.4em; }\n"
        "td pre { margin: 0; font-family: \"%1\", monospace; white-space: pre-wrap; }\n"
        "td.n { color: #888; text-align: right; width: 3em; font-family: monospace; }\n"
        "tr.hunk td { background: #eef; color: #446; font-family: monospace; }\n"
        "tr.add { background: #e6ffec; }\ntr.del { background: #ffebe9; }\n"
        "</style>\n</head>\n<body>\n")
                      .arg(escaped(options.fontName));
    out += QStringLiteral("<h1>Vergleich</h1>\n<p>Alt: %1<br>Neu: %2</p>\n").arg(escaped(oldLabel), escaped(newLabel));
    if (diff.equal()) out += QStringLiteral("<p>Keine Unterschiede.</p>\n");
    else out += QStringLiteral("<pre>%1</pre>\n").arg(escaped(diffStat(diff)));
    for (const ModuleDiff& m : diff.modules) {
        const int type = m.change == Change::Removed ? m.oldType : m.newType;
        out += QStringLiteral("<h2>Modul %1 (%2): %3</h2>\n")
                   .arg(escaped(m.name()), componentTypeName(type), changeWord(m.change));
        if (m.change == Change::Changed && m.oldType != m.newType)
            out += QStringLiteral("<p>Typ: %1 → %2</p>\n").arg(componentTypeName(m.oldType), componentTypeName(m.newType));
        if (m.change == Change::Changed && m.oldName != m.newName)
            out += QStringLiteral("<p>Name: %1 → %2</p>\n").arg(escaped(m.oldName), escaped(m.newName));
        for (const PartDiff& p : m.parts) {
            out += QStringLiteral("<h3>%1: %2</h3>\n<table>\n").arg(escaped(p.label), changeWord(p.change));
            for (const DiffHunk& h : p.hunks) appendHunk(out, h, p.label, look);
            out += QStringLiteral("</table>\n");
        }
    }
    out += QStringLiteral("</body>\n</html>\n");
    return out;
}

}  // namespace lumo
