// The caller search (Aufrufe) against reading the same module text files,
// which it has to do anyway: the target is at most 3 times the read.
//
// Inputs: the VBA-Web corpus project, searched for its most referenced
// public routine, and a generated project of 300 modules of about 150 lines
// in which every routine calls one shared routine twice (and names it once
// more in a comment and a string). Both are built once through the project
// builder; the timing repeats only the search, or only the reads, or both
// in turns (CallersAgainstRead, whose ratio is the one to read on a busy
// machine).
#include <benchmark/benchmark.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "base/AppState.h"
#include "model/CodeDatabase.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "view/NodeList.h"

namespace {

using lumo::bench::SilentUi;
using lumo::bench::editorView;

struct Project {
    std::unique_ptr<QTemporaryDir> dir;
    int modules = 0;
    QString routine;  // the routine whose callers are searched
    int routineModule = 0;
};

std::map<std::string, Project>& projects() {
    static std::map<std::string, Project> all;
    return all;
}

SilentUi& ui() {
    static SilentUi u;
    u.echo = true;
    return u;
}

QString generatedModule(int m) {
    QString s = "Option Explicit\r\nPrivate mZahl As Long ' Gemeinsam\r\n\r\n";
    if (m == 1) s += "Public Function Gemeinsam(ByVal x As Long) As Long\r\n    Gemeinsam = x * 2\r\nEnd Function\r\n\r\n";
    for (int r = 0; r < 12; ++r) {
        const QString k = QString::number(m) + "_" + QString::number(r);
        s += "Public Sub Arbeit" + k + "(ByVal n As Long)\r\n";
        s += "    Dim i As Long, s As String\r\n";
        s += "    ' ruft Gemeinsam zweimal\r\n";
        s += "    For i = 1 To n\r\n        mZahl = mZahl + Gemeinsam(i)\r\n    Next i\r\n";
        s += "    s = \"Gemeinsam \" & CStr(mZahl)\r\n";
        s += "    If Gemeinsam(n) > 10 Then Debug.Print s\r\n";
        s += "    MeinGemeinsam2 = Gemeinsam_x\r\n";
        s += "End Sub\r\n\r\n";
    }
    return s;
}

bool buildProject(const std::string& name, const QStringList& modules) {
    Project p;
    p.dir = std::make_unique<QTemporaryDir>();
    if (!p.dir->isValid()) return false;
    lumo::appState().workFolder = p.dir->path() + "/";
    lumo::ProjectBuild build(ui(), lumo::WorkingStore::instance(), lumo::appState().options);
    if (!build.begin()) return false;
    int n = 0;
    for (const QString& m : modules) build.addModule("Modul" + QString::number(++n), 2, m);
    build.finish();
    p.modules = n;
    projects()[name] = std::move(p);
    return true;
}

// The public routine of a project whose name occurs most often in its code.
void chooseRoutine(Project& p, const QStringList& modules) {
    lumo::appState().workFolder = p.dir->path() + "/";
    auto& store = lumo::WorkingStore::instance();
    store.openWorkingDatabase();
    int best = -1;
    for (const lumo::RoutineRow& r : lumo::routinesByModuleAndName(store)) {
        if (r.visibility == lumo::OpenPrivate || lumo::isProperty(r.type)) continue;
        const QRegularExpression word("\\b" + QRegularExpression::escape(r.name) + "\\b");
        int count = 0;
        for (const QString& m : modules) count += int(m.count(word));
        if (count > best) {
            best = count;
            p.routine = r.name;
            p.routineModule = r.module;
        }
    }
    store.closeWorkingDatabase();
}

bool open(benchmark::State& state, const std::string& name) {
    const auto it = projects().find(name);
    if (it == projects().end()) {
        state.SkipWithError("project not available (VBA-Web corpus missing?)");
        return false;
    }
    lumo::appState().workFolder = it->second.dir->path() + "/";
    lumo::WorkingStore::instance().openWorkingDatabase();
    return true;
}

void BM_Callers(benchmark::State& state, std::string name) {
    if (!open(state, name)) return;
    const Project& p = projects().at(name);
    lumo::NodeList tree;
    for (auto _ : state) {
        lumo::callersCommand(tree, lumo::WorkingStore::instance(), p.routine, p.routineModule - 1, p.modules, ui());
        benchmark::DoNotOptimize(tree.nodes().size());
    }
    state.counters["modules"] = p.modules;
    state.counters["nodes"] = double(tree.nodes().size());
    state.SetLabel(p.routine.toStdString());
    lumo::WorkingStore::instance().closeWorkingDatabase();
}

void BM_ReadModules(benchmark::State& state, std::string name) {
    if (!open(state, name)) return;
    const Project& p = projects().at(name);
    for (auto _ : state)
        for (int i = 1; i <= p.modules; ++i) benchmark::DoNotOptimize(lumo::WorkingStore::instance().readModuleText(i));
    lumo::WorkingStore::instance().closeWorkingDatabase();
}

// Both in turns within one run, so that a busy machine slows both alike:
// the ratio of the summed times, and the fastest turn of each.
void BM_CallersAgainstRead(benchmark::State& state, std::string name) {
    if (!open(state, name)) return;
    const Project& p = projects().at(name);
    auto& store = lumo::WorkingStore::instance();
    lumo::NodeList tree;
    using Clock = std::chrono::steady_clock;
    double readSum = 0, searchSum = 0;
    double readMin = 1e9, searchMin = 1e9;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 1; i <= p.modules; ++i) benchmark::DoNotOptimize(store.readModuleText(i));
        const auto t1 = Clock::now();
        lumo::callersCommand(tree, store, p.routine, p.routineModule - 1, p.modules, ui());
        const auto t2 = Clock::now();
        const double r = std::chrono::duration<double>(t1 - t0).count();
        const double c = std::chrono::duration<double>(t2 - t1).count();
        readSum += r;
        searchSum += c;
        readMin = std::min(readMin, r);
        searchMin = std::min(searchMin, c);
    }
    state.counters["ratio"] = searchSum / readSum;
    state.counters["read_min_ms"] = readMin * 1e3;
    state.counters["callers_min_ms"] = searchMin * 1e3;
    state.counters["min_ratio"] = searchMin / readMin;
    store.closeWorkingDatabase();
}

// The ratio table after the run.
void printRatios(const lumo::bench::Seconds& seconds) {
    std::printf("\nCallers search / reading the module texts (target <= 3x)\n");
    for (const auto& [name, _] : projects()) {
        const auto c = seconds.find("Callers/" + name);
        const auto r = seconds.find("ReadModules/" + name);
        if (c != seconds.end() && r != seconds.end())
            std::printf("  %-12s callers %8.3f ms  read %8.3f ms  ratio %5.2fx\n", name.c_str(), c->second * 1e3,
                        r->second * 1e3, c->second / r->second);
    }
}

// Builds both projects once; the timing repeats only what is measured.
int setUp() {
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().options = lumo::Options{};
    QStringList web;
    for (const QString& f : lumo::bench::moduleFiles(lumo::bench::vbaWebDir()))
        if (const std::optional<QString> text = lumo::bench::readUtf8File(f)) web << editorView(*text);
    if (!web.isEmpty() && buildProject("VBAWeb", web)) chooseRoutine(projects()["VBAWeb"], web);
    else std::fprintf(stderr, "VBA-Web corpus missing: its benchmarks are skipped\n");
    QStringList generated;
    for (int m = 1; m <= 300; ++m) generated << generatedModule(m);
    if (buildProject("Generated300", generated)) {
        projects()["Generated300"].routine = QStringLiteral("Gemeinsam");
        projects()["Generated300"].routineModule = 1;
    }
    for (const char* name : {"VBAWeb", "Generated300"}) {
        benchmark::RegisterBenchmark((std::string("Callers/") + name).c_str(), BM_Callers, name)
            ->UseRealTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("ReadModules/") + name).c_str(), BM_ReadModules, name)
            ->UseRealTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("CallersAgainstRead/") + name).c_str(), BM_CallersAgainstRead, name)
            ->UseRealTime()->Unit(benchmark::kMillisecond);
    }
    return -1;
}

lumo::bench::BenchRegistration program{{setUp, printRatios, {}}};

}  // namespace
