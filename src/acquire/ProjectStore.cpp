#include "acquire/ProjectStore.h"

#include <optional>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "acquire/BrowseForFolder.h"
#include "acquire/ProjectFiles.h"
#include "acquire/RecentProjects.h"
#include "base/AppState.h"
#include "base/FileHelpers.h"
#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
#include "model/WorkingStore.h"

namespace lumo {
namespace {

const QString kDatabaseName = QStringLiteral("DivuRuvi.mdb");
// A refusal names this many of the files in its way, and "..." for more.
constexpr int kForeignFilesNamed = 10;

// The path with symbolic links resolved as far as it exists; the part that
// does not exist yet is appended as given.
QString resolved(const QString& path) {
    QString rest;
    QString existing = QDir::cleanPath(QDir(path).absolutePath());
    while (!QFileInfo::exists(existing)) {
        const QFileInfo info(existing);
        const QString parent = info.absolutePath();
        if (parent == existing) break;
        rest = QLatin1Char('/') + info.fileName() + rest;
        existing = parent;
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + rest);
}

bool sameFolder(const QString& a, const QString& b) { return resolved(a) == resolved(b); }

}  // namespace

bool isStoredProject(const QString& folder) {
    return QFileInfo(withTrailingBackslash(folder) + kDatabaseName).isFile();
}

bool isAtOrBelow(const QString& path, const QString& folder) {
    const QString p = resolved(path);
    const QString f = resolved(folder);
    return p == f || p.startsWith(withTrailingBackslash(f));
}

// ---------------------------------------------------------------------------
// The recent list

void ProjectStore::fillRecentMenu() {
    recent_ = recentProjectsShown();
    view_.showRecentProjects(recent_);
}

void ProjectStore::addRecent(const QString& folder) {
    recent_ = addRecentProject(folder);
    view_.showRecentProjects(recent_);
}

// ---------------------------------------------------------------------------
// Opening

bool ProjectStore::openProject() {
    const QString folder =
        browseForFolder(ui_, QStringLiteral("Bitte Projekt auswählen"), state_.options.projectFolder);
    if (folder.isEmpty()) return false;
    return openProjectFolder(folder);
}

bool ProjectStore::openProjectFolder(const QString& folder) {
    if (!isStoredProject(folder)) {
        ui_.message(QStringLiteral("Kein Gültiges Projekt"), {}, MsgIcon::Warning);
        return false;
    }
    return showFolder(withTrailingBackslash(folder));
}

bool ProjectStore::openRecent(int index) {
    const QString folder = recentFolder(index);
    if (folder.isEmpty()) return false;
    return showFolder(folder);
}

bool ProjectStore::isIntact(const QString& folder, ProjectRows* rows) {
    store_.closeWorkingDatabase();
    const QString saved = state_.workFolder;
    state_.workFolder = withTrailingBackslash(folder);
    bool ok = true;
    try {
        store_.openWorkingDatabase(StoreAccess::ReadOnly);
        // The rows are read whether or not they are wanted: a store whose
        // rows cannot be read for the trees is no intact one either.
        ProjectRows read;
        ok = storeDamage(store_, &read, TextCheck::OwnRegularFiles).isEmpty();
        if (ok && rows) *rows = std::move(read);
    } catch (const std::exception&) {
        ok = false;
    }
    store_.closeWorkingDatabase();
    state_.workFolder = saved;
    return ok;
}

bool ProjectStore::showFolder(const QString& folder) {
    store_.closeWorkingDatabase();
    bool shown = false;
    ProjectRows rows;
    if (isIntact(folder, &rows)) {
        state_.workFolder = folder;
        shown = view_.showStoredProject(rows);
    } else {
        state_.workFolder = folder;
        ui_.message(QStringLiteral("Projekt in ") + folder + QStringLiteral("\r\nist nicht mehr intakt"), {},
                    MsgIcon::Warning);
        view_.clearProject();
    }
    addRecent(folder);
    if (!shown) {
        // Nothing of it is shown, so nothing may be written into it either.
        store_.closeWorkingDatabase();
        state_.workFolder = state_.runFolder;
        return false;
    }
    view_.storedProjectShown(folderName(folder));
    return true;
}

// ---------------------------------------------------------------------------
// Saving

QString ProjectStore::chooseBase() {
    const Options& o = state_.options;
    if (o.saveBelowProjectFolder && QFileInfo(o.projectFolder).isDir()) return o.projectFolder;
    return browseForFolder(ui_, QStringLiteral("Bitte Projektpfad auswählen"), o.projectFolder);
}

bool ProjectStore::refusedTarget(const QString& name, const QString& target) {
    if (name == QLatin1String(".") || name == QLatin1String("..")) {
        ui_.message(QLatin1Char('"') + name + QStringLiteral("\" ist kein gültiger Projektname"), {},
                    MsgIcon::Information);
        return true;
    }
    if (isAtOrBelow(target, state_.tempRoot)) {
        ui_.message(QStringLiteral("Ein Projekt kann nicht unter\r\n") + state_.tempRoot +
                        QStringLiteral("\r\ngespeichert werden: dieser Ordner wird beim nächsten Start geleert."),
                    {}, MsgIcon::Information);
        return true;
    }
    if (!QFileInfo(target).isDir() || sameFolder(target, state_.workFolder)) return false;
    if (!isStoredProject(target) && !listFiles(target, QStringLiteral("*")).isEmpty()) {
        ui_.message(QStringLiteral("Der Ordner\r\n") + target +
                        QStringLiteral("\r\nenthält Dateien, aber kein Projekt.\r\nBitte einen anderen Namen angeben."),
                    {}, MsgIcon::Warning);
        return true;
    }
    // Overwriting replaces what the program wrote there and nothing else;
    // files of the user's own beside a project are never deleted.
    const QStringList foreign = foreignFiles(target);
    if (!foreign.isEmpty()) {
        ui_.message(QStringLiteral("Der Ordner\r\n") + target +
                        QStringLiteral("\r\nenthält außer dem Projekt auch andere Dateien:\r\n") +
                        foreign.mid(0, kForeignFilesNamed).join(QStringLiteral("\r\n")) +
                        (foreign.size() > kForeignFilesNamed ? QStringLiteral("\r\n...") : QString()) +
                        QStringLiteral("\r\nSie würden beim Überschreiben gelöscht.\r\nBitte einen anderen Namen angeben."),
                    {}, MsgIcon::Warning);
        return true;
    }
    return false;
}

SaveOutcome ProjectStore::saveProjectAs(const QString& defaultName) {
    const QString chosen = chooseBase();
    if (chosen.isEmpty()) return SaveOutcome::Cancelled;
    const QString base = withTrailingBackslash(chosen);
    const std::optional<QString> answer =
        ui_.input(QStringLiteral("Bitte Projektnamen angeben"), QStringLiteral("Projektname"), defaultName);
    if (!answer) return SaveOutcome::Cancelled;
    const QString name = removeInvalidFileNameChars(*answer);
    if (name.isEmpty()) return SaveOutcome::Cancelled;
    const QString target = base + name + QLatin1Char('/');
    if (refusedTarget(name, target)) return SaveOutcome::Failed;

    if (QFileInfo(target).isDir() &&
        ui_.question(QStringLiteral("Ein Projekt:\r\n") + target + QStringLiteral("\r\nexistiert schon\r\nÜberschreiben ?"),
                     MsgButtons::YesNo, MsgIcon::Question) != Answer::Yes)
        return SaveOutcome::Cancelled;

    store_.closeWorkingDatabase();
    const QString source = state_.workFolder;
    // Saved onto the folder it was opened from: its files are the project already.
    if (!sameFolder(target, source)) {
        const QString error = replaceProjectFiles(source, target);
        if (!error.isEmpty()) {
            ui_.message(error, {}, MsgIcon::Warning);
            try {
                store_.openWorkingDatabase(StoreAccess::ReadOnly);
            } catch (const std::exception&) {
                // the project shown stays readable from its views; the next open reports the store
            }
            return SaveOutcome::Failed;
        }
        // A build in the run folder is moved into the stored project; an
        // opened stored project is copied and stays as it was.
        if (isAtOrBelow(source, state_.tempRoot))
            for (const QString& file : listFilesBelow(source, QStringLiteral("*")).files)
                if (file.contains(QStringLiteral("TempDateien"), Qt::CaseInsensitive)) QFile::remove(file);
    }

    state_.workFolder = target;
    try {
        store_.openWorkingDatabase(StoreAccess::ReadOnly);
    } catch (const std::exception&) {
        ui_.message(QStringLiteral("Projekt in ") + target + QStringLiteral("\r\nist nicht mehr intakt"), {},
                    MsgIcon::Warning);
    }
    addRecent(target);
    view_.storedProjectShown(name);
    return SaveOutcome::Saved;
}

}  // namespace lumo
