#include "base/OutputFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/SystemErrors.h"

namespace lumo {

namespace {

QString parentOf(const QString& folder) { return QFileInfo(folder).absolutePath(); }

// Calls `f` with the folder's descriptor and each entry's name but "." and
// "..", as long as it returns true. Through the system's calls: a site's
// folder holds hundreds of files, each asked about several times a run.
template <class F>
void forEachEntry(const QString& folder, F f) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        if (!f(::dirfd(dir), e->d_name)) break;
    }
    ::closedir(dir);
}
QString nameOf(const QString& folder) { return QFileInfo(folder).fileName(); }

// QLockFile tells only that it failed; creating the file once more names
// the reason (a missing or read-only parent, a full disk, ...).
QString lockFileProblem(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EEXIST ? QStringLiteral("unbekannter Fehler") : systemErrorText(errno);
    ::close(fd);
    ::unlink(name.constData());
    return QStringLiteral("unbekannter Fehler");
}

}  // namespace

QFileInfoList outputFolderEntries(const QString& folder, const QString& notAFolder, QString& refusal) {
    refusal.clear();
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink()) return {};
    if (!info.isDir()) {
        refusal = notAFolder.arg(folder);
        return {};
    }
    // The root has nothing beside it to be built in, nor to hold the lock.
    if (nameOf(folder).isEmpty()) {
        refusal = QStringLiteral("%1 ist das Wurzelverzeichnis; es wird nicht ersetzt. Bitte geben Sie einen Ordner "
                                 "darin an.")
                      .arg(folder);
        return {};
    }
    // A folder the user protected stays as it is; asked of the mode as well,
    // since the system lets an administrator write anything.
    struct stat st {};
    const QByteArray native = QFile::encodeName(folder);
    if (::stat(native.constData(), &st) == 0 && ((st.st_mode & 0222) == 0 || ::access(native.constData(), W_OK) != 0)) {
        refusal = QStringLiteral("Der Ordner %1 ist schreibgeschützt; er wird nicht ersetzt.").arg(folder);
        return {};
    }
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (entries.isEmpty() && (!info.isReadable() || !info.isExecutable()))
        refusal = QStringLiteral("Der Ordner %1 kann nicht gelesen werden: Zugriff verweigert.").arg(folder);
    return entries;
}

bool holdsOnlyOwnFiles(const QString& folder, OwnsFileName owns) {
    bool onlyOwn = true;
    forEachEntry(folder, [&](int dir, const char* name) {
        struct stat st {};
        onlyOwn = owns(QFile::decodeName(name)) && ::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                  S_ISREG(st.st_mode);
        return onlyOwn;
    });
    return onlyOwn;
}

OutputFolderLock::OutputFolderLock(const QString& folder) : folder_(folder) {}
OutputFolderLock::~OutputFolderLock() = default;

bool OutputFolderLock::tryLock(const QString& busyText, QString* why) {
    const QString path = parentOf(folder_) + QStringLiteral("/.") + nameOf(folder_) + QStringLiteral(".lumo-lock");
    lock_ = std::make_unique<QLockFile>(path);
    lock_->setStaleLockTime(0);  // only a dead holder's lock is stale
    if (lock_->tryLock(0)) return true;
    qint64 pid = 0;
    QString host, app;
    if (lock_->error() == QLockFile::LockFailedError && lock_->getLockInfo(&pid, &host, &app)) {
        if (why) *why = busyText.arg(folder_).arg(pid);
    } else if (why) {
        *why = QStringLiteral("Neben dem Ordner %1 kann keine Sperrdatei angelegt werden: %2.")
                   .arg(folder_, lock_->error() == QLockFile::PermissionError ? systemErrorText(EACCES)
                                                                             : lockFileProblem(path));
    }
    lock_.reset();
    return false;
}

void removeLeftoverBuilds(const QString& folder, OwnsFileName owns) {
    const QRegularExpression leftover(QStringLiteral("^\\.") + QRegularExpression::escape(nameOf(folder)) +
                                      QStringLiteral("\\.(neu|alt)-.{6}$"));
    const QDir parent(parentOf(folder));
    for (const QFileInfo& e : parent.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks))
        if (leftover.match(e.fileName()).hasMatch() && holdsOnlyOwnFiles(e.absoluteFilePath(), owns))
            removeOwnFolder(e.absoluteFilePath(), owns);
}

QString newFolderBeside(const QString& folder, QString* why) {
    const QString pattern = parentOf(folder) + QStringLiteral("/.") + nameOf(folder) + QStringLiteral(".neu-XXXXXX");
    QByteArray bytes = QFile::encodeName(pattern);
    if (!::mkdtemp(bytes.data())) {
        if (why) *why = systemErrorText(errno);
        return {};
    }
    // mkdtemp makes it for the owner alone; the new content gets the mode a
    // new folder would have, or the old folder's.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0777 & ~mask;
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) == 0) mode = st.st_mode & 07777;
    ::chmod(bytes.constData(), mode | S_IRWXU);
    return QFile::decodeName(bytes);
}

QString swapInBuilt(const QString& built, const QString& folder, OwnsFileName owns, const OutputWords& words) {
    const QByteArray from = QFile::encodeName(built);
    const QByteArray to = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(to.constData(), &st) != 0) {
        if (::rename(from.constData(), to.constData()) == 0) return {};
        return QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2.").arg(folder, systemErrorText(errno));
    }
    // One step: both names swap their folders at once, so there is no
    // moment without complete content under the folder's name.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0) {
        // A file the user put in after the last look would be hidden with
        // the old content: the old folder comes back instead.
        if (!holdsOnlyOwnFiles(built, owns)) {
            ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE);
            return words.changed.arg(folder);
        }
        removeOwnFolder(built, owns);  // now the old content
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS) return words.cannotReplace.arg(folder, systemErrorText(errno));
    // A file system without the exchange: the old folder steps aside first
    // and comes back when the new one cannot take its place.
    QByteArray aside = QFile::encodeName(parentOf(folder) + QStringLiteral("/.") + nameOf(folder) +
                                         QStringLiteral(".alt-XXXXXX"));
    if (!::mkdtemp(aside.data()) || ::rename(to.constData(), aside.constData()) != 0) {
        const int e = errno;
        ::rmdir(aside.constData());
        return words.cannotReplace.arg(folder, systemErrorText(e));
    }
    if (::rename(from.constData(), to.constData()) != 0) {
        const int e = errno;
        ::rename(aside.constData(), to.constData());
        return words.cannotReplace.arg(folder, systemErrorText(e));
    }
    removeOwnFolder(QFile::decodeName(aside), owns);
    return {};
}

QString folderSnapshot(const QString& folder) {
    std::vector<std::string> lines;
    forEachEntry(folder, [&lines](int dir, const char* name) {
        struct stat st {};
        char line[64] = "/?\n";
        if (::fstatat(dir, name, &st, 0) == 0)
            std::snprintf(line, sizeof line, "/%lld/%lld.%09ld\n", static_cast<long long>(st.st_size),
                          static_cast<long long>(st.st_mtim.tv_sec), static_cast<long>(st.st_mtim.tv_nsec));
        lines.push_back(std::string(name) + line);
        return true;
    });
    std::sort(lines.begin(), lines.end());
    std::string snapshot;
    for (const std::string& l : lines) snapshot += l;
    return QString::fromStdString(snapshot);
}

void removeOwnFolder(const QString& folder, OwnsFileName owns) {
    // The old content of a read-only folder is ours to remove once the new
    // one took its place; left behind, one more would pile up per try.
    const QByteArray path = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(path.constData(), (st.st_mode & 07777) | S_IRWXU);
    // Every entry but a folder (or a link to one): files, links, and what
    // else a folder can hold.
    forEachEntry(folder, [&](int dir, const char* name) {
        struct stat entry {};
        if (owns(QFile::decodeName(name)) && !(::fstatat(dir, name, &entry, 0) == 0 && S_ISDIR(entry.st_mode)))
            ::unlinkat(dir, name, 0);
        return true;
    });
    ::rmdir(path.constData());
}

QString replaceOutputFolder(const QString& folder, const OutputFolderKind& kind,
                            const std::function<bool(const QString& built, QString* why)>& make) {
    const QFileInfo outInfo(folder);
    // A link to a folder stays a link; the folder it points at is replaced.
    const QString target = outInfo.isSymLink() && outInfo.exists() ? outInfo.canonicalFilePath()
                                                                   : QDir::cleanPath(outInfo.absoluteFilePath());
    // Refused before anything is made beside it (the lock, missing parents).
    if (const QString refusal = kind.refusal(target); !refusal.isEmpty()) return refusal;
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(QFileInfo(target).absolutePath()).toStdString(), ec);
    if (ec)
        return QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2.")
            .arg(QFileInfo(target).absolutePath(), systemErrorText(ec.value()));
    OutputFolderLock lock(target);
    QString why;
    if (!lock.tryLock(kind.words.busy, &why)) return why;
    // Asked again under the lock: another run may have written it meanwhile.
    if (const QString refusal = kind.refusal(target); !refusal.isEmpty()) return refusal;
    removeLeftoverBuilds(target, kind.owns);
    const QString before = folderSnapshot(target);
    const QString built = newFolderBeside(target, &why);
    if (built.isEmpty())
        return QStringLiteral("Neben dem Ordner %1 kann kein Ordner für %2 angelegt werden: %3.")
            .arg(target, kind.contents, why);
    if (!make(built, &why)) {
        removeOwnFolder(built, kind.owns);
        return why;
    }
    // A file the user put into the folder meanwhile must neither vanish
    // with the old one nor be replaced.
    const QString failed = folderSnapshot(target) != before ? kind.words.changed.arg(target)
                                                            : swapInBuilt(built, target, kind.owns, kind.words);
    if (!failed.isEmpty()) removeOwnFolder(built, kind.owns);
    return failed;
}

}  // namespace lumo
