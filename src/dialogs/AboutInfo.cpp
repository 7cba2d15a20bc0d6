#include "dialogs/AboutInfo.h"

#include <QSysInfo>
#include <QtGlobal>

#include "base/AppState.h"
#include "base/Settings.h"

namespace lumo {

QString aboutText(const AppState& state) {
    return state.titleText + QStringLiteral("\r\n\r\nBrowser und Dokumentierer für VBA-Code");
}

QString systemInformation(const AppState& state) {
    const QString crlf = QStringLiteral("\r\n");
    return state.titleText + crlf + crlf +                                                            //
           QStringLiteral("Qt-Version: ") + QString::fromLatin1(qVersion()) + crlf +                 //
           QStringLiteral("Betriebssystem: ") + QSysInfo::prettyProductName() + QStringLiteral(" (") +
           QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion() + QStringLiteral(", ") +
           QSysInfo::currentCpuArchitecture() + QStringLiteral(")") + crlf +                      //
           QStringLiteral("Programmordner: ") + state.programFolder + crlf +                          //
           QStringLiteral("Einstellungen: ") + settingsLocation() + crlf +                            //
           QStringLiteral("Arbeitsordner: ") + state.workFolder + crlf +                              //
           QStringLiteral("Temporäre Dateien: ") + state.tempRoot;
}

}  // namespace lumo
