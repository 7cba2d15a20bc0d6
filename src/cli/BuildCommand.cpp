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

// One module to build: read whole from a file (--raw) or taken from a
// component of the document host when its turn comes.
struct PlannedModule {
    QString name;
    int modTyp = 2;
    QString code;                       // --raw
    HostComponent* component = nullptr;  // otherwise
    QString source;                     // the file it comes from, as shown
};

// A project holds one module of a name: a second one (any case), from
// whichever source, is left out and named, as a folder's second file is.
// Returns how many were left out.
std::size_t leaveOutDuplicates(std::vector<PlannedModule>& plan) {
    QSet<QString> seen;
    std::vector<PlannedModule> kept;
    for (PlannedModule& m : plan) {
        if (seen.contains(m.name.toLower())) {
            printError(QStringLiteral("%1: ein Modul namens »%2« gibt es schon; ausgelassen.")
                           .arg(QDir::toNativeSeparators(m.source), m.name));
            continue;
        }
        seen.insert(m.name.toLower());
        kept.push_back(std::move(m));
    }
    const std::size_t dropped = plan.size() - kept.size();
    plan = std::move(kept);
    return dropped;
}

// Lends the one connection already made to the listing, so that every
// document is read once.
class HeldApplication : public HostApplication {
public:
    explicit HeldApplication(HostApplication& app) : app_(app) {}
    QString version() const override { return app_.version(); }
    int projectCount() const override { return app_.projectCount(); }
    HostProject& project(int position) override { return app_.project(position); }

private:
    HostApplication& app_;
};
class HeldConnector : public HostConnector {
public:
    explicit HeldConnector(HostApplication& app) : app_(app) {}
    std::unique_ptr<HostApplication> connect() override { return std::make_unique<HeldApplication>(app_); }

private:
    HostApplication& app_;
};

// Records the messages of the store instead of printing them, so that a
// failure can be told by its real cause.
class QuietUi : public ConsoleUi {
public:
    void message(const QString& text, const QString&, MsgIcon) override { last = text; }
    QString last;
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
// of them within the budget of one read.
bool planRawModules(const QStringList& sources, std::vector<PlannedModule>& plan) {
    ReadBudget budget;
    for (const QString& path : sources) {
        try {
            if (const QFileInfo info(path); info.isFile() && info.size() <= kMaxModuleFileSize)
                budget.takeModuleFiles(info.size());
            ModuleSource m = readModuleFile(path);
            plan.push_back({m.name, m.modTyp, std::move(m.code), nullptr, path});
        } catch (const ReadError& e) {
            printError(QDir::toNativeSeparators(path) + QLatin1String(": ") + e.message());
            return false;
        }
    }
    return true;
}

// Every component the listing shows, ticked, in listing order. Every source
// must give something: one that cannot be read, or whose project the listing
// leaves out whole, ends the build before it starts.
bool planHostModules(DocumentHost& host, HostApplication& app, std::vector<PlannedModule>& plan) {
    if (!host.failedDocuments().isEmpty() || !host.unlistedDocuments().isEmpty()) return false;
    HeldConnector held(app);
    ConsoleUi ui;
    AppTree tree;
    int officeVersion = 0;
    const bool ok = listOfficeProjects(held, tree, officeVersion, ui);
    if (!ok || tree.empty()) {
        printError(refreshExplanation(ok, tree, officeVersion, QString::fromLatin1(hostRow(LUMO_HOST_KIND).name), true));
        return false;
    }
    try {
        for (const AppNode& n : tree) {
            if (n.parentKey.isEmpty()) continue;
            HostProject& project = app.project(projectPosition(n.key));
            HostComponent& c = project.component(componentName(n.key));
            plan.push_back({c.name(), moduleTypeOfComponent(c.type()), {}, &c, project.fileName()});
        }
    } catch (const HostError& e) {
        printError(e.description());
        return false;
    }
    return true;
}

// The template comes first: without it nothing is touched.
bool templateAvailable() {
    const QString tmpl = WorkingStore::instance().templatePath();
    const QFileInfo info(tmpl);
    if (info.isFile() && info.isReadable()) return true;
    printError(QStringLiteral("Die notwendige Datenbank\n") + tmpl +
               QStringLiteral("\nexistiert nicht !!!\nBitte kopieren Sie diese wieder an diese Stelle"));
    return false;
}

// Why a fresh store could not be made in folder, when the template is there:
// the copy's own failure in German words.
QString storeCreationFailure(const QString& folder, const QString& storeMessage) {
    std::error_code ec;
    const std::filesystem::path probe = QFile::encodeName(folder + QStringLiteral("/DivuRuvi.mdb")).toStdString();
    std::filesystem::copy_file(QFile::encodeName(WorkingStore::instance().templatePath()).toStdString(), probe,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec) return storeMessage;
    return QStringLiteral("Die Projektdatenbank kann in %1 nicht angelegt werden: %2.")
        .arg(folder, systemErrorText(ec.value()));
}

// Builds every planned module into buildFolder. A module whose routines
// cannot all be split is read in part, one that cannot be read at all left
// out, both named (leftOut) while the others are built;
// anything else ends the build. False after saying why when the folder must
// not take the output folder's place.
bool buildInto(const QString& buildFolder, const std::vector<PlannedModule>& plan,
               std::vector<LeftOutModule>& leftOut) {
    appState().workFolder = buildFolder + QLatin1Char('/');
    QuietUi storeUi;
    ProjectBuild build(storeUi, WorkingStore::instance(), appState().options);
    if (!build.begin()) {
        build.finish();
        printError(storeCreationFailure(buildFolder, storeUi.last));
        return false;
    }
    for (const PlannedModule& m : plan) {
        try {
            const QString code = m.component ? m.component->lines(1, m.component->countOfLines()) : m.code;
            build.addModuleOrLeaveOut(m.name, m.modTyp, code);
        } catch (const StoreError& e) {
            // The modules left out before are named first, then the one the
            // store failed on, with the cause in German words.
            if (!build.leftOut().empty()) printError(buildFailedWarning(build.leftOut()));
            build.finish();
            printError(QStringLiteral("Das Modul %1 kann nicht gespeichert werden: %2")
                           .arg(m.name, germanSystemText(QString::fromStdString(e.what()))));
            return false;
        } catch (const HostError& e) {
            build.finish();
            printError(QStringLiteral("Modul: %1: %2").arg(m.name, e.description()));
            return false;
        }
    }
    leftOut = build.leftOut();
    build.finish();
    if (!leftOut.empty()) printError(buildFailedWarning(leftOut));
    // Not one module read: nothing that could stand for the project.
    return countLeftOut(leftOut) < plan.size() || plan.empty();
}

int runBuild(const QStringList& args) {
    if (!initCliState()) return 1;
    BuildArgs b;
    if (!parseArgs(args, b, appState().options)) return 2;
    if (!templateAvailable()) return 1;

    // Every source is read before the output folder is touched.
    ConsoleUi ui;
    DocumentHost host(&ui);
    std::unique_ptr<HostApplication> app;
    std::vector<PlannedModule> plan;
    if (b.raw) {
        if (!planRawModules(b.sources, plan)) return 1;
    } else {
        for (const QString& s : b.sources) host.open(s);
        app = host.connect();
        if (!planHostModules(host, *app, plan)) return 1;
    }
    const std::size_t duplicates = leaveOutDuplicates(plan);
    // The store numbers its modules in 16 bits.
    if (plan.size() > std::size_t(kMaxModules)) {
        printError(QStringLiteral("Zu viele Module: ein Projekt fasst höchstens %1 Module, die Quellen haben %2.")
                       .arg(std::numeric_limits<qint16>::max())
                       .arg(plan.size()));
        return 1;
    }

    QFileInfo outInfo(b.out);
    // A link to a folder stays a link; the folder it points at is replaced.
    const QString target = outInfo.isSymLink() && outInfo.exists() ? outInfo.canonicalFilePath()
                                                                   : QDir::cleanPath(outInfo.absoluteFilePath());
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
    return leftOut.empty() && duplicates == 0 && host.lastReport().isEmpty() ? 0 : 1;
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
