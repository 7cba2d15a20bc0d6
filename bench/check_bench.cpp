// "check" of a 1,000-module project against reading its module texts, in
// turns within one run: the target is at most 3 times the read. The check
// includes reading the project's scope (which reads the texts itself).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <memory>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "base/AppState.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"
#include "navigate/Checks.h"

namespace {

constexpr int kModules = 1000;
std::unique_ptr<QTemporaryDir> folder;
double lastRatio = 0;

QString generatedModule(int m) {
    QString s = "Option Explicit\r\nPrivate mZahl As Long\r\nPrivate Const kGrenze As Long = 10\r\n\r\n";
    for (int r = 0; r < 6; ++r) {
        const QString k = QString::number(m) + "_" + QString::number(r);
        s += (r % 2 ? "Private" : "Public") + QString(" Function Rechne%1(ByVal n As Long, t As String) As Long\r\n").arg(k);
        s += "    Dim i As Long, summe As Long, rest\r\n";
        s += "    On Error GoTo Fehler\r\n";
        s += "    For i = 1 To n ' zählt\r\n";
        s += "        If i Mod 2 = 0 Then\r\n            summe = summe + i\r\n        ElseIf i > kGrenze Then\r\n";
        s += "            summe = summe - Len(t)\r\n        End If\r\n    Next i\r\n";
        s += "    mZahl = mZahl + summe: Rechne" + k + " = summe\r\n";
        s += "    Exit Function\r\nFehler:\r\n    Debug.Print \"Fehler in Rechne" + k + "\"\r\nEnd Function\r\n\r\n";
    }
    s += "Public Sub Lauf" + QString::number(m) + "()\r\n    Debug.Print Rechne" + QString::number(m) + "_1(3, \"x\")\r\nEnd Sub\r\n";
    return s;
}

void BM_CheckAgainstRead(benchmark::State& state) {
    if (!folder) {
        state.SkipWithError("project not built");
        return;
    }
    lumo::appState().workFolder = folder->path() + "/";
    auto& store = lumo::WorkingStore::instance();
    store.openWorkingDatabase();
    using Clock = std::chrono::steady_clock;
    double readSum = 0, checkSum = 0;
    size_t findings = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int i = 1; i <= kModules; ++i) benchmark::DoNotOptimize(store.readModuleText(i));
        const auto t1 = Clock::now();
        std::unique_ptr<lumo::ProjectScope> scope = lumo::ProjectScope::read(store);
        findings = lumo::checkProject(*scope, lumo::CheckRules()).size();
        const auto t2 = Clock::now();
        readSum += std::chrono::duration<double>(t1 - t0).count();
        checkSum += std::chrono::duration<double>(t2 - t1).count();
    }
    lastRatio = checkSum / readSum;
    state.counters["ratio"] = lastRatio;
    state.counters["read_ms"] = readSum / double(state.iterations()) * 1e3;
    state.counters["check_ms"] = checkSum / double(state.iterations()) * 1e3;
    state.counters["findings"] = double(findings);
    store.closeWorkingDatabase();
}

void printRatio(const lumo::bench::Seconds&) {
    std::printf("\ncheck / reading the module texts of %d modules (target <= 3x): %.2fx\n", kModules, lastRatio);
}

int setUp() {
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().options = lumo::Options{};
    folder = std::make_unique<QTemporaryDir>();
    lumo::appState().workFolder = folder->path() + "/";
    lumo::bench::SilentUi ui;
    lumo::ProjectBuild build(ui, lumo::WorkingStore::instance(), lumo::appState().options);
    if (!build.begin()) {
        folder.reset();
        return -1;
    }
    for (int m = 1; m <= kModules; ++m) build.addModule("Modul" + QString::number(m), 2, generatedModule(m));
    build.finish();
    benchmark::RegisterBenchmark("CheckAgainstRead/Generated1000", BM_CheckAgainstRead)
        ->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    return -1;
}

lumo::bench::BenchRegistration program{{setUp, printRatio, {}}};

}  // namespace
