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
    const QFileInfo outInfo(folder);
    const QString target = outInfo.isSymLink() && outInfo.exists() ? outInfo.canonicalFilePath()
                                                                   : QDir::cleanPath(outInfo.absoluteFilePath());
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(QFileInfo(target).absolutePath()).toStdString(), ec);
    if (ec)
        return QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2.")
            .arg(QFileInfo(target).absolutePath(), systemErrorText(ec.value()));
    OutputFolderLock lock(target);
    QString why;
    if (!lock.tryLock(extractWords().busy, &why)) return why;
    if (const QString refusal = extractRefusal(target); !refusal.isEmpty()) return refusal;
    removeLeftoverBuilds(target, isExtractFileName);
    const QString before = folderSnapshot(target);
    const QString built = newFolderBeside(target, &why);
    if (built.isEmpty())
        return QStringLiteral("Neben dem Ordner %1 kann kein Ordner für die Module angelegt werden: %2.").arg(target, why);
    QFile mark(built + QLatin1Char('/') + markName());
    const QByteArray markText = "Module, die Word Code Lumo geschrieben hat (codelumo-cli extract)\n";
    bool made = make(built, &why);
    if (made && (!mark.open(QIODevice::WriteOnly) || mark.write(markText) != markText.size() || !mark.flush())) {
        why = QStringLiteral("%1 kann nicht geschrieben werden: %2.").arg(mark.fileName(), germanSystemText(mark.errorString()));
        made = false;
    }
    mark.close();
    if (!made) {
        removeOwnFolder(built, isExtractFileName);
        return why;
    }
    const QString failed = folderSnapshot(target) != before
                               ? extractWords().changed.arg(target)
                               : swapInBuilt(built, target, isExtractFileName, extractWords());
    if (!failed.isEmpty()) removeOwnFolder(built, isExtractFileName);
    return failed;
}

}  // namespace lumo
