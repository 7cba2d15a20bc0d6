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
    return replaceOutputFolder(folder, {isSiteFileName, siteWords(), QStringLiteral("die Website"), siteRefusal}, make);
}

}  // namespace lumo
