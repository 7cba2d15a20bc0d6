#include "export/SiteBuilder.h"

#include <initializer_list>

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include "base/Progress.h"
#include "base/SystemErrors.h"
#include "export/PageBytes.h"
#include "export/SiteFolder.h"
#include "export/SitePages.h"
#include "export/SiteProject.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

// Writes the files of a site into a new folder. A file that the site made
// before holds already (same name, same bytes) is linked instead of written:
// a site made again after a small change writes only what changed. The old
// file is never written to, so the old site stays whole until the new one
// takes its place.
class SiteWriter {
public:
    SiteWriter(const QString& folder, const QString& previous) : folder_(folder), previous_(previous) {}

    // The file's bytes in pieces (a module's code lies apart from its page).
    void write(const QString& name, std::initializer_list<QByteArrayView> pieces) {
        const QString path = folder_ + QLatin1Char('/') + name;
        if (linkedUnchanged(name, path, pieces)) return;
        QFile f(path);
        bool written = f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (const QByteArrayView bytes : pieces) written = written && f.write(bytes.data(), bytes.size()) == bytes.size();
        if (!written || !f.flush())
            throw SiteError(QStringLiteral("Die Datei %1 der Website kann nicht geschrieben werden: %2.")
                                .arg(f.fileName(), germanSystemText(f.errorString()))
                                .toStdString());
    }

private:
    bool linkedUnchanged(const QString& name, const QString& path, std::initializer_list<QByteArrayView> pieces) const {
        if (previous_.isEmpty()) return false;
        qsizetype size = 0;
        for (const QByteArrayView bytes : pieces) size += bytes.size();
        const QString old = previous_ + QLatin1Char('/') + name;
        const QFileInfo info(old);
        if (info.isSymLink() || !info.isFile() || info.size() != size) return false;
        QFile f(old);
        if (!f.open(QIODevice::ReadOnly)) return false;
        const QByteArray before = f.readAll();
        qsizetype at = 0;
        for (const QByteArrayView bytes : pieces) {
            if (QByteArrayView(before).sliced(at, std::min(bytes.size(), before.size() - at)) != bytes) return false;
            at += bytes.size();
        }
        return at == before.size() &&
               ::link(QFile::encodeName(old).constData(), QFile::encodeName(path).constData()) == 0;
    }

    QString folder_;
    QString previous_;
};

}  // namespace

QString siteProgressText(int done, int total) {
    return QStringLiteral("Modul %1 von %2 ...").arg(done).arg(total);
}

SiteReport writeSiteFiles(WorkingStore& store, const QString& folder, const SiteTitle& title, const Options& options,
                          const SiteProgress& progress, const QString& previous) {
    SiteWriter writer(folder, previous);
    const QString css = siteStyleSheet(options);  // a colour that cannot be written stops before any file
    const SiteProject project(store);
    const int total = int(project.modules().size());
    PageBytes page(1 << 20);
    auto write = [&](const QString& name, auto&& make) {
        page.clear();
        make();
        writer.write(name, {page.bytes()});
    };
    for (int i = 0; i < total; ++i) {
        if (progress) progress(i + 1, total);
        const ModuleRow& m = project.modules()[size_t(i)];
        page.clear();
        const qsizetype code = siteModulePage(page, project, m, title);
        writer.write(project.pageOf(m.number),
                     {page.bytes().first(code), project.codeHtml(m.number), page.bytes().sliced(code)});
    }
    write(kSiteRoutinePage, [&] { siteRoutinePage(page, project, title); });
    writer.write(kSiteStyleSheet, {css.toUtf8()});
    write(kSiteSearchIndex, [&] { siteSearchIndex(page, project); });
    writer.write(kSiteSearchScript, {siteSearchScript().toUtf8()});
    // The overview last: a folder holding it holds a whole site.
    write(kSiteIndexPage, [&] { siteIndexPage(page, project, title); });
    return {total, project.routineCount(), project.unreadable()};
}

QString siteStoppedReason() { return QStringLiteral("Die Website wurde nicht erstellt: abgebrochen."); }

QString writeSite(WorkingStore& store, const QString& folder, const SiteTitle& title, const Options& options,
                  SiteReport& report, const SiteProgress& progress) {
    return replaceSiteFolder(folder, [&](const QString& built, QString* why) {
        try {
            report = writeSiteFiles(store, built, title, options, progress, folder);
            return true;
        } catch (const WorkStopped&) {
            // The half-made site goes; the one made before stays as it was.
            *why = siteStoppedReason();
            return false;
        } catch (const std::exception& e) {
            *why = QString::fromUtf8(e.what());
            return false;
        }
    });
}

}  // namespace lumo
