// "codelumo-cli export": what the export commands of the window produce from
// a stored project, for scripts and documentation builds: HTML (without the
// footer question; --footer adds the footer as a Yes would), the RTF file,
// a module's plain text, the project tree's structure listing.
#include <cstdio>
#include <vector>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "export/ExportCommands.h"
#include "export/Html.h"
#include "export/RoutineListing.h"
#include "export/RtfExport.h"
#include "export/StructureListing.h"
#include "export/TextExport.h"
#include "model/CodeDatabase.h"
#include "model/WorkingStore.h"
#include "render/PlainText.h"
#include "render/RtfRenderer.h"
#include "view/NodeList.h"
#include "view/ProjectTree.h"

namespace lumo::cli {

namespace {

enum class Format { None, Html, Rtf, Text, Structure };

struct ExportArgs {
    Format format = Format::None;
    int module = 0;  // 0: the whole project
    bool footer = false;
    bool longForm = false;  // --long: the structure with kind, visibility and signature per routine
    QString out;     // "": standard output
    QString folder;
};

const char* const kUsage =
    "export (--html|--rtf|--text|--structure [--long]) [--module N] [--footer] [--out DATEI] ORDNER";

// False when the words are off.
bool parseArgs(const QStringList& args, ExportArgs& a) {
    auto format = [&a](Format f) {
        return [&a, f] {
            const bool first = a.format == Format::None;
            a.format = f;
            return first;
        };
    };
    Arguments call;
    call.flag("html", format(Format::Html))
        .flag("rtf", format(Format::Rtf))
        .flag("text", format(Format::Text))
        .flag("structure", format(Format::Structure))
        .flag("footer", a.footer)
        .flag("long", a.longForm)
        .number("module", a.module)
        .text("out", a.out);
    if (!call.read(args) || !call.hasWords(1) || a.format == Format::None) return false;
    a.folder = call.words()[0];
    // A module's plain text is the one export without a project form; the
    // footer belongs to HTML, the module choice to everything but the tree.
    if (a.format == Format::Text && a.module == 0) return false;
    if (a.footer && a.format != Format::Html) return false;
    if (a.longForm && a.format != Format::Structure) return false;
    return !(a.format == Format::Structure && a.module != 0);
}

// An export's bytes in the pieces it was made in: a whole project's HTML is
// held once, as UTF-8, and never joined into one block.
using Pieces = std::vector<QByteArray>;

bool writeOut(const QString& out, const Pieces& pieces) {
    if (out.isEmpty()) {
        bool written = true;
        for (const QByteArray& b : pieces)
            written = written && std::fwrite(b.constData(), 1, size_t(b.size()), stdout) == size_t(b.size());
        return std::fflush(stdout) == 0 && written;
    }
    QSaveFile file(out);
    bool ok = file.open(QIODevice::WriteOnly);
    for (const QByteArray& b : pieces) ok = ok && file.write(b) == b.size();
    if (ok && file.commit()) return true;
    printError(QStringLiteral("Die Datei ") + QDir::toNativeSeparators(out) +
               QStringLiteral(" kann nicht geschrieben werden: ") + germanSystemText(file.errorString()));
    return false;
}

// The project tree as the window fills it: modules by type and name, their
// routines below (from the rows the store's check read, where there are).
NodeList projectTree(WorkingStore& store, const ProjectRows* rows, bool withRoutines, int& moduleCount) {
    NodeList tree;
    if (rows && withRoutines) {
        moduleCount = fillProjectTree(tree, *rows);
        return tree;
    }
    moduleCount = fillModuleTree(tree, store);
    if (withRoutines) addRoutineNodes(tree, store);
    return tree;
}

Pieces produce(const ExportArgs& a, WorkingStore& store, const ProjectRows* rows) {
    const AppState& state = appState();
    const Options& options = state.options;
    std::vector<ExportModule> modules;
    if (a.longForm) return {routineListing(store).toUtf8()};
    if (a.module == 0 && a.format != Format::Text) {
        int count = 0;
        const NodeList tree = projectTree(store, rows, a.format == Format::Structure, count);
        if (a.format == Format::Structure) return {structureListing(tree.nodes()).toUtf8()};
        modules = exportModules(tree, count);
    }
    switch (a.format) {
    case Format::Html: {
        Pieces pieces;
        if (a.module) pieces.push_back(moduleHtml(store, a.module, options).toUtf8());
        else
            // Module by module, each piece turned into UTF-8 at once: the
            // whole HTML is never held in UTF-16, nor in two copies.
            writeProjectHtml(store, modules, options, state.exportModuleHeadings,
                             [&pieces](const QString& piece) {
                                 // toUtf8 leaves room for three bytes per character.
                                 pieces.push_back(piece.toUtf8());
                                 pieces.back().squeeze();
                             });
        if (a.footer) pieces.push_back(withHtmlFooter(QString(), state.hostName, state.options.makerWebPage).toUtf8());
        return pieces;
    }
    case Format::Rtf:
        return {rtfFileBytes(a.module ? moduleRtfDocument(store, a.module, options)
                                      : projectRtfDocument(store, modules, options, state.exportModuleHeadings))};
    case Format::Text: return {plainTextOfModule(store.readModuleText(a.module), options).toUtf8()};
    default: return {};
    }
}

int runExport(const QStringList& args) {
    ExportArgs a;
    if (!parseArgs(args, a)) return usageError(kUsage);
    if (!initCliState()) return 1;
    appState().workFolder = QDir(a.folder).absolutePath() + QLatin1Char('/');
    WorkingStore& store = WorkingStore::instance();
    if (!QFileInfo::exists(appState().workFolder + QStringLiteral("DivuRuvi.mdb"))) {
        printError(QStringLiteral("Kein Gültiges Projekt: ") + QDir::toNativeSeparators(a.folder));
        return 1;
    }
    if (a.module && !QFileInfo::exists(store.moduleTextPath(a.module))) {
        printError(QStringLiteral("Modul %1 gibt es in %2 nicht").arg(a.module).arg(a.folder));
        return 1;
    }
    Pieces bytes;
    try {
        // Only the structure of the whole project lists every routine: the
        // check hands over the rows it reads for that one.
        const bool wholeStructure = a.format == Format::Structure && !a.longForm && a.module == 0;
        ProjectRows rows;
        openStoredProject(wholeStructure ? &rows : nullptr);
        bytes = produce(a, store, wholeStructure ? &rows : nullptr);
    } catch (const std::exception& e) {
        store.closeWorkingDatabase();
        printError(germanSystemText(QString::fromStdString(e.what())));
        return 1;
    }
    store.closeWorkingDatabase();
    return writeOut(a.out, bytes) ? 0 : 1;
}

CliRegistration reg{{"export", kUsage, "   Exporte eines gespeicherten Projekts ausgeben", runExport}};

}  // namespace

}  // namespace lumo::cli
