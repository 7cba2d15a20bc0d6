#include "app/RunSession.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>

#include "base/AppState.h"
#include "base/FileHelpers.h"
#include "base/Limits.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "model/WorkingStore.h"

namespace lumo {
namespace {

const QString kMarker = QStringLiteral("TempDateien");
const QString kLockSuffix = QStringLiteral(".lock");

std::unique_ptr<QLockFile> makeLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // A live holder's lock never goes stale by age; only a dead holder's does.
    lock->setStaleLockTime(0);
    return lock;
}

// True when a running process holds the lock at path. A stale or unreadable
// lock is removed on the way.
bool heldByRunningProcess(const QString& path) {
    if (!QFileInfo::exists(path)) return false;
    auto probe = makeLock(path);
    if (probe->tryLock(0)) {
        probe->unlock();
        return false;
    }
    qint64 pid = 0;
    QString host, app;
    if (probe->error() == QLockFile::LockFailedError && probe->getLockInfo(&pid, &host, &app)) return true;
    QFile::remove(path);  // not a lock any process could hold
    return false;
}

bool contains(const QString& path, const QString& marker) { return path.contains(marker, Qt::CaseInsensitive); }

bool inside(const QString& path, const QStringList& folders) {
    for (const QString& f : folders)
        if (path == f || path.startsWith(withTrailingBackslash(f))) return true;
    return false;
}

// Deletes the marked files below the tree and then its marked folders, the
// deepest first, skipping everything inside keep. Errors leave things for a later start.
void removeBelow(const FileTree& tree, const QStringList& keep, const QStringList& keepFiles) {
    for (const QString& file : tree.files) {
        if (!contains(file, kMarker) || inside(file, keep) || keepFiles.contains(file)) continue;
        QFile::remove(file);
    }
    for (qsizetype i = tree.folders.size() - 1; i >= 1; --i) {
        const QString& folder = tree.folders[i];
        if (contains(folder, kMarker) && !inside(folder, keep)) QDir().rmdir(folder);
    }
}

}  // namespace

RunSession::RunSession(AppState& state, std::function<int()> draw) : state_(state), draw_(std::move(draw)) {
    if (!draw_) draw_ = [] { return int(QRandomGenerator::global()->bounded(1, kMaxRunNumber + 1)); };
}

RunSession::~RunSession() = default;

bool RunSession::isFirstInstance() const { return instanceLock_ && instanceLock_->isLocked(); }
bool RunSession::hasRunFolder() const { return runLock_ != nullptr; }

bool RunSession::cleanUpTempRoot() {
    if (!isFirstInstance()) {
        auto lock = makeLock(state_.tempRoot + QStringLiteral("lumo") + kLockSuffix);
        if (!lock->tryLock(0)) return false;
        instanceLock_ = std::move(lock);
    }
    const FileTree tree = listFilesBelow(state_.tempRoot, QStringLiteral("*"));
    QStringList keep;
    if (hasRunFolder()) keep << state_.runFolder;
    for (qsizetype i = 1; i < tree.folders.size(); ++i)
        if (heldByRunningProcess(tree.folders[i] + kLockSuffix)) keep << tree.folders[i];
    QStringList keepFiles{instanceLock_->fileName()};
    for (const QString& file : tree.files)
        if (file.endsWith(kLockSuffix) && QFileInfo::exists(file) && heldByRunningProcess(file)) keepFiles << file;
    removeBelow(tree, keep, keepFiles);
    return true;
}

bool RunSession::createRunFolder(Ui& ui) {
    if (hasRunFolder()) return true;  // a run has one folder; shutdown relies on it never moving
    const QString base = withTrailingBackslash(state_.tempRoot);
    // Start-up makes TempRoot without a word; when that failed, this is
    // where the user learns why.
    std::error_code rootError;
    std::filesystem::create_directories(QFile::encodeName(base).toStdString(), rootError);
    if (rootError) {
        state_.runFolder = state_.workFolder;
        ui.message(QStringLiteral("Der Datenordner %1 kann nicht angelegt werden: %2. Ohne ihn kann kein Code "
                                  "eingelesen werden.").arg(base, systemErrorText(rootError.value())));
        return false;
    }
    for (int attempt = 0; attempt < kMaxRunNumberDraws; ++attempt) {
        const QString path = base + QStringLiteral("T_") + QString::number(draw_());
        if (QFileInfo::exists(path)) continue;
        // The lock comes first: a clean-up that runs meanwhile leaves a locked folder alone.
        auto lock = makeLock(path + kLockSuffix);
        if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) continue;
        std::error_code ec;
        const bool made = std::filesystem::create_directory(QFile::encodeName(path).toStdString(), ec);
        if (ec) {
            state_.runFolder = state_.workFolder;
            ui.message(QStringLiteral("Der Arbeitsordner %1 kann nicht angelegt werden: %2.")
                           .arg(path, systemErrorText(ec.value())));
            return false;
        }
        if (!made) continue;  // another instance took that number this very moment
        state_.workFolder = withTrailingBackslash(path);
        state_.runFolder = state_.workFolder;
        runLock_ = lock->isLocked() ? std::move(lock) : nullptr;
        if (!runLock_) runLock_ = makeLock(path + kLockSuffix);  // folder made, lock unavailable: still ours
        return true;
    }
    state_.runFolder = state_.workFolder;
    ui.message(QStringLiteral("Kein freier Ordnername unter ") + base);
    return false;
}

void RunSession::shutdown() {
    WorkingStore::instance().closeWorkingDatabase();
    state_.workFolder = state_.runFolder;
    // Without a run folder of our own, runFolder is TempRoot itself, which
    // other instances share: nothing below it is ours to delete.
    if (hasRunFolder() && !state_.runFolder.isEmpty()) {
        const FileTree tree = listFilesBelow(state_.runFolder, QStringLiteral("*"));
        removeBelow(tree, {}, {});
        QDir().rmdir(state_.runFolder);
        runLock_.reset();  // unlocks and removes the lock file
    }
    instanceLock_.reset();
}

RunSession& runSession() {
    static RunSession session(appState());
    return session;
}

}  // namespace lumo
