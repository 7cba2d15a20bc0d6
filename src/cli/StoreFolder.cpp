#include "cli/StoreFolder.h"

#include <cerrno>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QDateTime>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "acquire/ProjectFiles.h"
#include "base/SystemErrors.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

namespace {

const QString kDatabaseName = QStringLiteral("DivuRuvi.mdb");

QString parentOf(const QString& folder) { return QFileInfo(folder).absolutePath(); }
QString nameOf(const QString& folder) { return QFileInfo(folder).fileName(); }

QString escapedForPattern(const QString& name) { return QRegularExpression::escape(name); }

// What a build leaves when killed: store files at most, maybe not all of them.
bool holdsOnlyStoreFiles(const QString& folder) {
    for (const QFileInfo& e :
         QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (e.isSymLink() || !e.isFile() || !isStoreFileName(e.fileName())) return false;
    return true;
}

}  // namespace

QString refusalToReplace(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink()) return {};
    if (!info.isDir())
        return QStringLiteral("%1 ist kein Ordner; das Projekt wird dort nicht angelegt.").arg(folder);
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    if (entries.isEmpty()) {
        if (!info.isReadable() || !info.isExecutable())
            return QStringLiteral("Der Ordner %1 kann nicht gelesen werden: Zugriff verweigert.").arg(folder);
        return {};
    }
    bool database = false;
    for (const QFileInfo& e : entries) {
        if (e.isSymLink() || !e.isFile() || !isStoreFileName(e.fileName()))
            return QStringLiteral("Der Ordner %1 enthält nicht nur ein Projekt von Code Lumo (etwa %2); er wird "
                                  "nicht überschrieben. Bitte geben Sie einen leeren oder neuen Ordner an.")
                .arg(folder, e.fileName());
        if (e.fileName() == kDatabaseName) database = true;
    }
    if (!database || !WorkingStore::holdsStoreTables(folder + QLatin1Char('/') + kDatabaseName))
        return QStringLiteral("Der Ordner %1 enthält keine Projektdatenbank %2 von Code Lumo; er wird nicht "
                              "überschrieben. Bitte geben Sie einen leeren oder neuen Ordner an.")
            .arg(folder, kDatabaseName);
    return {};
}

StoreFolderLock::StoreFolderLock(const QString& folder) : folder_(folder) {}
StoreFolderLock::~StoreFolderLock() = default;

bool StoreFolderLock::tryLock(QString* why) {
    const QString path = parentOf(folder_) + QStringLiteral("/.") + nameOf(folder_) + QStringLiteral(".lumo-lock");
    lock_ = std::make_unique<QLockFile>(path);
    lock_->setStaleLockTime(0);  // only a dead holder's lock is stale
    if (lock_->tryLock(0)) return true;
    qint64 pid = 0;
    QString host, app;
    if (lock_->error() == QLockFile::LockFailedError && lock_->getLockInfo(&pid, &host, &app)) {
        if (why)
            *why = QStringLiteral("In den Ordner %1 wird gerade ein anderes Projekt erzeugt (Prozess %2); bitte "
                                  "warten Sie, bis das fertig ist.").arg(folder_).arg(pid);
    } else if (why) {
        *why = QStringLiteral("Neben dem Ordner %1 kann keine Sperrdatei angelegt werden: %2.")
                   .arg(folder_, lock_->error() == QLockFile::PermissionError ? systemErrorText(EACCES)
                                                                             : QStringLiteral("unbekannter Fehler"));
    }
    lock_.reset();
    return false;
}

void removeLeftovers(const QString& folder) {
    const QRegularExpression leftover(QStringLiteral("^\\.") + escapedForPattern(nameOf(folder)) +
                                      QStringLiteral("\\.(neu|alt)-.{6}$"));
    const QDir parent(parentOf(folder));
    for (const QFileInfo& e : parent.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks))
        if (leftover.match(e.fileName()).hasMatch() && holdsOnlyStoreFiles(e.absoluteFilePath()))
            removeStoreFolder(e.absoluteFilePath());
}

QString makeBuildFolder(const QString& folder, QString* why) {
    const QString pattern = parentOf(folder) + QStringLiteral("/.") + nameOf(folder) + QStringLiteral(".neu-XXXXXX");
    QByteArray bytes = QFile::encodeName(pattern);
    if (!::mkdtemp(bytes.data())) {
        if (why) *why = systemErrorText(errno);
        return {};
    }
    // mkdtemp makes it for the owner alone; the store gets the mode a new
    // folder would have, or the old folder's.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0777 & ~mask;
    struct stat st {};
    if (::stat(QFile::encodeName(folder).constData(), &st) == 0) mode = st.st_mode & 07777;
    ::chmod(bytes.constData(), mode | S_IRWXU);
    return QFile::decodeName(bytes);
}

QString swapIn(const QString& built, const QString& folder) {
    const QByteArray from = QFile::encodeName(built);
    const QByteArray to = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(to.constData(), &st) != 0) {
        if (::rename(from.constData(), to.constData()) == 0) return {};
        return QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2.").arg(folder, systemErrorText(errno));
    }
    // One step: both names swap their folders at once, so there is no
    // moment without a complete store under the folder's name.
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0) {
        // A file the user put in after the last look would be hidden with
        // the old store: the old folder comes back instead.
        if (!holdsOnlyStoreFiles(built)) {
            ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE);
            return changedDuringBuild(folder);
        }
        removeStoreFolder(built);  // now the old store
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS)
        return QStringLiteral("Das neue Projekt kann nicht an die Stelle von %1 treten: %2.")
            .arg(folder, systemErrorText(errno));
    // A file system without the exchange: the old folder steps aside first
    // and comes back when the new one cannot take its place.
    QByteArray aside = QFile::encodeName(parentOf(folder) + QStringLiteral("/.") + nameOf(folder) +
                                         QStringLiteral(".alt-XXXXXX"));
    if (!::mkdtemp(aside.data()) || ::rename(to.constData(), aside.constData()) != 0) {
        const int e = errno;
        ::rmdir(aside.constData());
        return QStringLiteral("Das neue Projekt kann nicht an die Stelle von %1 treten: %2.")
            .arg(folder, systemErrorText(e));
    }
    if (::rename(from.constData(), to.constData()) != 0) {
        const int e = errno;
        ::rename(aside.constData(), to.constData());
        return QStringLiteral("Das neue Projekt kann nicht an die Stelle von %1 treten: %2.")
            .arg(folder, systemErrorText(e));
    }
    removeStoreFolder(QFile::decodeName(aside));
    return {};
}

QString folderSnapshot(const QString& folder) {
    QString snapshot;
    for (const QFileInfo& e : QDir(folder).entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        snapshot += QStringLiteral("%1/%2/%3\n")
                        .arg(e.fileName())
                        .arg(e.size())
                        .arg(e.lastModified().toMSecsSinceEpoch());
    return snapshot;
}

QString changedDuringBuild(const QString& folder) {
    return QStringLiteral("Der Ordner %1 wurde während des Baus verändert; das neue Projekt tritt nicht an seine "
                          "Stelle. Bitte prüfen Sie den Ordner und erzeugen Sie das Projekt erneut.")
        .arg(folder);
}

void removeStoreFolder(const QString& folder) {
    // The old store of a read-only project folder is ours to remove once the
    // new one took its place; left behind, one more would pile up per try.
    const QByteArray path = QFile::encodeName(folder);
    struct stat st {};
    if (::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
        (st.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(path.constData(), (st.st_mode & 07777) | S_IRWXU);
    QDir dir(folder);
    for (const QFileInfo& e : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (isStoreFileName(e.fileName())) QFile::remove(e.absoluteFilePath());
    QDir().rmdir(folder);
}

}  // namespace lumo::cli
