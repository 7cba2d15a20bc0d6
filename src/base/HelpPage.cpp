#include "base/HelpPage.h"

#include <QFileInfo>

#include "base/AppState.h"
#include "base/FileHelpers.h"
#include "base/Ui.h"

namespace lumo {
namespace {

const QString kHelpPageName = QStringLiteral("Code Lumo.html");

}  // namespace

QString helpPageFile() { return withTrailingBackslash(appState().programFolder) + kHelpPageName; }

void openHelpPage(Ui& ui) {
    const QString file = helpPageFile();
    if (QFileInfo::exists(file)) {
        if (!ui.openInViewer(file))
            ui.message(QStringLiteral("Die Hilfsdatei ") + file + QStringLiteral(" konnte nicht angezeigt werden."));
        return;
    }
    const QString& name = kHelpPageName;
    ui.message(QStringLiteral("Die Hilfsdatei:\r\n") + name + QStringLiteral("\r\nkonnte nicht gefunden werden. \r\n") +
               QStringLiteral("Diese muss im selben Verzeichnis wie") + appState().hostCode +
               QStringLiteral("_RX.exe installiert werden.\r\n") + QStringLiteral("Bitte kopieren Sie also ") + name +
               QStringLiteral(" nach:\r\n") + withTrailingBackslash(appState().programFolder));
}

}  // namespace lumo
