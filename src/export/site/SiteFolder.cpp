#include "export/site/SiteFolder.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/OutputFolder.h"
#include "base/SystemErrors.h"
#include "export/site/SitePages.h"

namespace lumo {

namespace {

const OutputWords& siteWords() {
    static const OutputWords words{
        QStringLiteral("In den Ordner %1 wird gerade eine andere Website erzeugt (Prozess %2); bitte warten Sie, "
                       "bis das fertig ist."),
        QStringLiteral("Die neue Website kann nicht an die Stelle von %1 treten: %2."),
        QStringLiteral("Der Ordner %1 wurde während des Erzeugens verändert; die neue Website tritt nicht an seine "
                       "Stelle. Bitte prüfen Sie den Ordner und erzeugen Sie die Website erneut.")};
    return words;
}

// The overview page is one of ours when it names the program as its maker.
bool isOurIndexPage(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return f.read(2048).contains("<meta name=\"generator\" content=\"Word Code Lumo\">");
}

}  // namespace

bool isSiteFileName(const QString& fileName) {
    // "modul-" + [A-Za-z0-9_]+ + ".html", asked of every file of a site several times a run.
    const QStringView name(fileName);
    const QLatin1StringView start("modul-"), end(".html");
    if (name.size() > start.size() + end.size() && name.startsWith(start) && name.endsWith(end)) {
        for (const QChar c : name.sliced(start.size(), name.size() - start.size() - end.size()))
            if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_'))
                return false;
        return true;
    }
    return fileName == kSiteIndexPage || fileName == kSiteRoutinePage || fileName == kSiteStyleSheet ||
           fileName == kSiteSearchIndex || fileName == kSiteSearchScript;
}

QString siteRefusal(const QString& folder) {
    QString refusal;
    const QFileInfoList entries = outputFolderEntries(
        folder, QStringLiteral("%1 ist kein Ordner; die Website wird dort nicht angelegt."), refusal);
    if (!refusal.isEmpty() || entries.isEmpty()) return refusal;
    for (const QFileInfo& e : entries)
        if (e.isSymLink() || !e.isFile() || !isSiteFileName(e.fileName()))
            return QStringLiteral("Der Ordner %1 enthält nicht nur eine Website von Code Lumo (etwa %2); er wird "
                                  "nicht überschrieben. Bitte geben Sie einen leeren oder neuen Ordner an.")
                .arg(folder, e.fileName());
    if (!isOurIndexPage(folder + QLatin1Char('/') + kSiteIndexPage))
        return QStringLiteral("Der Ordner %1 enthält keine Website von Code Lumo; er wird nicht überschrieben. "
                              "Bitte geben Sie einen leeren oder neuen Ordner an.")
            .arg(folder);
    return {};
}

QString replaceSiteFolder(const QString& folder, const std::function<bool(const QString& built, QString* why)>& make) {
    const QFileInfo outInfo(folder);
    // A link to a folder stays a link; the folder it points at is replaced.
    const QString target = outInfo.isSymLink() && outInfo.exists() ? outInfo.canonicalFilePath()
                                                                   : QDir::cleanPath(outInfo.absoluteFilePath());
    // Refused before anything is made beside it (the lock, missing parents).
    if (const QString refusal = siteRefusal(target); !refusal.isEmpty()) return refusal;
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(QFileInfo(target).absolutePath()).toStdString(), ec);
    if (ec)
        return QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2.")
            .arg(QFileInfo(target).absolutePath(), systemErrorText(ec.value()));
    OutputFolderLock lock(target);
    QString why;
    if (!lock.tryLock(siteWords().busy, &why)) return why;
    if (const QString refusal = siteRefusal(target); !refusal.isEmpty()) return refusal;
    removeLeftoverBuilds(target, isSiteFileName);
    const QString before = folderSnapshot(target);
    const QString built = newFolderBeside(target, &why);
    if (built.isEmpty())
        return QStringLiteral("Neben dem Ordner %1 kann kein Ordner für die Website angelegt werden: %2.").arg(target, why);
    if (!make(built, &why)) {
        removeOwnFolder(built, isSiteFileName);
        return why;
    }
    // A file the user put into the folder meanwhile must neither vanish
    // with the old site nor be replaced.
    const QString failed = folderSnapshot(target) != before ? siteWords().changed.arg(target)
                                                            : swapInBuilt(built, target, isSiteFileName, siteWords());
    if (!failed.isEmpty()) removeOwnFolder(built, isSiteFileName);
    return failed;
}

}  // namespace lumo
