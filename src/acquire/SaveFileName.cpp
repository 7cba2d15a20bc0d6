#include "acquire/SaveFileName.h"

#include <QDir>
#include <QFileInfo>

namespace lumo {

SaveFilterList parseSaveFilters(const QString& notation) {
    SaveFilterList out;
    if (!notation.endsWith(QLatin1Char(';'))) {
        out.error = QStringLiteral("Bitte Filterart mit ; abschließen");
        return out;
    }
    const QStringList entries = notation.chopped(1).split(QLatin1Char(';'));
    for (const QString& entry : entries) {
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            out.filters.clear();
            out.error = QStringLiteral("Doppelpunkt vergessen");
            return out;
        }
        const QString label = entry.left(colon);
        const QString extensions = entry.mid(colon + 1);
        if (extensions.isEmpty()) {
            out.filters.append({label + QStringLiteral(" (*.*)"), QStringLiteral("*.*")});
            continue;
        }
        const QString pattern = QStringLiteral("*.") + QString(extensions).replace(QLatin1Char(','), QStringLiteral(", *."));
        out.filters.append({label + QStringLiteral(" (") + pattern.toLower() + QLatin1Char(')'),
                            QString(pattern).replace(QLatin1Char(','), QLatin1Char(';')).toUpper()});
    }
    return out;
}

QString saveFileName(Ui& ui, const QString& notation, const QString& defaultExtension, const QString& startFolder,
                     const QString& defaultName) {
    const SaveFilterList list = parseSaveFilters(notation);
    if (!list.error.isEmpty()) {
        ui.message(list.error);
        return {};
    }
    const QString start = startFolder.isEmpty() ? QDir::homePath() : startFolder;
    QString chosen = ui.chooseSaveFile(QStringLiteral("Speichern unter"), start, defaultName, list.filters, defaultExtension);
    // Whatever a chooser hands back past a NUL is no part of the name.
    if (const qsizetype nul = chosen.indexOf(QChar(0)); nul >= 0) chosen.truncate(nul);
    // A name typed without extension gets the default one, whatever the dialog did.
    if (!chosen.isEmpty() && !defaultExtension.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + defaultExtension;
    return chosen;
}

}  // namespace lumo
