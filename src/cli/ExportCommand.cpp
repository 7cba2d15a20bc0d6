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
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "export/ExportCommands.h"
#include "export/Html.h"
#include "export/RtfExport.h"
#include "export/StructureListing.h"
#include "export/TextExport.h"
#include "model/WorkingStore.h"
#include "render/PlainText.h"
#include "render/RtfRenderer.h"
#include "view/ProjectTree.h"
#include "view/TreeOutline.h"

namespace lumo::cli {

namespace {

enum class Format { None, Html, Rtf, Text, Structure };

struct ExportArgs {
    Format format = Format::None;
    int module = 0;  // 0: the whole project
    bool footer = false;
    QString out;     // "": standard output
    QString folder;
    bool bad = false;
};

const char* const kUsage = "Aufruf: codelumo-cli export (--html|--rtf|--text|--structure) [--module N] [--footer] "
                           "[--out DATEI] ORDNER";

ExportArgs parseArgs(const QStringList& args) {
    ExportArgs a;
    auto setFormat = [&a](Format f) {
        if (a.format != Format::None) a.bad = true;
        a.format = f;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--html")) setFormat(Format::Html);
        else if (arg == QLatin1String("--rtf")) setFormat(Format::Rtf);
        else if (arg == QLatin1String("--text")) setFormat(Format::Text);
        else if (arg == QLatin1String("--structure")) setFormat(Format::Structure);
        else if (arg == QLatin1String("--footer")) a.footer = true;
        else if (arg == QLatin1String("--module") && i + 1 < args.size()) {
            bool ok = false;
            a.module = args[++i].toInt(&ok);
            if (!ok || a.module < 1) a.bad = true;
        } else if (arg == QLatin1String("--out") && i + 1 < args.size()) {
            a.out = args[++i];
        } else if (a.folder.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
            a.folder = arg;
        } else {
            a.bad = true;
        }
    }
    if (a.format == Format::None || a.folder.isEmpty()) a.bad = true;
    // A module's plain text is the one export without a project form; the
    // footer belongs to HTML, the module choice to everything but the tree.
    if (a.format == Format::Text && a.module == 0) a.bad = true;
    if (a.footer && a.format != Format::Html) a.bad = true;
    if (a.format == Format::Structure && a.module != 0) a.bad = true;
    return a;
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
               QStringLiteral(" kann nicht geschrieben werden: ") + file.errorString());
    return false;
}

// The project tree as the window fills it: modules by type and name, their routines below.
TreeOutline projectTree(WorkingStore& store, bool withRoutines, int& moduleCount) {
    TreeOutline tree;
    moduleCount = fillModuleTree(tree, store);
    if (withRoutines) addRoutineNodes(tree, store);
    return tree;
}

Pieces produce(const ExportArgs& a, WorkingStore& store) {
    const AppState& state = appState();
    const Options& options = state.options;
    std::vector<ExportModule> modules;
    if (a.module == 0 && a.format != Format::Text) {
        int count = 0;
        const TreeOutline tree = projectTree(store, a.format == Format::Structure, count);
        if (a.format == Format::Structure) return {structureListing(tree.nodes).toUtf8()};
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
    const ExportArgs a = parseArgs(args);
    if (a.bad) {
        printError(QString::fromUtf8(kUsage));
        return 2;
    }
    initCliState();
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
        store.openWorkingDatabase();
        bytes = produce(a, store);
    } catch (const std::exception& e) {
        store.closeWorkingDatabase();
        printError(QString::fromStdString(e.what()));
        return 1;
    }
    store.closeWorkingDatabase();
    return writeOut(a.out, bytes) ? 0 : 1;
}

CliRegistration reg{{"export",
                     "export (--html|--rtf|--text|--structure) [--module N] [--footer] [--out DATEI] ORDNER   "
                     "Exporte eines gespeicherten Projekts ausgeben",
                     runExport}};

}  // namespace

}  // namespace lumo::cli
