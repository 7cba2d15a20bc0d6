#include "base/StartUp.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "base/AppState.h"
#include "base/HostTable.h"
#include "base/ProgramFolder.h"
#include "base/Settings.h"

namespace lumo {
namespace {

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString fromEnv(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

}  // namespace

void initSharedState(const StartupPaths& paths) {
    AppState& s = appState();
    Ui* const ui = s.ui;
    s = AppState{};
    s.ui = ui;

    const HostRow host = hostRow(s.hostKind);
    s.hostName = QString::fromLatin1(host.name);
    s.hostCode = QString::fromLatin1(host.code);
    s.settingsAppName = QStringLiteral("RX_Lumo\\Co_Lum_") + s.hostName;
    s.titleText = s.hostName + QStringLiteral(" Code Lumo ") + QString::number(LUMO_VERSION_MAJOR) + QLatin1Char('.') +
                  QString::number(LUMO_VERSION_MINOR);

    s.settingsFile = paths.settingsFile.isEmpty() ? fromEnv("LUMO_SETTINGS_FILE") : paths.settingsFile;

    if (!paths.programFolder.isEmpty())
        s.programFolder = withSlash(paths.programFolder);
    else if (const QString folder = executableFolder(); !folder.isEmpty())
        s.programFolder = locateShippedFiles(folder);

    QString data = paths.dataFolder.isEmpty() ? fromEnv("LUMO_DATA_DIR") : paths.dataFolder;
    if (data.isEmpty()) {
        // The per-user data folder of this edition: .../RX_Lumo/Co_Lum_Word
        QCoreApplication::setOrganizationName(QStringLiteral("RX_Lumo"));
        QCoreApplication::setApplicationName(QStringLiteral("Co_Lum_") + s.hostName);
        data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    }
    s.tempRoot = withSlash(data) + QStringLiteral("TempDateien/");
    s.workFolder = s.tempRoot;
    QDir().mkpath(s.tempRoot);  // failure shows later, when the run folder cannot be made

    s.options = Options{};
    s.options.screenLayout = QStringLiteral("max");
    s.exportModuleHeadings = true;
    s.options.projectFolder = withSlash(QDir::homePath());
    const QString storedFolder = getSetting(QStringLiteral("proj"), QStringLiteral("proj_pf"));
    if (storedFolder.size() > 1) s.options.projectFolder = storedFolder;
}

}  // namespace lumo
