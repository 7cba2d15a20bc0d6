// The reading aids in the real window on a project of 300 modules, against
// reading the module texts in the same run: the caller tree (Ctrl+F8; its
// call sites are found when a caller is opened, one module each), and every
// hit of a word in the hit list (Ctrl+Shift+F). Target: each within 50 ms.
//
// Input: the generated modules of the headless aids benchmark, written as
// exported modules into a folder and read through the window's own road
// (open, tick, read); Gemeinsam is called 24 times in every module.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>

#include "AidsModules.h"
#include "BenchMain.h"
#include "BenchSupport.h"
#include "WindowBench.h"
#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/HitPanel.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/WindowNavigation.h"
#include "model/WorkingStore.h"
#include "view/Commands.h"
#include "view/widgets/CodeView.h"

namespace {

using lumo::bench::SilentUi;

constexpr int kModules = 300;
const QString kShared = QStringLiteral("Gemeinsam");

struct Fixture {
    QTemporaryDir dir;
    SilentUi ui;
    std::unique_ptr<lumo::MainWindow> window;
    bool ok = false;

    Fixture() {
        const QString folder = dir.path() + "/Hilfen";
        const bool written = lumo::bench::writeModuleFolder(folder, kModules, [](int m) {
            return "Attribute VB_Name = \"Modul" + QString::number(m) + "\"\r\n" + lumo::bench::aidsModule(m);
        });
        if (!written) return;
        window = lumo::bench::windowWithProject(dir, ui, folder, true);
        if (!window->codeShown() || window->codeArea().count() != kModules) return;
        // The caret on the head of Gemeinsam, so that its callers are asked for.
        for (int i = 0; i < kModules && !ok; ++i) {
            const qsizetype head = window->codeArea().view(i)->text().indexOf("Function " + kShared);
            if (head < 0) continue;
            window->showModule(i);
            window->codeArea().view(i)->setSelStart(int(head) + 10);
            window->navigation().showCaretLocation();
            ok = true;
        }
        window->commandBar().searchBox()->setText(kShared);
        window->commandBar().menuAction(lumo::Command::ToggleProjectSearch)->trigger();
        window->commandBar().menuAction(lumo::Command::ToggleWholeWord)->trigger();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

bool ready(benchmark::State& state) {
    if (fixture().ok) return true;
    state.SkipWithError("the generated project could not be read");
    return false;
}

void BM_ReadModuleTexts(benchmark::State& state) {
    if (!ready(state)) return;
    auto& store = lumo::WorkingStore::instance();
    for (auto _ : state)
        for (int i = 1; i <= kModules; ++i) benchmark::DoNotOptimize(store.readModuleText(i));
}

void BM_CallerTree(benchmark::State& state) {
    if (!ready(state)) return;
    Fixture& f = fixture();
    int nodes = 0;
    for (auto _ : state) {
        f.window->navigation().run(lumo::Command::Callers);
        QCoreApplication::processEvents();
        nodes = f.window->trees().callerTree()->nodeCount();
        state.PauseTiming();
        f.window->navigation().closeCallerResult();
        state.ResumeTiming();
    }
    state.counters["nodes"] = nodes;
    if (nodes == 0 || !f.ui.messages.isEmpty()) state.SkipWithError("no caller tree");
}

void BM_HitList(benchmark::State& state) {
    if (!ready(state)) return;
    Fixture& f = fixture();
    QAction* allHits = f.window->commandBar().menuAction(lumo::Command::AllHits);
    for (auto _ : state) {
        allHits->trigger();
        QCoreApplication::processEvents();
    }
    state.counters["hits"] = double(f.window->hitPanel()->hits().size());
    if (f.window->hitPanel()->hits().empty()) state.SkipWithError("no hits");
}

}  // namespace

BENCHMARK(BM_ReadModuleTexts)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CallerTree)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HitList)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {

// The window goes before the application does.
lumo::bench::BenchRegistration program{{{}, {}, [] {
                                            if (fixture().window) {
                                                fixture().window->close();
                                                fixture().window.reset();
                                            }
                                        }}};

}  // namespace
