// The reading aids of the code view on a project of 1,000 modules: "Alle
// Verweise" on its most-used name (Gemeinsam, called 24 times in every
// module), the hover over a call of it, and the caret moved by keys with and
// without the uses of its name marked at every step (the window marks them
// only once the caret rests; this is the worst case of a caret that rests
// after every key). Target: each aid within 50 ms; marking no measurable
// cost to a caret move.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QKeyEvent>

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
#include "view/Commands.h"
#include "view/widgets/CodeView.h"

namespace {

using lumo::bench::SilentUi;

constexpr int kModules = 1000;
constexpr int kShownModule = 500;  // 0-based index of the module the caret is in

struct Fixture {
    QTemporaryDir dir;
    SilentUi ui;
    std::unique_ptr<lumo::MainWindow> window;
    int callAt = -1;  // a call of Gemeinsam in the shown module
    bool ok = false;

    Fixture() {
        const QString folder = dir.path() + "/Tausend";
        const bool written = lumo::bench::writeModuleFolder(folder, kModules, [](int m) {
            return "Attribute VB_Name = \"Modul" + QString::number(m) + "\"\r\n" + lumo::bench::aidsModule(m);
        });
        if (!written) return;
        window = lumo::bench::windowWithProject(dir, ui, folder, true);
        if (!window->codeShown() || window->codeArea().count() != kModules) return;
        window->showModule(kShownModule);
        lumo::CodeView* view = window->codeArea().visibleView();
        callAt = int(view->text().indexOf("Gemeinsam(i)")) + 3;
        view->setSelStart(callAt);
        window->navigation().showCaretLocation();
        ok = callAt > 3;
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

void BM_AllReferences(benchmark::State& state) {
    if (!ready(state)) return;
    Fixture& f = fixture();
    QAction* all = f.window->commandBar().menuAction(lumo::Command::AllReferences);
    for (auto _ : state) {
        f.window->codeArea().visibleView()->setSelStart(f.callAt);
        all->trigger();
        QCoreApplication::processEvents();
    }
    state.counters["references"] = double(f.window->hitPanel()->hits().size());
    if (f.window->hitPanel()->hits().size() < size_t(kModules) * 24) state.SkipWithError("references missing");
}

void BM_Hover(benchmark::State& state) {
    if (!ready(state)) return;
    Fixture& f = fixture();
    QString tip;
    for (auto _ : state) benchmark::DoNotOptimize(tip = f.window->navigation().hoverText(kShownModule, f.callAt));
    if (!tip.contains("Gemeinsam")) state.SkipWithError("no hover text");
}

// Arg 0: the caret moves only; arg 1: the uses are marked after every move.
void BM_CaretMove(benchmark::State& state) {
    if (!ready(state)) return;
    Fixture& f = fixture();
    lumo::CodeView* view = f.window->codeArea().visibleView();
    const bool marks = state.range(0) == 1;
    view->setSelStart(0);
    int step = 0;
    for (auto _ : state) {
        // Down through the module and back up, over names and blank lines.
        const Qt::Key key = (step++ / 100) % 2 == 0 ? Qt::Key_Down : Qt::Key_Up;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QCoreApplication::sendEvent(view, &release);
        if (marks) f.window->navigation().markOccurrences(kShownModule);
    }
    state.counters["marked"] = view->markCount();
}

}  // namespace

BENCHMARK(BM_AllReferences)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Hover)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CaretMove)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

namespace {

// The window goes before the application does.
lumo::bench::BenchRegistration program{{{}, {}, [] {
                                            if (fixture().window) {
                                                fixture().window->close();
                                                fixture().window.reset();
                                            }
                                        }}};

}  // namespace
