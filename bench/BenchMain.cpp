#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <algorithm>

#ifdef LUMO_BENCH_WIDGETS
#include <QApplication>
#else
#include <QCoreApplication>
#endif

namespace lumo::bench {

namespace {

BenchProgram& program() {
    static BenchProgram p;
    return p;
}

class FastestReporter : public benchmark::ConsoleReporter {
public:
    Seconds seconds;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.error_occurred || r.iterations == 0 || r.run_type != Run::RT_Iteration) continue;
            const double t = r.real_accumulated_time / double(r.iterations);
            auto [it, added] = seconds.emplace(r.run_name.function_name, t);
            if (!added) it->second = std::min(it->second, t);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

BenchRegistration::BenchRegistration(BenchProgram p) { program() = std::move(p); }

}  // namespace lumo::bench

int main(int argc, char** argv) {
#ifdef LUMO_BENCH_WIDGETS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    const lumo::bench::BenchProgram& p = lumo::bench::program();
    if (p.setUp) {
        if (const int status = p.setUp(); status >= 0) return status;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (p.report) {
        lumo::bench::FastestReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        p.report(reporter.seconds);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    if (p.tearDown) p.tearDown();
    return 0;
}
