// "codelumo-cli rtf": the RTF document of one module of a built project, as
// the code view and the RTF export show it, on standard output.
#include <cstdio>

#include <QDir>
#include <QFileInfo>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "model/WorkingStore.h"
#include "render/RtfRenderer.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "rtf --module N ORDNER";

int runRtf(const QStringList& args) {
    int module = 0;
    Arguments call;
    call.number("module", module);
    if (!call.read(args) || module < 1 || !call.hasWords(1)) return usageError(kUsage);
    const QString& folder = call.words()[0];
    if (!initCliState()) return 1;
    appState().workFolder = QDir(folder).absolutePath() + QLatin1Char('/');
    const WorkingStore& store = WorkingStore::instance();
    if (!QFileInfo::exists(store.moduleTextPath(module))) {
        printError(QStringLiteral("Modul %1 gibt es in %2 nicht").arg(module).arg(appState().workFolder));
        return 1;
    }
    QString document;
    try {
        document = store.readModuleText(module);
    } catch (const std::exception& e) {
        printError(germanSystemText(QString::fromStdString(e.what())));
        return 1;
    }
    taggedToRtf(document, appState().options);
    wrapRtfDocument(document, appState().options);
    const QByteArray bytes = rtfFileBytes(document);
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    return std::fflush(stdout) == 0 && written ? 0 : 1;
}

CliRegistration reg{{"rtf", kUsage, "   RTF-Dokument eines Moduls ausgeben", runRtf}};

}  // namespace

}  // namespace lumo::cli
