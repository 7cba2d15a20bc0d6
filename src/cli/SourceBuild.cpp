#include "cli/SourceBuild.h"

#include <filesystem>
#include <limits>
#include <system_error>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "acquire/OfficeBuild.h"
#include "acquire/OfficeListing.h"
#include "base/AppState.h"
#include "base/HostTable.h"
#include "base/Limits.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "cli/CliState.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

namespace {

// A project holds one module of a name: a second one (any case), from
// whichever source, is left out and named, as a folder's second file is.
// Returns how many were left out.
std::size_t leaveOutDuplicates(std::vector<PlannedModule>& plan, QStringList& leftOut) {
    QSet<QString> seen;
    std::vector<PlannedModule> kept;
    for (PlannedModule& m : plan) {
        if (seen.contains(m.name.toLower())) {
            leftOut << QStringLiteral("%1: ein Modul namens »%2« gibt es schon; ausgelassen.")
                           .arg(QDir::toNativeSeparators(m.source), m.name);
            printError(leftOut.back());
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

// Every component the listing shows, ticked, in listing order. A source
// that cannot be read, or whose project the listing leaves out whole, was
// named by the reading; the others are built. False when nothing is left.
bool planHostModules(HostApplication& app, std::vector<PlannedModule>& plan) {
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

}  // namespace

// The template comes first: without it nothing is touched.
bool templateAvailable() {
    const QString tmpl = WorkingStore::instance().templatePath();
    const QFileInfo info(tmpl);
    if (info.isFile() && info.isReadable()) return true;
    printError(QStringLiteral("Die notwendige Datenbank\n") + tmpl +
               QStringLiteral("\nexistiert nicht !!!\nBitte kopieren Sie diese wieder an diese Stelle"));
    return false;
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

bool readSources(const QStringList& sources, RawPlanner raw, SourceRead& read) {
    if (raw) {
        if (!raw(sources, read.plan, read.leftOut) || read.plan.empty()) return false;
    } else {
        // The build keeps all it reads: the whole read within the budget.
        read.host.setModuleTextBudget(kMaxSourceText);
        for (const QString& s : sources) read.host.open(s);
        read.app = read.host.connect();
        read.leftOut << read.host.lastProblems();
        if (!planHostModules(*read.app, read.plan)) return false;
    }
    read.duplicates = leaveOutDuplicates(read.plan, read.leftOut);
    // The store numbers its modules in 16 bits.
    if (read.plan.size() > std::size_t(kMaxModules)) {
        printError(QStringLiteral("Zu viele Module: ein Projekt fasst höchstens %1 Module, die Quellen haben %2.")
                       .arg(std::numeric_limits<qint16>::max())
                       .arg(read.plan.size()));
        return false;
    }
    return true;
}

}  // namespace lumo::cli
