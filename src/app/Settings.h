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

// The file (or store path) the settings live in, for the user to find them.
QString settingsLocation();

}  // namespace lumo
