#include "acquire/ProjectFiles.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "base/FileHelpers.h"
#include "base/SystemErrors.h"
#include "base/TextHelpers.h"

namespace lumo {
namespace {

std::filesystem::path fsPath(const QString& path) { return std::filesystem::path(QFile::encodeName(path).toStdString()); }

QString moveFile(const QString& from, const QString& to) {
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    return ec ? germanSystemText(QString::fromStdString(ec.message())) : QString();
}

QString failure(const QString& operation, const QString& path, const QString& reason) {
    return QStringLiteral("Das Projekt konnte nicht gespeichert werden.\r\nFehler beim ") + operation +
           QStringLiteral(":\r\n") + path + (reason.isEmpty() ? QString() : QStringLiteral("\r\n") + reason);
}

struct Move {
    QString from, to;
};

// Takes back the moves in reverse order; what cannot be moved back stays
// where it is (in the staging folder nothing is deleted but by the caller).
void undo(const std::vector<Move>& moves) {
    for (auto it = moves.rbegin(); it != moves.rend(); ++it) moveFile(it->to, it->from);
}

}  // namespace

bool isStoreFileName(const QString& name) {
    static const QRegularExpression storeFile(
        QStringLiteral("^(DivuRuvi\\.mdb(-journal|-wal|-shm)?|M[0-9]+\\.txt)(\\.neu)?$"));
    return storeFile.match(name).hasMatch();
}

QStringList foreignFiles(const QString& folder) {
    QStringList names;
    for (const QString& file : listFiles(folder, QStringLiteral("*")))
        if (!isStoreFileName(fileNamePart(file))) names << fileNamePart(file);
    names.sort();
    return names;
}

QString replaceProjectFiles(const QString& sourceFolder, const QString& targetFolder) {
    const QString target = withTrailingBackslash(targetFolder);
    const QFileInfo targetInfo(target.chopped(1));
    const bool targetExisted = targetInfo.isDir();

    auto staging = std::make_unique<QTemporaryDir>(targetInfo.absolutePath() + QStringLiteral("/.") +
                                                   targetInfo.fileName() + QStringLiteral("-XXXXXX"));
    if (!staging->isValid() && targetExisted)
        staging = std::make_unique<QTemporaryDir>(target + QStringLiteral(".lumo-XXXXXX"));
    if (!staging->isValid())
        return failure(QStringLiteral("Anlegen des Ordners"), targetInfo.absolutePath(), germanSystemText(staging->errorString()));
    const QString stage = withTrailingBackslash(staging->path());

    // 1. The copy, where a full disk or an unreadable file costs nothing.
    for (const QString& file : listFiles(sourceFolder, QStringLiteral("*"))) {
        QFile source(file);
        if (!source.copy(stage + fileNamePart(file)))
            return failure(QStringLiteral("Kopieren der Datei"), file, germanSystemText(source.errorString()));
    }
    // Checked again right before anything moves, whatever the caller asked.
    if (const QStringList foreign = foreignFiles(target); !foreign.isEmpty())
        return failure(QStringLiteral("Leeren des Ordners"), target,
                       QStringLiteral("Er enthält Dateien, die nicht zum Projekt gehören: ") +
                           foreign.join(QStringLiteral(", ")));
    if (!targetExisted && !QDir().mkdir(target.chopped(1)))
        return failure(QStringLiteral("Anlegen des Ordners"), target, QString());

    const auto giveUp = [&](const std::vector<Move>& moves, const QString& text) {
        undo(moves);
        if (!targetExisted) QDir().rmdir(target.chopped(1));
        return text;
    };

    // 2. The old files aside, into the staging folder.
    const QString aside = stage + QStringLiteral("alt/");
    if (!QDir().mkdir(aside.chopped(1))) return giveUp({}, failure(QStringLiteral("Leeren des Ordners"), target, QString()));
    std::vector<Move> moved;
    for (const QString& file : listFiles(target, QStringLiteral("*"))) {
        if (!isStoreFileName(fileNamePart(file))) continue;  // one that came meanwhile stays
        const Move m{file, aside + fileNamePart(file)};
        if (const QString why = moveFile(m.from, m.to); !why.isEmpty())
            return giveUp(moved, failure(QStringLiteral("Leeren des Ordners"), file, why));
        moved.push_back(m);
    }

    // 3. The new files in.
    std::vector<Move> placed;
    for (const QString& file : listFiles(stage, QStringLiteral("*"))) {
        const Move m{file, target + fileNamePart(file)};
        if (const QString why = moveFile(m.from, m.to); !why.isEmpty()) {
            undo(placed);
            return giveUp(moved, failure(QStringLiteral("Kopieren in den Ordner"), m.to, why));
        }
        placed.push_back(m);
    }
    return {};  // the staging folder goes with the old files
}

}  // namespace lumo
