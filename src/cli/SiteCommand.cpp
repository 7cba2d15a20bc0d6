// "codelumo-cli site": a project as a static website. The project is a
// stored one, or built from the sources as "build" builds it, in a
// temporary folder; the site is made beside the output folder and takes its
// place when complete (export/SiteFolder.h).
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "cli/SourceBuild.h"
#include "export/site/SiteBuilder.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "site --out ORDNER QUELLE...";

bool isStoredProject(const QString& path) {
    return QFileInfo(path).isDir() && QFileInfo::exists(path + QStringLiteral("/DivuRuvi.mdb"));
}

// The project's name on every page: the folder or document read, or the
// names of all of them.
QString projectTitle(const QStringList& sources) {
    QStringList names;
    for (const QString& s : sources) {
        const QFileInfo info(QDir::cleanPath(s));
        names << (info.isDir() ? info.fileName() : info.completeBaseName());
    }
    return names.join(QStringLiteral(", "));
}

// Builds the sources into `folder` and opens the project read there. False
// after saying why; leftOut receives what was left out, one line each.
bool buildSources(const QStringList& sources, const QString& folder, QStringList& leftOut) {
    if (!templateAvailable()) return false;
    SourceRead read;
    if (!readSources(sources, nullptr, read)) return false;
    std::vector<LeftOutModule> modules;
    if (!buildInto(folder, read.plan, modules)) return false;
    leftOut = read.leftOut;
    for (const LeftOutModule& m : modules) leftOut << leftOutLine(m);
    return true;
}

int runSite(const QStringList& args) {
    QString out;
    QStringList sources;
    if (int status = 0; !readOutAndSources(args, kUsage, out, sources, status)) return status;
    if (!initCliState()) return 1;

    QStringList leftOut;
    QTemporaryDir built(QDir::tempPath() + QStringLiteral("/codelumo-site-XXXXXX"));
    if (sources.size() == 1 && isStoredProject(sources.front())) {
        appState().workFolder = QDir(sources.front()).absolutePath() + QLatin1Char('/');
    } else {
        if (!built.isValid()) {
            printError(QStringLiteral("Für das Projekt kann kein temporärer Ordner angelegt werden: %1.")
                           .arg(built.errorString()));
            return 1;
        }
        if (!buildSources(sources, built.path(), leftOut)) return 1;
    }
    WorkingStore& store = WorkingStore::instance();
    SiteReport report;
    QString failed;
    try {
        openStoredProject();
        failed = writeSite(store, out, SiteTitle{projectTitle(sources), sources, leftOut}, appState().options, report);
    } catch (const std::exception& e) {
        failed = germanSystemText(QString::fromUtf8(e.what()));
    }
    store.closeWorkingDatabase();
    if (!failed.isEmpty()) {
        printError(failed);
        return 1;
    }
    for (const QString& m : report.leftOut) printError(QStringLiteral("Ohne Code: ") + m);
    QTextStream(stdout) << QDir::cleanPath(QFileInfo(out).absoluteFilePath()) << "/index.html: " << report.modules
                        << (report.modules == 1 ? " Modul, " : " Module, ") << report.routines
                        << (report.routines == 1 ? " Routine\n" : " Routinen\n");
    return leftOut.isEmpty() && report.leftOut.isEmpty() ? 0 : 1;
}

CliRegistration reg{{"site", kUsage,
                     "\n                    Website des Projekts erzeugen: Übersicht, eine Seite je Modul mit "
                     "verlinkten\n"
                     "                    Namen und Aufrufern, Routinen von A bis Z, Suche; QUELLE wie bei build "
                     "oder ein\n"
                     "                    gespeichertes Projekt. ORDNER muss fehlen, leer sein oder eine Website "
                     "von Code Lumo\n"
                     "                    enthalten",
                     runSite}};

}  // namespace

}  // namespace lumo::cli
