#include "base/Settings.h"

#include <memory>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include "base/AppState.h"
#include "base/HostTable.h"
#include "base/TextHelpers.h"

namespace lumo {
namespace {

// The store of this run, parsed once: a large file would otherwise be read
// again for every value. It is parsed again only when another store is
// chosen (tests, LUMO_SETTINGS_FILE) or its file changed on disk (another
// instance saved its options).
class OpenedStore {
public:
    QSettings* get() {
        const AppState& s = appState();
        if (!s.settingsFile.isEmpty() && !settingsFileProblem().isEmpty()) return nullptr;
        const QString key = s.settingsFile.isEmpty() ? nativeName(s) : s.settingsFile;
        if (settings_ && key == key_ && !changedOnDisk()) return settings_.get();
        if (!s.settingsFile.isEmpty()) {
            settings_ = std::make_unique<QSettings>(s.settingsFile, QSettings::IniFormat);
        } else {
            // "RX_Lumo\Co_Lum_Word" names organisation and application of the native store.
            settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                    beforeFirst(key, QStringLiteral("\\")),
                                                    afterLast(key, QStringLiteral("\\")));
        }
        key_ = key;
        remember();
        return settings_.get();
    }
    // Written at once, as every change always was, so that another instance
    // finds it; what was written needs no parsing again. Within a batch the
    // file is written once, when the batch ends: each write makes a lock
    // file and a new file beside the old one, and a list of ten entries
    // would otherwise be written eleven times.
    void written() {
        if (batches_ > 0) {
            pending_ = true;
            return;
        }
        settings_->sync();
        remember();
    }
    void beginBatch() { ++batches_; }
    void endBatch() {
        if (--batches_ > 0 || !pending_) return;
        pending_ = false;
        if (settings_) written();
    }

private:
    static QString nativeName(const AppState& s) {
        if (!s.settingsAppName.isEmpty()) return s.settingsAppName;
        return QStringLiteral("RX_Lumo\\Co_Lum_") + QString::fromLatin1(hostRow(s.hostKind).name);
    }
    // Asked before every value: the system's own record, to the nanosecond,
    // without converting the time (a date in local time looks up the time
    // zone on every call).
    struct Stamp {
        bool exists = false;
        qint64 seconds = 0, nanoseconds = 0, size = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp stampOnDisk() const {
        struct stat st {};
        if (::stat(QFile::encodeName(settings_->fileName()).constData(), &st) != 0) return {};
        return {true, qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec), qint64(st.st_size)};
    }
    bool changedOnDisk() const { return stampOnDisk() != stamp_; }
    void remember() { stamp_ = stampOnDisk(); }

    QString key_;
    Stamp stamp_;
    int batches_ = 0;
    bool pending_ = false;
    std::unique_ptr<QSettings> settings_;
};

OpenedStore& opened() {
    static OpenedStore store;
    return store;
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
    // Ignored, it would pass for empty, and the user's options for lost.
    if (!info.isReadable())
        return QStringLiteral("Die Einstellungsdatei %1 kann nicht gelesen werden (Zugriff verweigert) und wird "
                              "nicht benutzt.").arg(file);
    return {};
}

QString settingsLocation() {
    if (!settingsFileProblem().isEmpty()) return appState().settingsFile;
    return opened().get()->fileName();
}

QString getSetting(const QString& section, const QString& key) {
    QSettings* store = opened().get();
    if (!store) return {};
    return asText(store->value(section + QLatin1Char('/') + key));
}

void saveSetting(const QString& section, const QString& key, const QString& value) {
    if (QSettings* store = opened().get()) {
        store->setValue(section + QLatin1Char('/') + key, value);
        opened().written();
    }
}

void deleteSetting(const QString& section) {
    if (section.isEmpty()) return;  // QSettings would take "" for every section
    if (QSettings* store = opened().get()) {
        store->remove(section);
        opened().written();
    }
}

SettingsBatch::SettingsBatch() { opened().beginBatch(); }
SettingsBatch::~SettingsBatch() { opened().endBatch(); }

SettingPairs getAllSettings(const QString& section) {
    QSettings* store = opened().get();
    if (!store) return {};
    store->beginGroup(section);
    SettingPairs out;
    for (const QString& key : store->childKeys()) out.append({key, asText(store->value(key))});
    store->endGroup();
    return out;
}

}  // namespace lumo
