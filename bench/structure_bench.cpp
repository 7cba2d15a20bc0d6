// The long structure listing of one module of many routines, against
// reading that module's text, at 3,000, 9,000 and 27,000 routines: each
// threefold input may cost at most 3.6 times as much (a listing that looks
// for each routine's head from the module's start grows ninefold).
//
// Each module is built once through the project builder; the timing
// repeats only the listing, or only the read. The table takes the least
// processor time of an iteration: on a shared machine the wall time
// measures the neighbours.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "base/AppState.h"
#include "export/RoutineListing.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"

namespace {

constexpr int kSizes[] = {3000, 9000, 27000};

std::map<int, std::unique_ptr<QTemporaryDir>>& stores() {
    static std::map<int, std::unique_ptr<QTemporaryDir>> all;
    return all;
}

lumo::bench::SilentUi& ui() {
    static lumo::bench::SilentUi u;
    u.echo = true;
    return u;
}

QString moduleOf(int routines) {
    QString s = "Option Explicit\r\n\r\n";
    for (int r = 0; r < routines; ++r) {
        const QString k = QString::number(r);
        s += (r % 2 ? "Private Function Wert" : "Public Sub Arbeit") + k + "(ByVal n As Long, _\r\n    s As String)" +
             (r % 2 ? " As Long ' Wert\r\n" : "\r\n");
        s += "    n = n + 1\r\n";
        s += r % 2 ? "End Function\r\n\r\n" : "End Sub\r\n\r\n";
    }
    return s;
}

// The least processor time of one iteration, by benchmark name.
std::map<std::string, double>& least() {
    static std::map<std::string, double> all;
    return all;
}

double cpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

template <class F>
void timed(benchmark::State& state, const std::string& name, F f) {
    double best = 1e9;
    for (auto _ : state) {
        const double start = cpuSeconds();
        f();
        best = std::min(best, cpuSeconds() - start);
    }
    least()[name] = best;
}

bool open(benchmark::State& state, int routines) {
    const auto it = stores().find(routines);
    if (it == stores().end()) {
        state.SkipWithError("module not built");
        return false;
    }
    lumo::appState().workFolder = it->second->path() + "/";
    lumo::WorkingStore::instance().openWorkingDatabase(lumo::StoreAccess::ReadOnly);
    return true;
}

void BM_LongListing(benchmark::State& state, int routines) {
    if (!open(state, routines)) return;
    timed(state, "LongListing/" + std::to_string(routines),
          [] { benchmark::DoNotOptimize(lumo::routineListing(lumo::WorkingStore::instance())); });
    lumo::WorkingStore::instance().closeWorkingDatabase();
}

void BM_ReadModule(benchmark::State& state, int routines) {
    if (!open(state, routines)) return;
    timed(state, "ReadModule/" + std::to_string(routines),
          [] { benchmark::DoNotOptimize(lumo::WorkingStore::instance().readModuleText(1)); });
    lumo::WorkingStore::instance().closeWorkingDatabase();
}

void printGrowth(const lumo::bench::Seconds&) {
    const auto& seconds = least();
    std::printf("\nLong structure listing of one module, least CPU time (target: growth per threefold input <= 3.6)\n");
    std::printf("  %9s %12s %12s %10s %8s\n", "routines", "listing ms", "read ms", "listing/read", "growth");
    double before = 0;
    for (const int n : kSizes) {
        const auto l = seconds.find("LongListing/" + std::to_string(n));
        const auto r = seconds.find("ReadModule/" + std::to_string(n));
        if (l == seconds.end() || r == seconds.end()) continue;
        std::printf("  %9d %12.2f %12.2f %10.1fx", n, l->second * 1e3, r->second * 1e3, l->second / r->second);
        if (before > 0) std::printf(" %7.2fx%s", l->second / before, l->second / before > 3.6 ? "  ZU STARK" : "");
        std::printf("\n");
        before = l->second;
    }
}

int setUp() {
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().options = lumo::Options{};
    for (const int n : kSizes) {
        auto dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid()) return 1;
        lumo::appState().workFolder = dir->path() + "/";
        lumo::ProjectBuild build(ui(), lumo::WorkingStore::instance(), lumo::appState().options);
        if (!build.begin()) return 1;
        build.addModule(QStringLiteral("Gross"), 2, moduleOf(n));
        build.finish();
        stores()[n] = std::move(dir);
        const std::string size = std::to_string(n);
        benchmark::RegisterBenchmark(("LongListing/" + size).c_str(), BM_LongListing, n)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("ReadModule/" + size).c_str(), BM_ReadModule, n)->Unit(benchmark::kMillisecond);
    }
    return -1;
}

lumo::bench::BenchRegistration program{{setUp, printGrowth, {}}};

}  // namespace
