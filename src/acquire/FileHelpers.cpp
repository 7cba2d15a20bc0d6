#include "acquire/FileHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/TextHelpers.h"

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

QString removeInvalidFileNameChars(const QString& name) {
    static const QString invalid = QStringLiteral("/\\:*?<>|\"");
    QString out;
    out.reserve(name.size());
    for (const QChar c : name)
        if (!invalid.contains(c)) out += c;
    return out;
}

}  // namespace lumo
