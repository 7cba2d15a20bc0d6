// The website of a project against the HTML export of the same project,
// both as a user runs them: codelumo-cli site and codelumo-cli export
// --html, each a whole process, in turns within the same run. Target: the
// site within twice the export's time.
//
// The site is made twice a turn: again over the one of the turn before (its
// unchanged files are linked, not written) and into a new folder.
//
// Input: the generated project of 300 modules of the reading aids (AidsModules.h), built
// once into a stored project through the project builder. Run on the
// system's temporary folder and, where there is one, on a memory file
// system (/dev/shm): the site writes some 300 files where the export writes
// one, and on a disk file system that has just deleted as many (the old
// site) making them can cost more than all else.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "AidsModules.h"
#include "base/AppState.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"

namespace {

constexpr int kModules = 300;

std::unique_ptr<QTemporaryDir>& scratch() {
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}
std::unique_ptr<QTemporaryDir>& memoryScratch() {
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

QString project() { return scratch()->path() + "/projekt"; }

bool buildProject() {
    scratch() = std::make_unique<QTemporaryDir>();
    if (!scratch()->isValid() || !QDir().mkpath(project())) return false;
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
        memoryScratch() = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/codelumo-bench-XXXXXX"));
    lumo::appState().workFolder = project() + "/";
    static lumo::bench::SilentUi ui;
    lumo::ProjectBuild build(ui, lumo::WorkingStore::instance(), lumo::appState().options);
    if (!build.begin()) return false;
    for (int m = 1; m <= kModules; ++m) build.addModule("Modul" + QString::number(m), 2, lumo::bench::aidsModule(m));
    build.finish();
    lumo::WorkingStore::instance().closeWorkingDatabase();
    return true;
}

// Seconds of one run of codelumo-cli; negative when it failed.
double timeCli(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMO_SETTINGS_FILE", scratch()->path() + "/settings.ini");
    env.insert("LUMO_DATA_DIR", scratch()->path() + "/data");
    p.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"), args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        std::fprintf(stderr, "codelumo-cli %s: %s\n", qPrintable(args.join(' ')), p.readAllStandardError().constData());
        return -1;
    }
    return t.nsecsElapsed() / 1e9;
}

void BM_SiteAgainstExport(benchmark::State& state, const QTemporaryDir* out) {
    double exportMin = 1e9, siteMin = 1e9, freshMin = 1e9;
    int turn = 0;
    for (auto _ : state) {
        const double e = timeCli({"export", "--html", "--out", out->path() + "/projekt.html", project()});
        // Made again over the site of the turn before, as a build pipeline does ...
        const double s = timeCli({"site", "--out", out->path() + "/site", project()});
        // ... and into a folder of its own.
        const double f = timeCli({"site", "--out", out->path() + "/neu-" + QString::number(++turn), project()});
        if (e < 0 || s < 0 || f < 0) {
            state.SkipWithError("codelumo-cli failed");
            return;
        }
        exportMin = std::min(exportMin, e);
        siteMin = std::min(siteMin, s);
        freshMin = std::min(freshMin, f);
    }
    state.counters["export_min_ms"] = exportMin * 1e3;
    state.counters["site_min_ms"] = siteMin * 1e3;
    state.counters["site_per_export"] = siteMin / exportMin;
    state.counters["fresh_site_min_ms"] = freshMin * 1e3;
    state.counters["fresh_site_per_export"] = freshMin / exportMin;
}

int setUp() {
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().options = lumo::Options{};
    if (!buildProject()) {
        std::fprintf(stderr, "the generated project could not be built\n");
        return 1;
    }
    benchmark::RegisterBenchmark("SiteAgainstExport/Generated300/tmp", BM_SiteAgainstExport, scratch().get())
        ->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    if (memoryScratch() && memoryScratch()->isValid())
        benchmark::RegisterBenchmark("SiteAgainstExport/Generated300/shm", BM_SiteAgainstExport, memoryScratch().get())
            ->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
    return -1;
}

}  // namespace

lumo::bench::BenchRegistration program{{setUp, {}, [] {
    memoryScratch().reset();
    scratch().reset();
}}};
