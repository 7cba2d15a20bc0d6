// "codelumo-cli build": a project from documents, module folders or module
// files, as the project builder makes it from ticked components. Sources are
// read and the template checked before anything is written; the project is
// built in a new folder beside the output folder and takes its place only
// when complete (cli/StoreFolder.h).
#include <filesystem>
#include <limits>
#include <system_error>

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#include "acquire/DocumentHost.h"
#include "acquire/ModuleFile.h"
#include "acquire/OfficeBuild.h"
#include "acquire/OfficeListing.h"
#include "acquire/ReadBudget.h"
#include "base/AppState.h"
#include "base/HostTable.h"
#include "base/Limits.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "cli/SourceBuild.h"
#include "cli/StoreFolder.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

namespace {

const char* const kUsage =
    "build --out ORDNER [--raw] [--einr|--no-einr] [--leer|--no-leer] [--rle|--no-rle] [--rer|--no-rer] QUELLE...";

struct BuildArgs {
    QString out;
    bool raw = false;
    QStringList sources;
};

// The switches shape the stored text; the ones not given keep the user's setting.
bool parseArgs(const QStringList& args, BuildArgs& b, Options& options) {
    Arguments call;
    call.text("out", b.out)
        .flag("raw", b.raw)
        .onOff("einr", options.reindentBlocks)
        .onOff("leer", options.removeBlankLines)
        .onOff("rle", options.blankLineBeforeRoutines)
        .onOff("rer", options.indentRoutineBodies);
    if (!call.read(args)) {
        if (call.problem() == Arguments::Problem::MissingValue) printError(QStringLiteral("--out braucht einen Ordner"));
        else printError(QStringLiteral("Unbekannte Option: ") + call.problemWord());
        return false;
    }
    b.sources = call.words();
    if (b.out.isEmpty() || b.sources.isEmpty()) {
        if (!b.out.isEmpty()) printError(QStringLiteral("Keine Quelle angegeben."));
        usageError(kUsage);
        return false;
    }
    return true;
}

// --raw: each source is a text file taken whole as one module's code; all
// of them within the budget of one read. A file that cannot be read is named
// and left out.
bool planRawModules(const QStringList& sources, std::vector<PlannedModule>& plan, QStringList& leftOut) {
    ReadBudget budget;
    for (const QString& path : sources) {
        try {
            if (const QFileInfo info(path); info.isFile() && info.size() <= kMaxModuleFileSize)
                budget.takeModuleFiles(info.size());
            ModuleSource m = readModuleFile(path);
            plan.push_back({m.name, m.modTyp, std::move(m.code), nullptr, path});
        } catch (const ReadError& e) {
            leftOut << QDir::toNativeSeparators(path) + QLatin1String(": ") + e.message();
            printError(leftOut.back());
        }
    }
    return true;
}

int runBuild(const QStringList& args) {
    if (!initCliState()) return 1;
    BuildArgs b;
    if (!parseArgs(args, b, appState().options)) return 2;
    if (!templateAvailable()) return 1;

    // Every source is read before the output folder is touched.
    SourceRead read;
    if (!readSources(b.sources, b.raw ? planRawModules : nullptr, read)) return 1;
    const std::vector<PlannedModule>& plan = read.plan;

    QFileInfo outInfo(b.out);
    // A link to a folder stays a link; the folder it points at is replaced.
    const QString target = outInfo.isSymLink() && outInfo.exists() ? outInfo.canonicalFilePath()
                                                                   : QDir::cleanPath(outInfo.absoluteFilePath());
    // Refused before anything is made beside it (the lock, missing parents).
    if (const QString refusal = refusalToReplace(target); !refusal.isEmpty()) {
        printError(refusal);
        return 1;
    }
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(QFileInfo(target).absolutePath()).toStdString(), ec);
    if (ec) {
        printError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden: %2.")
                       .arg(QFileInfo(target).absolutePath(), systemErrorText(ec.value())));
        return 1;
    }
    StoreFolderLock lock(target);
    QString why;
    if (!lock.tryLock(&why)) {
        printError(why);
        return 1;
    }
    const QString refusal = refusalToReplace(target);
    if (!refusal.isEmpty()) {
        printError(refusal);
        return 1;
    }
    removeLeftovers(target);
    const QString before = folderSnapshot(target);
    const QString buildFolder = makeBuildFolder(target, &why);
    if (buildFolder.isEmpty()) {
        printError(QStringLiteral("Neben dem Ordner %1 kann kein Ordner für den Bau angelegt werden: %2.").arg(target, why));
        return 1;
    }
    std::vector<LeftOutModule> leftOut;
    const bool built = buildInto(buildFolder, plan, leftOut);
    const qint32 routineCount = WorkingStore::instance().routineCounter;
    if (!built) {
        removeStoreFolder(buildFolder);
        return 1;
    }
    // A file the user put into the folder meanwhile must neither vanish
    // with the old store nor be replaced.
    const QString failed = folderSnapshot(target) != before ? changedDuringBuild(target) : swapIn(buildFolder, target);
    if (!failed.isEmpty()) {
        removeStoreFolder(buildFolder);
        printError(failed);
        return 1;
    }
    QTextStream(stdout) << target << "/: " << plan.size() - countLeftOut(leftOut) << " Module, " << routineCount
                        << " Routinen\n";
    // What was left out (modules that could not be parsed or were read in
    // part, duplicate names, files and components the reading skipped) was
    // named on standard error; the project is incomplete and the run failed.
    return read.complete(leftOut) ? 0 : 1;
}

CliRegistration reg{{"build", kUsage,
                     "\n                    Projekt aus Dokumenten, Modulordnern oder exportierten Moduldateien "
                     "(.bas, .cls, .frm)\n"
                     "                    erzeugen; ORDNER muss fehlen, leer sein oder ein Projekt von Code Lumo "
                     "enthalten.\n"
                     "                    --raw: jede Quelle ist eine Textdatei, ganz als Code eines Moduls gelesen "
                     "(Name = Dateiname\n"
                     "                    ohne Endung, Typ aus der Endung: .bas Standard, .cls Klasse, .frm "
                     "Formular), für Text,\n"
                     "                    der kein Export des VBA-Editors ist",
                     runBuild}};

}  // namespace

}  // namespace lumo::cli
