#include "export/site/SiteBuilder.h"

#include <initializer_list>

#include <QFile>
#include <QVarLengthArray>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include "base/Progress.h"
#include "base/SystemErrors.h"
#include "export/site/PageBytes.h"
#include "export/site/SiteFolder.h"
#include "export/site/SitePages.h"
#include "export/site/SiteProject.h"
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
    // Files are named within the two folders, opened once, not by their
    // whole paths again and again. Without a site before (a new folder) no
    // file is looked for there.
    SiteWriter(const QString& folder, const QString& previous)
        : folder_(folder), folderFd_(openFolder(folder)), previousFd_(previous.isEmpty() ? -1 : openFolder(previous)) {}
    ~SiteWriter() {
        if (folderFd_ >= 0) ::close(folderFd_);
        if (previousFd_ >= 0) ::close(previousFd_);
    }
    SiteWriter(const SiteWriter&) = delete;
    SiteWriter& operator=(const SiteWriter&) = delete;

    // The file's bytes in pieces (a module's code lies apart from its page).
    // Through the system's calls: Qt's file classes would ask about each of
    // the hundreds of files several times more.
    void write(const QString& name, std::initializer_list<QByteArrayView> pieces) {
        const QByteArray file = QFile::encodeName(name);
        if (linkedUnchanged(file, pieces)) return;
        // A folder that could not be opened is named whole: its failure is then the file's own.
        const int fd = folderFd_ >= 0
                           ? ::openat(folderFd_, file.constData(), kNewFile, 0666)
                           : ::open(QFile::encodeName(folder_ + QLatin1Char('/') + name).constData(), kNewFile, 0666);
        bool written = fd >= 0 && writePieces(fd, pieces);
        int error = errno;
        if (fd >= 0 && ::close(fd) != 0 && written) {
            written = false;
            error = errno;
        }
        if (!written)
            throw SiteError(QStringLiteral("Die Datei %1 der Website kann nicht geschrieben werden: %2.")
                                .arg(folder_ + QLatin1Char('/') + name, systemErrorText(error))
                                .toStdString());
    }

private:
    static constexpr int kNewFile = O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC;

    // All pieces in one call as a rule; what a short write leaves goes on piece by piece.
    static bool writePieces(int fd, std::initializer_list<QByteArrayView> pieces) {
        QVarLengthArray<iovec, 4> parts;
        for (const QByteArrayView bytes : pieces) parts.append({const_cast<char*>(bytes.data()), size_t(bytes.size())});
        ssize_t n = 0;
        do n = ::writev(fd, parts.data(), int(parts.size()));
        while (n < 0 && errno == EINTR);
        if (n < 0) return false;
        qsizetype skip = n;
        for (const QByteArrayView bytes : pieces) {
            if (skip >= bytes.size()) {
                skip -= bytes.size();
                continue;
            }
            if (!writeAll(fd, bytes.sliced(skip))) return false;
            skip = 0;
        }
        return true;
    }

    static bool writeAll(int fd, QByteArrayView bytes) {
        for (qsizetype at = 0; at < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + at, size_t(bytes.size() - at));
            if (n < 0 && errno == EINTR) continue;
            if (n == 0) errno = EIO;  // no progress and no reason: said as a failure to write
            if (n <= 0) return false;
            at += n;
        }
        return true;
    }

    static int openFolder(const QString& folder) {
        return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }

    bool linkedUnchanged(const QByteArray& file, std::initializer_list<QByteArrayView> pieces) {
        if (previousFd_ < 0 || folderFd_ < 0) return false;
        qsizetype size = 0;
        for (const QByteArrayView bytes : pieces) size += bytes.size();
        // A link in the old site's place is not followed: its target is no file of ours.
        const int fd = ::openat(previousFd_, file.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) return false;
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size != size) {
            ::close(fd);
            return false;
        }
        // One buffer for all old files: hundreds of fresh ones would each be
        // paged in anew.
        if (before_.size() < size) before_.resize(size);
        qsizetype at = 0;
        while (at < size) {
            const ssize_t n = ::read(fd, before_.data() + at, size_t(size - at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            at += n;
        }
        ::close(fd);
        if (at != size) return false;
        at = 0;
        for (const QByteArrayView bytes : pieces) {
            if (QByteArrayView(before_).sliced(at, bytes.size()) != bytes) return false;
            at += bytes.size();
        }
        return ::linkat(previousFd_, file.constData(), folderFd_, file.constData(), 0) == 0;
    }

    QString folder_;
    int folderFd_;
    int previousFd_;
    QByteArray before_;
};

}  // namespace

QString siteProgressText(int done, int total) {
    return QStringLiteral("Modul %1 von %2 ...").arg(done).arg(total);
}

SiteReport writeSiteFiles(WorkingStore& store, const QString& folder, const SiteTitle& title, const Options& options,
                          const SiteProgress& progress, const QString& previous) {
    SiteWriter writer(folder, previous);
    const QString css = siteStyleSheet(options);  // a colour that cannot be written stops before any file
    const SiteProject project(store, progress);
    const int total = int(project.modules().size());
    PageBytes page(1 << 20);
    auto write = [&](const QString& name, auto&& make) {
        page.clear();
        make();
        writer.write(name, {page.bytes()});
    };
    for (int i = 0; i < total; ++i) {
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
