// Search from position (Ctrl+F3) in project mode, stepping through every hit
// of a common word in a project of 300 modules, in the real window: each
// step is one keystroke of the user and must stay interactive.
//
// Input: 300 generated modules of about 150 lines, written as exported
// modules into a folder and read through the window's own road (open,
// tick, read). The word "mZahl" occurs 26 times in every module.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <memory>
#include <vector>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "WindowBench.h"
#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Trees.h"
#include "base/AppState.h"
#include "base/StartUp.h"
#include "view/Commands.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

namespace {

using lumo::bench::SilentUi;

constexpr int kModules = 300;
const QString kWord = QStringLiteral("mZahl");

QString generatedModule(int m) {
    QString s = "Attribute VB_Name = \"Modul" + QString::number(m) + "\"\r\nOption Explicit\r\nPrivate mZahl As Long\r\n\r\n";
    for (int r = 0; r < 12; ++r) {
        const QString k = QString::number(m) + "_" + QString::number(r);
        s += "Public Sub Arbeit" + k + "(ByVal n As Long)\r\n";
        s += "    Dim i As Long, s As String\r\n    ' zaehlt hoch\r\n";
        s += "    For i = 1 To n\r\n        mZahl = mZahl + i\r\n    Next i\r\n";
        s += "    s = \"Summe \" & CStr(n)\r\n    If n > 10 Then Debug.Print s\r\nEnd Sub\r\n\r\n";
    }
    if (m == 1) s += "' Einzigartig\r\n";
    s += "Public Function Stand" + QString::number(m) + "() As Long\r\n    Stand" + QString::number(m) +
         " = mZahl\r\nEnd Function\r\n";
    return s;
}

struct Fixture {
    QTemporaryDir dir;
    SilentUi ui;
    std::unique_ptr<lumo::MainWindow> window;
    int hits = 0;
    bool ok = false;

    Fixture() {
        const QString folder = dir.path() + "/Gross";
        if (!lumo::bench::writeModuleFolder(folder, kModules, generatedModule)) return;
        window = lumo::bench::windowWithProject(dir, ui, folder, true);
        if (!window->codeShown() || window->codeArea().count() != kModules) return;
        for (int i = 0; i < window->codeArea().count(); ++i)
            hits += int(window->codeArea().view(i)->text().count(kWord, Qt::CaseInsensitive));
        window->commandBar().searchBox()->setText(kWord);
        window->commandBar().menuAction(lumo::Command::ToggleProjectSearch)->trigger();
        ok = hits > 0;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// One round through every hit of the project, one Ctrl+F3 per hit.
void BM_SearchFromPositionThroughAllHits(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.ok) {
        state.SkipWithError("the generated project could not be read");
        return;
    }
    QAction* step = f.window->commandBar().menuAction(lumo::Command::SearchFromPosition);
    for (auto _ : state) {
        for (int i = 0; i < f.hits; ++i) step->trigger();
        QCoreApplication::processEvents();
    }
    state.counters["hits"] = f.hits;
    state.counters["per_hit_us"] =
        benchmark::Counter(double(f.hits), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    if (!f.ui.messages.isEmpty()) state.SkipWithError(qPrintable(f.ui.messages.first()));
}

// The slowest single step: a word whose only hit lies just before the caret
// in the first module, so that every other module is searched to its end
// before the search wraps around to it.
void BM_SearchFromPositionWrapAround(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.ok) {
        state.SkipWithError("the generated project could not be read");
        return;
    }
    QAction* step = f.window->commandBar().menuAction(lumo::Command::SearchFromPosition);
    const QString rare = QStringLiteral("Einzigartig");
    f.window->commandBar().searchBox()->setText(rare);
    for (auto _ : state) {
        state.PauseTiming();
        f.window->showModule(0);
        lumo::CodeView* first = f.window->codeArea().view(0);
        first->setSelStart(int(first->text().indexOf(rare)) + 1);
        state.ResumeTiming();
        step->trigger();
        if (f.window->codeArea().current() != 0) state.SkipWithError("the wrap-around missed its hit");
    }
    f.window->commandBar().searchBox()->setText(kWord);
}

}  // namespace

BENCHMARK(BM_SearchFromPositionThroughAllHits)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SearchFromPositionWrapAround)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {

// The window goes before the application does.
lumo::bench::BenchRegistration program{{{}, {}, [] {
                                            if (fixture().window) {
                                                fixture().window->close();
                                                fixture().window.reset();
                                            }
                                        }}};

}  // namespace
