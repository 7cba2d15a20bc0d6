// "codelumo-cli rtf": the RTF document of one module of a built project, as
// the code view and the RTF export show it, on standard output.
#include <cstdio>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
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
    // The store is checked as every verb checks it before the module's text
    // is read: a damaged, empty or special file in its place is refused.
    int modules = 0;
    if (!openProjectFolder(call.words()[0], module, modules)) return 1;
    WorkingStore& store = WorkingStore::instance();
    QString document;
    try {
        document = store.readModuleText(module);
    } catch (const std::exception& e) {
        store.closeWorkingDatabase();
        printError(germanSystemText(QString::fromStdString(e.what())));
        return 1;
    }
    store.closeWorkingDatabase();
    taggedToRtf(document, appState().options);
    wrapRtfDocument(document, appState().options);
    const QByteArray bytes = rtfFileBytes(document);
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    return std::fflush(stdout) == 0 && written ? 0 : 1;
}

CliRegistration reg{{"rtf", kUsage, "   RTF-Dokument eines Moduls ausgeben", runRtf}};

}  // namespace

}  // namespace lumo::cli
