// Large projects in the real window: opening a stored project and reading
// ticked modules until the tree and the first module are shown, against
// reading the module files and against `codelumo-cli build` of the same
// modules; how long the event loop waited at most meanwhile; and the growth
// per tenfold input.
//
// Input: projects of 100, 300 and 1,000 modules copied round-robin from the
// corpus projects (about 500 lines each), written as exported modules and
// built once by codelumo-cli into stored projects.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

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
#include "view/widgets/KeyedTree.h"

namespace {

using lumo::bench::SilentUi;

const int kSizes[] = {100, 300, 1000};
const QString kCli = QStringLiteral(LUMO_BIN_DIR "/codelumo-cli");

// `count` modules copied round-robin from the corpus projects, each renamed
// (VB_Name) so that no two share a name: a large project of real code.
bool writeCopiedModules(const QString& folder, int count) {
    QStringList texts, names;
    for (const QString& file : lumo::bench::moduleFiles(lumo::bench::corpusDir() + QStringLiteral("/vba-src"))) {
        const std::optional<QString> text = lumo::bench::readUtf8File(file);
        if (!text) return false;
        texts << *text;
        names << QFileInfo(file).completeBaseName();
    }
    if (texts.isEmpty()) return false;
    static const QRegularExpression vbName(QStringLiteral("Attribute VB_Name = \"[^\"]*\""));
    return lumo::bench::writeModuleFolder(folder, count, [&](int m) {
        const int source = (m - 1) % int(texts.size());
        QString text = texts[source];
        return text.replace(vbName, QStringLiteral("Attribute VB_Name = \"%1%2\"").arg(names[source]).arg(m));
    });
}

struct Fixture {
    QTemporaryDir dir;
    SilentUi ui;
    std::unique_ptr<lumo::MainWindow> window;
    bool ok = false;

    QString modules(int n) const { return dir.path() + QStringLiteral("/Module%1").arg(n); }
    QString stored(int n) const { return dir.path() + QStringLiteral("/Stored%1").arg(n); }

    Fixture() {
        for (int n : kSizes) {
            if (!writeCopiedModules(modules(n), n)) return;
            if (QProcess::execute(kCli, {QStringLiteral("build"), QStringLiteral("--out"), stored(n), modules(n)}) != 0)
                return;
        }
        lumo::StartupPaths paths;
        paths.programFolder = QStringLiteral(LUMO_BIN_DIR);
        paths.dataFolder = dir.path() + "/data";
        paths.settingsFile = dir.path() + "/settings.ini";
        lumo::initSharedState(paths);
        lumo::appState().ui = &ui;
        window = std::make_unique<lumo::MainWindow>();
        window->loadMainWindow({});
        window->resize(1200, 800);
        window->show();
        // Drawn once, as a window is before the user can give it a command:
        // its first drawing is no part of opening a project.
        QCoreApplication::processEvents();
        ok = true;
    }
    // A window that lists only the modules of the project of n modules, as
    // when the user opened just that folder.
    std::unique_ptr<lumo::MainWindow> readingWindow(int n) {
        auto w = std::make_unique<lumo::MainWindow>();
        w->loadMainWindow({modules(n)});
        w->resize(1200, 800);
        w->show();
        QCoreApplication::processEvents();
        return w;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// The longest the event loop waited for its turn while `work` ran.
class LoopGaps {
public:
    LoopGaps() {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }
    template <class Work> void measure(Work work) {
        clock_.start();
        timer_.start();
        work();
        tick();
        timer_.stop();
    }
    double maxMs() const { return max_; }

private:
    void tick() {
        max_ = std::max(max_, double(clock_.nsecsElapsed()) / 1e6);
        clock_.restart();
    }
    QTimer timer_;
    QElapsedTimer clock_;
    double max_ = 0;
};

double residentMb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0 : 0;
}

void BM_ReadModuleFiles(benchmark::State& state) {
    Fixture& f = fixture();
    const int n = int(state.range(0));
    for (auto _ : state) {
        for (int m = 1; m <= n; ++m) {
            QFile file(f.stored(n) + QStringLiteral("/M%1.txt").arg(m));
            if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("a module file is missing");
            benchmark::DoNotOptimize(file.readAll());
        }
    }
}

void BM_OpenStored(benchmark::State& state) {
    Fixture& f = fixture();
    const int n = int(state.range(0));
    LoopGaps gaps;
    for (auto _ : state) {
        gaps.measure([&] { f.window->openStoredProject(f.stored(n)); });
        QCoreApplication::processEvents();
        if (!f.window->codeShown() || f.window->trees().state().moduleCount != n)
            state.SkipWithError("the stored project was not shown");
    }
    state.counters["max_gap_ms"] = gaps.maxMs();
    state.counters["rss_mb"] = residentMb();
}

// The options dialog's OK with a new look, on the stored project opened.
void BM_RenderAgain(benchmark::State& state) {
    Fixture& f = fixture();
    const int n = int(state.range(0));
    f.window->openStoredProject(f.stored(n));
    LoopGaps gaps;
    for (auto _ : state) {
        lumo::appState().options.fontSize = lumo::appState().options.fontSize == 10 ? 11 : 10;
        gaps.measure([&] { f.window->renderCodeViewsAgain(); });
        QCoreApplication::processEvents();
    }
    state.counters["max_gap_ms"] = gaps.maxMs();
}

// Search (F3) over the whole project for a word only the last module holds.
void BM_SearchProject(benchmark::State& state) {
    Fixture& f = fixture();
    const int n = int(state.range(0));
    f.window->openStoredProject(f.stored(n));
    if (!f.window->commandBar().checked(lumo::Command::ToggleProjectSearch))
        f.window->commandBar().menuAction(lumo::Command::ToggleProjectSearch)->trigger();
    // A word of no module: every module is looked through.
    f.window->commandBar().searchBox()->setText(QStringLiteral("KeinModulHatDiesesWort"));
    LoopGaps gaps;
    for (auto _ : state) {
        gaps.measure([&] { f.window->commandBar().menuAction(lumo::Command::Search)->trigger(); });
        QCoreApplication::processEvents();
    }
    state.counters["max_gap_ms"] = gaps.maxMs();
    state.counters["views_made"] = f.window->codeArea().madeCount();
    f.ui.messages.clear();
}

void BM_CliBuild(benchmark::State& state) {
    Fixture& f = fixture();
    const int n = int(state.range(0));
    const QString out = f.dir.path() + QStringLiteral("/Cli%1").arg(n);
    for (auto _ : state) {
        if (QProcess::execute(kCli, {QStringLiteral("build"), QStringLiteral("--out"), out, f.modules(n)}) != 0)
            state.SkipWithError("codelumo-cli build failed");
    }
}

void BM_ReadTicked(benchmark::State& state) {
    Fixture& f = fixture();
    const int n = int(state.range(0));
    std::unique_ptr<lumo::MainWindow> window = f.readingWindow(n);
    LoopGaps gaps;
    for (auto _ : state) {
        state.PauseTiming();
        window->refreshCommand();
        window->trees().appTree()->topLevelItem(0)->setCheckState(0, Qt::Checked);
        state.ResumeTiming();
        gaps.measure([&] { window->readTickedCode(); });
        QCoreApplication::processEvents();
        if (!window->codeShown() || window->trees().state().moduleCount != n)
            state.SkipWithError("the ticked modules were not shown");
    }
    state.counters["max_gap_ms"] = gaps.maxMs();
    state.counters["rss_mb"] = residentMb();
    window->close();
}

int setUp() {
    if (!fixture().ok) {
        std::fprintf(stderr, "the generated projects could not be made (corpus, codelumo-cli)\n");
        return 1;
    }
    for (int n : kSizes) {
        const std::string size = std::to_string(n);
        benchmark::RegisterBenchmark(("ReadModuleFiles/" + size).c_str(), BM_ReadModuleFiles)
            ->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(20);
        benchmark::RegisterBenchmark(("OpenStored/" + size).c_str(), BM_OpenStored)
            ->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(20);
        benchmark::RegisterBenchmark(("RenderAgain/" + size).c_str(), BM_RenderAgain)
            ->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
        benchmark::RegisterBenchmark(("SearchProject/" + size).c_str(), BM_SearchProject)
            ->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
        benchmark::RegisterBenchmark(("CliBuild/" + size).c_str(), BM_CliBuild)
            ->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);
        benchmark::RegisterBenchmark(("ReadTicked/" + size).c_str(), BM_ReadTicked)
            ->Arg(n)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);
    }
    return -1;
}

void report(const lumo::bench::Seconds& seconds) {
    auto at = [&](const std::string& name) {
        const auto it = seconds.find(name);
        return it == seconds.end() ? 0.0 : it->second;
    };
    std::printf("\n%-8s %12s %12s %10s %12s %12s %10s\n", "modules", "open ms", "files ms", "open/files",
                "read ms", "cli ms", "read/cli");
    for (int n : kSizes) {
        const std::string s = std::to_string(n);
        const double open = at("OpenStored/" + s), files = at("ReadModuleFiles/" + s);
        const double read = at("ReadTicked/" + s), cli = at("CliBuild/" + s);
        std::printf("%-8d %12.1f %12.1f %10.2f %12.1f %12.1f %10.2f\n", n, open * 1e3, files * 1e3,
                    files > 0 ? open / files : 0.0, read * 1e3, cli * 1e3, cli > 0 ? read / cli : 0.0);
    }
    auto growth = [&](const std::string& name) {
        const double small = at(name + "/100");
        return small > 0 ? at(name + "/1000") / small : 0.0;
    };
    std::printf("growth per tenfold (100 -> 1000 modules): open %.1fx, read %.1fx, cli %.1fx, files %.1fx\n",
                growth("OpenStored"), growth("ReadTicked"), growth("CliBuild"), growth("ReadModuleFiles"));
}

}  // namespace

lumo::bench::BenchRegistration program{{setUp, report, [] {
                                            if (fixture().window) fixture().window->close();
                                        }}};
