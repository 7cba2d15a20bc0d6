#include "export/SiteBuilder.h"

#include <QFile>

#include "base/SystemErrors.h"
#include "export/SiteFolder.h"
#include "export/SiteProject.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

void writeFile(const QString& folder, const QString& name, const QString& content) {
    QFile f(folder + QLatin1Char('/') + name);
    const QByteArray bytes = content.toUtf8();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size() || !f.flush())
        throw SiteError(QStringLiteral("Die Datei %1 der Website kann nicht geschrieben werden: %2.")
                            .arg(f.fileName(), germanSystemText(f.errorString()))
                            .toStdString());
}

}  // namespace

QString siteProgressText(int done, int total) {
    return QStringLiteral("Modul %1 von %2 ...").arg(done).arg(total);
}

SiteReport writeSiteFiles(WorkingStore& store, const QString& folder, const SiteTitle& title, const Options& options,
                          const SiteProgress& progress) {
    const QString css = siteStyleSheet(options);  // a colour that cannot be written stops before any file
    const SiteProject project(store);
    const int total = int(project.modules().size());
    for (int i = 0; i < total; ++i) {
        if (progress) progress(i + 1, total);
        const ModuleRow& m = project.modules()[size_t(i)];
        writeFile(folder, modulePageName(m), siteModulePage(project, m, title));
    }
    writeFile(folder, kSiteRoutinePage, siteRoutinePage(project, title));
    writeFile(folder, kSiteStyleSheet, css);
    writeFile(folder, kSiteSearchIndex, siteSearchIndex(project));
    writeFile(folder, kSiteSearchScript, siteSearchScript());
    // The overview last: a folder holding it holds a whole site.
    writeFile(folder, kSiteIndexPage, siteIndexPage(project, title));
    return {total, project.routineCount(), project.unreadable()};
}

QString writeSite(WorkingStore& store, const QString& folder, const SiteTitle& title, const Options& options,
                  SiteReport& report, const SiteProgress& progress) {
    return replaceSiteFolder(folder, [&](const QString& built, QString* why) {
        try {
            report = writeSiteFiles(store, built, title, options, progress);
            return true;
        } catch (const std::exception& e) {
            *why = QString::fromUtf8(e.what());
            return false;
        }
    });
}

}  // namespace lumo
