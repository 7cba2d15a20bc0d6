#include "export/ExtractFolder.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/OutputFolder.h"
#include "base/SystemErrors.h"

namespace lumo {

namespace {

const OutputWords& extractWords() {
    static const OutputWords words{
        QStringLiteral("In den Ordner %1 werden gerade Module geschrieben (Prozess %2); bitte warten Sie, bis das "
                       "fertig ist."),
        QStringLiteral("Die geschriebenen Module können nicht an die Stelle von %1 treten: %2."),
        QStringLiteral("Der Ordner %1 wurde während des Schreibens verändert; die Module treten nicht an seine "
                       "Stelle. Bitte prüfen Sie den Ordner und rufen Sie extract erneut auf.")};
    return words;
}

const QString& markName() {
    static const QString name = QString::fromLatin1(kExtractMark);
    return name;
}

}  // namespace

bool isExtractFileName(const QString& fileName) {
    if (fileName == markName()) return true;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0) return false;
    const QStringView suffix = QStringView(fileName).sliced(dot + 1);
    return suffix.compare(u"bas", Qt::CaseInsensitive) == 0 || suffix.compare(u"cls", Qt::CaseInsensitive) == 0 ||
           suffix.compare(u"frm", Qt::CaseInsensitive) == 0;
}

QString extractRefusal(const QString& folder) {
    QString refusal;
    const QFileInfoList entries = outputFolderEntries(
        folder, QStringLiteral("%1 ist kein Ordner; die Module werden dort nicht geschrieben."), refusal);
    if (!refusal.isEmpty() || entries.isEmpty()) return refusal;
    for (const QFileInfo& e : entries)
        if (e.isSymLink() || !e.isFile() || !isExtractFileName(e.fileName()))
            return QStringLiteral("Der Ordner %1 enthält nicht nur Module, die Code Lumo geschrieben hat (etwa %2); er "
                                  "wird nicht überschrieben. Bitte geben Sie einen leeren oder neuen Ordner an.")
                .arg(folder, e.fileName());
    if (!QFileInfo(folder + QLatin1Char('/') + markName()).isFile())
        return QStringLiteral("Der Ordner %1 enthält Module, die Code Lumo nicht geschrieben hat; er wird nicht "
                              "überschrieben. Bitte geben Sie einen leeren oder neuen Ordner an.")
            .arg(folder);
    return {};
}

QString replaceExtractFolder(const QString& folder,
                             const std::function<bool(const QString& built, QString* why)>& make) {
    // The mark tells a later run that the folder is one extract wrote.
    const auto madeAndMarked = [&make](const QString& built, QString* why) {
        if (!make(built, why)) return false;
        QFile mark(built + QLatin1Char('/') + markName());
        const QByteArray markText = "Module, die Word Code Lumo geschrieben hat (codelumo-cli extract)\n";
        if (mark.open(QIODevice::WriteOnly) && mark.write(markText) == markText.size() && mark.flush()) return true;
        *why = QStringLiteral("%1 kann nicht geschrieben werden: %2.").arg(mark.fileName(), germanSystemText(mark.errorString()));
        return false;
    };
    return replaceOutputFolder(folder, {isExtractFileName, extractWords(), QStringLiteral("die Module"), extractRefusal},
                               madeAndMarked);
}

}  // namespace lumo
