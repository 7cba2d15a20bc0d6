#include "base/Settings.h"

#include <memory>

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "base/AppState.h"
#include "base/HostTable.h"
#include "base/TextHelpers.h"

namespace lumo {
namespace {

std::unique_ptr<QSettings> openStore() {
    const AppState& s = appState();
    if (!s.settingsFile.isEmpty()) {
        if (!settingsFileProblem().isEmpty()) return nullptr;
        return std::make_unique<QSettings>(s.settingsFile, QSettings::IniFormat);
    }
    // "RX_Lumo\Co_Lum_Word" names organisation and application of the native store.
    QString appName = s.settingsAppName;
    if (appName.isEmpty()) appName = QStringLiteral("RX_Lumo\\Co_Lum_") + QString::fromLatin1(hostRow(s.hostKind).name);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       beforeFirst(appName, QStringLiteral("\\")),
                                       afterLast(appName, QStringLiteral("\\")));
}

// A hand-edited value with an unquoted comma comes back as a list; it is still one text.
QString asText(const QVariant& v) {
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

}  // namespace

QString settingsFileProblem() {
    const QString& file = appState().settingsFile;
    if (file.isEmpty()) return {};
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink()) return {};  // made at the first save
    if (info.isDir()) return QStringLiteral("Die Einstellungsdatei %1 ist ein Ordner.").arg(file);
    if (!info.isFile())
        return QStringLiteral("Die Einstellungsdatei %1 ist keine gewöhnliche Datei (etwa eine Pipe oder ein "
                              "Gerät) und wird nicht benutzt.").arg(file);
    return {};
}

QString settingsLocation() {
    if (!settingsFileProblem().isEmpty()) return appState().settingsFile;
    return openStore()->fileName();
}

QString getSetting(const QString& section, const QString& key) {
    auto store = openStore();
    if (!store) return {};
    return asText(store->value(section + QLatin1Char('/') + key));
}

void saveSetting(const QString& section, const QString& key, const QString& value) {
    if (auto store = openStore()) store->setValue(section + QLatin1Char('/') + key, value);
}

void deleteSetting(const QString& section) {
    if (section.isEmpty()) return;  // QSettings would take "" for every section
    if (auto store = openStore()) store->remove(section);
}

SettingPairs getAllSettings(const QString& section) {
    auto store = openStore();
    if (!store) return {};
    store->beginGroup(section);
    SettingPairs out;
    for (const QString& key : store->childKeys()) out.append({key, asText(store->value(key))});
    return out;
}

}  // namespace lumo
