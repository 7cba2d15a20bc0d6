// The reading aids against reading the module texts, which each of them
// has to do once anyway: Definition of a routine, of a name declared in a
// module's declarations part and of a module; the call sites of a routine;
// the hit list of a project search. Target: each within 50 ms on a project
// of 300 modules.
//
// Input: a generated project of 300 modules of about 150 lines, each with
// constants, an enumeration, a type and variables, and routines that call
// one shared routine twice (and name it in a comment and a string). Built
// once through the project builder; each turn reads the texts and then runs
// every aid, so that a busy machine slows all alike.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>

#include "BenchMain.h"
#include "AidsModules.h"
#include "BenchSupport.h"
#include "base/AppState.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"
#include "navigate/CallSites.h"
#include "navigate/Definition.h"
#include "navigate/SearchHits.h"
#include "render/PlainText.h"

namespace {

constexpr int kModules = 300;

lumo::bench::SilentUi& ui() {
    static lumo::bench::SilentUi u;
    u.echo = true;
    return u;
}


std::unique_ptr<QTemporaryDir>& projectDir() {
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

bool buildProject() {
    projectDir() = std::make_unique<QTemporaryDir>();
    if (!projectDir()->isValid()) return false;
    lumo::appState().workFolder = projectDir()->path() + "/";
    lumo::ProjectBuild build(ui(), lumo::WorkingStore::instance(), lumo::appState().options);
    if (!build.begin()) return false;
    for (int m = 1; m <= kModules; ++m) build.addModule("Modul" + QString::number(m), 2, lumo::bench::aidsModule(m));
    build.finish();
    return true;
}

struct Aid {
    const char* name;
    std::function<size_t(lumo::WorkingStore&)> run;  // returns how many it found
};

void BM_AidsAgainstRead(benchmark::State& state) {
    auto& store = lumo::WorkingStore::instance();
    store.openWorkingDatabase();
    const lumo::Options& options = lumo::appState().options;
    // The code views hold their texts already; the hit list only searches them.
    std::vector<QString> shown;
    for (int m = 1; m <= kModules; ++m) shown.push_back(lumo::plainTextOfModule(store.readModuleText(m), options));
    const std::vector<Aid> aids = {
        {"definition_routine", [](lumo::WorkingStore& s) { return lumo::definitionCandidates(s, "Gemeinsam", 150).size(); }},
        {"definition_member", [](lumo::WorkingStore& s) { return lumo::definitionCandidates(s, "ArtZwei150", 7).size(); }},
        {"definition_module", [](lumo::WorkingStore& s) { return lumo::definitionCandidates(s, "Modul299", 7).size(); }},
        {"call_sites", [](lumo::WorkingStore& s) {
             return lumo::callSitesOfRoutine(s, "Gemeinsam", 1, kModules, ui())->size();
         }},
        {"hit_list", [&shown](lumo::WorkingStore&) {
             size_t n = 0;
             for (size_t i = 0; i < shown.size(); ++i) n += lumo::hitsInText(shown[i], "Gemeinsam", true, int(i)).size();
             return n;
         }},
    };
    using Clock = std::chrono::steady_clock;
    double readMin = 1e9;
    std::vector<double> aidMin(aids.size(), 1e9);
    std::vector<size_t> found(aids.size(), 0);
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 1; i <= kModules; ++i) benchmark::DoNotOptimize(store.readModuleText(i));
        readMin = std::min(readMin, std::chrono::duration<double>(Clock::now() - t0).count());
        for (size_t a = 0; a < aids.size(); ++a) {
            const auto t1 = Clock::now();
            found[a] = aids[a].run(store);
            aidMin[a] = std::min(aidMin[a], std::chrono::duration<double>(Clock::now() - t1).count());
        }
    }
    state.counters["read_min_ms"] = readMin * 1e3;
    for (size_t a = 0; a < aids.size(); ++a) {
        state.counters[std::string(aids[a].name) + "_min_ms"] = aidMin[a] * 1e3;
        state.counters[std::string(aids[a].name) + "_per_read"] = aidMin[a] / readMin;
        state.counters[std::string(aids[a].name) + "_found"] = double(found[a]);
    }
    store.closeWorkingDatabase();
}

int setUp() {
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().options = lumo::Options{};
    if (!buildProject()) {
        std::fprintf(stderr, "the generated project could not be built\n");
        return 1;
    }
    lumo::appState().workFolder = projectDir()->path() + "/";
    benchmark::RegisterBenchmark("AidsAgainstRead/Generated300", BM_AidsAgainstRead)
        ->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(20);
    return -1;
}

}  // namespace

lumo::bench::BenchRegistration program{{setUp, {}, [] { projectDir().reset(); }}};
