#include "cli/CliState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "base/AppState.h"
#include "base/FileHelpers.h"
#include "base/OptionsStore.h"
#include "base/Settings.h"
#include "base/StartUp.h"
#include "cli/ConsoleUi.h"
#include "render/CodePage.h"

namespace lumo::cli {

namespace {

QString& codePageGiven() {
    static QString name;
    return name;
}

}  // namespace

bool initCliState() {
    initSharedState();
    const QString problem = settingsFileProblem();
    if (!problem.isEmpty()) {
        printError(problem);
        return false;
    }
    loadOptions(appState().options);
    if (!codePageGiven().isEmpty()) appState().options.codePage = codePageGiven();
    return true;
}

QStringList takeGlobalOptions(int argc, char** argv, QString* problem) {
    QList<QByteArray> raw;
    for (int i = 1; i < argc; ++i) raw << QByteArray(argv[i]);
    QList<QByteArray> rest;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != "--codepage" && !raw[i].startsWith("--codepage=")) {
            rest << raw[i];
            continue;
        }
        QString name;
        if (raw[i] == "--codepage") {
            if (i + 1 >= raw.size()) {
                *problem = QStringLiteral("--codepage braucht den Namen einer Codepage (etwa windows-1252).");
                return {};
            }
            name = QString::fromLocal8Bit(raw[++i]);
        } else {
            name = QString::fromLocal8Bit(raw[i].mid(11));
        }
        if (codePageOfName(name) == 0) {
            *problem = QStringLiteral("Die Codepage »%1« ist unbekannt oder auf diesem System nicht lesbar "
                                      "(bekannt sind etwa windows-1252, windows-1250, shift_jis, utf-8).")
                           .arg(name);
            return {};
        }
        codePageGiven() = name;
    }
    QStringList args;
    bool decodeInForce = false;
    for (const QByteArray& a : rest) decodeInForce |= !isValidUtf8(a);
    // Such a name is decoded as the files in the folders are: the code page
    // given, else the one the settings hold.
    if (decodeInForce && codePageGiven().isEmpty()) {
        initSharedState();
        if (settingsFileProblem().isEmpty()) loadOptions(appState().options);
    } else if (decodeInForce) {
        appState().options.codePage = codePageGiven();
    }
    for (const QByteArray& a : rest) {
        if (isValidUtf8(a)) {
            args << QString::fromUtf8(a);
            continue;
        }
        const QString shown = decodeFileText(a);
        rememberNativePath(shown, a);
        // The readers make paths absolute before they open them.
        const QFileInfo info(shown);
        if (info.isRelative())
            rememberNativePath(info.absoluteFilePath(), QFile::encodeName(QDir::currentPath()) + '/' + a);
        args << shown;
    }
    return args;
}

}  // namespace lumo::cli
