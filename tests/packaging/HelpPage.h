#pragma once
// The shipped help page, read as a user reads it: each command has a table row
// (its id is the command's object name, "tob_" + key for a toolbar button,
// "cli_" + verb for the headless entry), and the row's visible text must name
// the command as the window shows it.
#include <QFile>
#include <QRegularExpression>
#include <QString>

namespace lumo::test {

inline QString helpPageSource() {
    QFile f(QStringLiteral(LUMO_SOURCE_DIR "/share/Code Lumo.html"));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The visible text of the row with that id, tags dropped, entities of the
// page decoded, white space folded; a null string when there is no such row.
inline QString helpRowText(const QString& page, const QString& id) {
    const qsizetype at = page.indexOf(QStringLiteral("<tr id=\"") + id + QLatin1Char('"'));
    if (at < 0) return {};
    const qsizetype end = page.indexOf(QStringLiteral("</tr>"), at);
    QString row = page.mid(at, end < 0 ? -1 : end - at);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression space(QStringLiteral("\\s+"));
    row.replace(tag, QStringLiteral(" "));
    row.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return row.replace(space, QStringLiteral(" ")).trimmed();
}

// The row of an item: its own ("mnuBearbeiten_RouBew_3") for one item of an
// indexed group, else the group's (the recent projects share one row).
inline QString helpItemRow(const QString& page, const QString& objectName, int index) {
    if (index >= 0) {
        const QString own = helpRowText(page, objectName + QLatin1Char('_') + QString::number(index));
        if (!own.isNull()) return own;
    }
    return helpRowText(page, objectName);
}

// A caption as the user reads it: without its access-key marks.
inline QString shownCaption(QString caption) {
    return caption.remove(QLatin1Char('&')).trimmed();
}

// A shortcut written as the page writes it (German key names).
inline QString germanShortcut(QString portable) {
    return portable.replace(QStringLiteral("Ctrl+"), QStringLiteral("Strg+")).replace(QStringLiteral("Shift+"), QStringLiteral("Umschalt+"));
}

}  // namespace lumo::test
