#include "base/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/ReadError.h"
#include "base/SystemErrors.h"
#include "base/TextHelpers.h"

namespace lumo {
namespace {

constexpr QDir::Filters kFiles = QDir::Files | QDir::Hidden | QDir::System;

QStringList nameFilter(const QString& extension) {
    // "*.*" matched every name on the original platform, dotless ones included.
    if (extension == QLatin1String("*")) return {QStringLiteral("*")};
    return {QStringLiteral("*.") + extension};
}

void collectFolders(const QString& folder, QStringList& out) {
    const QFileInfoList subs =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, QDir::Unsorted);
    QStringList direct;
    for (const QFileInfo& info : subs) direct << withTrailingBackslash(folder) + info.fileName();
    out << direct;
    for (const QString& sub : direct) collectFolders(sub, out);
}

}  // namespace

QString withTrailingBackslash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QStringList listFiles(const QString& folder, const QString& extension) {
    const QString base = withTrailingBackslash(folder);
    QStringList out;
    for (const QString& name : QDir(base).entryList(nameFilter(extension), kFiles, QDir::Unsorted)) out << base + name;
    return out;
}

FileTree listFilesBelow(const QString& folder, const QString& extension) {
    FileTree tree;
    tree.folders << withTrailingBackslash(folder);
    if (!QFileInfo(folder).isDir()) return tree;
    collectFolders(tree.folders.first(), tree.folders);
    for (const QString& f : tree.folders) tree.files << listFiles(f, extension);
    return tree;
}

bool copyFilesTo(const QString& sourceFolder, const QString& targetFolder) {
    const QString target = withTrailingBackslash(targetFolder);
    bool ok = true;
    for (const QString& file : listFiles(sourceFolder, QStringLiteral("*"))) {
        const QString to = target + fileNamePart(file);
        if (QFileInfo(to).canonicalFilePath() == QFileInfo(file).canonicalFilePath()) continue;  // same file
        if (QFileInfo::exists(to) && !QFile::remove(to)) {
            ok = false;
            continue;
        }
        ok = QFile::copy(file, to) && ok;
    }
    return ok;
}

void clearFolder(const QString& folder) {
    for (const QString& file : listFiles(folder, QStringLiteral("*"))) QFile::remove(file);
}

namespace {

QHash<QString, QByteArray>& nativePaths() {
    static QHash<QString, QByteArray> paths;
    return paths;
}

}  // namespace

void rememberNativePath(const QString& shown, const QByteArray& bytes) { nativePaths().insert(shown, bytes); }

QByteArray nativePath(const QString& path) {
    const auto& paths = nativePaths();
    if (!paths.isEmpty()) {
        const auto it = paths.constFind(path);
        if (it != paths.constEnd()) return it.value();
    }
    return QFile::encodeName(path);
}

PathStatus pathStatus(const QString& path) {
    const QByteArray native = nativePath(path);
    PathStatus status;
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        status.brokenLink = ::lstat(native.constData(), &st) == 0 && S_ISLNK(st.st_mode);
        return status;
    }
    status.exists = true;
    status.folder = S_ISDIR(st.st_mode);
    status.regularFile = S_ISREG(st.st_mode);
    status.enterable = status.folder && ::access(native.constData(), R_OK | X_OK) == 0;
    return status;
}

QByteArray readRegularFile(const QString& path, qint64 maxSize) {
    // Non-blocking, so that opening a pipe without a writer returns at once.
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw ReadError(QStringLiteral("Die Datei kann nicht geöffnet werden: %1.").arg(systemErrorText(errno)));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        throw ReadError(QStringLiteral("Die Datei kann nicht gelesen werden: %1.").arg(systemErrorText(errno)));
    if (S_ISDIR(st.st_mode)) throw ReadError(QStringLiteral("Das ist ein Ordner, keine Datei."));
    if (!S_ISREG(st.st_mode)) throw ReadError(QStringLiteral("Das ist keine gewöhnliche Datei."));
    if (st.st_size > maxSize)
        throw ReadError(QStringLiteral("Die Datei ist größer als %1 MB und wird nicht gelesen.").arg(maxSize / (1024 * 1024)));
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0)
            throw ReadError(QStringLiteral("Die Datei kann nicht gelesen werden: %1.").arg(systemErrorText(errno)));
        if (got == 0) break;  // cut short meanwhile: what is there
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

QString removeInvalidFileNameChars(const QString& name) {
    static const QString invalid = QStringLiteral("/\\:*?<>|\"");
    QString out;
    out.reserve(name.size());
    for (const QChar c : name)
        if (!invalid.contains(c)) out += c;
    return out;
}

}  // namespace lumo
