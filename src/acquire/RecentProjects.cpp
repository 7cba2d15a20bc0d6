#include "acquire/RecentProjects.h"

#include <QDir>
#include <QFileInfo>

#include "base/FileHelpers.h"
#include "base/Settings.h"
#include "base/TextHelpers.h"

namespace lumo {
namespace {

const QString kSection = QStringLiteral("recent");

bool folderExists(const QString& folder) { return !folder.isEmpty() && QFileInfo(folder).isDir(); }

// Entries written before paths were cleaned may be relative or hold "./";
// they compare by their clean form.
bool sameFolder(const QString& a, const QString& b) { return recentFolderPath(a) == recentFolderPath(b); }

}  // namespace

QString recentFolderPath(const QString& folder) {
    if (folder.isEmpty()) return folder;
    return withTrailingBackslash(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
}

QString folderName(const QString& folder) {
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return fileNamePart(path);
}

QString recentCaption(int index, const QString& folder) {
    return QLatin1Char('&') + QString::number(index) + QStringLiteral(" - ") + folderName(folder);
}

QStringList recentProjectsShown() {
    QStringList out;
    for (const auto& [key, folder] : getAllSettings(kSection)) {
        if (out.size() == kRecentProjects) break;
        if (folderExists(folder)) out << folder;
    }
    return out;
}

QStringList addRecentProject(const QString& folder) {
    const SettingPairs old = getAllSettings(kSection);
    const QString added = recentFolderPath(folder);
    QStringList out{added};
    for (qsizetype i = 0; i < old.size() && i < kRecentProjects - 1; ++i) {
        const QString& entry = old[i].second;
        if (sameFolder(entry, added) || !folderExists(entry)) continue;
        out << entry;
    }
    SettingPairs now;
    for (qsizetype i = 0; i < out.size(); ++i) now.append({QLatin1Char('F') + QString::number(i), out[i]});
    // Opening the project that heads the list already changes nothing: the
    // settings file is left alone.
    if (now == old) return out;
    const SettingsBatch batch;
    deleteSetting(kSection);
    for (const auto& [key, entry] : now) saveSetting(kSection, key, entry);
    return out;
}

}  // namespace lumo
