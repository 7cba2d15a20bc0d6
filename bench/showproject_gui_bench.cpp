// Showing a built project (trees and every code view) against loading the
// same module texts as plain text into the same number of text widgets.
//
// Input: the VBA-Web corpus project (the whole folder of exported modules),
// opened in the document host and read once through the window's own road
// (list, tick, read); the timing then repeats only ShowProject.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>
#include <vector>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "WindowBench.h"
#include "app/widgets/CodeArea.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/Trees.h"
#include "base/AppState.h"
#include "base/StartUp.h"
#include "model/WorkingStore.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

namespace {

const QString kProject = lumo::bench::vbaWebDir();

using lumo::bench::SilentUi;

struct Fixture {
    QTemporaryDir dir;
    SilentUi ui;
    std::unique_ptr<lumo::MainWindow> window;
    QStringList plainFiles;  // the modules' plain texts, one file each
    bool ok = false;

    Fixture() {
        window = lumo::bench::windowWithProject(dir, ui, kProject, false);
        if (!window->codeShown()) return;
        for (int i = 0; i < window->codeArea().count(); ++i) {
            const QString path = dir.path() + QStringLiteral("/plain%1.txt").arg(i);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly)) return;
            f.write(window->codeArea().view(i)->text().toUtf8());
            plainFiles << path;
        }
        ok = true;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ShowProject(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.ok) {
        state.SkipWithError("VBA-Web corpus project not found or not readable");
        return;
    }
    for (auto _ : state) {
        f.window->showProject();
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = f.window->codeArea().count();
    state.counters["nodes"] = f.window->trees().projectTree()->nodeCount();
}

void BM_PlainTextLoad(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.ok) {
        state.SkipWithError("VBA-Web corpus project not found or not readable");
        return;
    }
    QWidget host;
    host.resize(1200, 800);
    host.show();
    for (auto _ : state) {
        std::vector<std::unique_ptr<QPlainTextEdit>> views;
        for (const QString& path : f.plainFiles) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) continue;
            auto v = std::make_unique<QPlainTextEdit>(&host);
            v->setReadOnly(true);
            v->setPlainText(QString::fromUtf8(file.readAll()));
            views.push_back(std::move(v));
        }
        views.front()->show();
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = double(f.plainFiles.size());
}

}  // namespace

BENCHMARK(BM_ShowProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextLoad)->Unit(benchmark::kMillisecond);

namespace {

lumo::bench::BenchRegistration program{{{}, {}, [] {
                                            if (fixture().window) fixture().window->close();
                                        }}};

}  // namespace
