#pragma once
// The per-user settings store under AppState::settingsAppName: sections
// ("optionen", "proj", "recent") of keys with text values.
#include <QList>
#include <QPair>
#include <QString>

namespace lumo {

using SettingPairs = QList<QPair<QString, QString>>;

// The stored text, or "" when the section or key does not exist.
QString getSetting(const QString& section, const QString& key);
void saveSetting(const QString& section, const QString& key, const QString& value);
// Deletes the whole section; a missing section is no error.
void deleteSetting(const QString& section);
// The (key, value) pairs of the section in the store's order (keys sorted); empty when missing.
SettingPairs getAllSettings(const QString& section);

// Writes made while one lives reach the file together, when the last ends.
class SettingsBatch {
public:
    SettingsBatch();
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;
};

// The file (or store path) the settings live in, for the user to find them.
QString settingsLocation();

// Why the settings file chosen for this run (AppState::settingsFile) cannot
// be used, in German; empty when it can. Only a regular file (or none yet)
// can: reading a pipe would block, a device never end. While it cannot be
// used, reading gives nothing and writing is dropped.
QString settingsFileProblem();

}  // namespace lumo
