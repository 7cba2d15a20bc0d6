// The filter line above the project tree while the user types, on a tree of
// 1,000 modules with 12 routines each: every keystroke narrows (or widens)
// the tree and is drawn before the next one, and must stay interactive.
//
// Input: a KeyedTree filled as the project tree is (modules, routines under
// them, all opened), shown in a window of its own with the filter above it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

#include "BenchMain.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/TreeFilter.h"

namespace {

constexpr int kModules = 1000;
constexpr int kRoutines = 12;

struct Fixture {
    std::unique_ptr<QWidget> window;
    lumo::KeyedTree* tree = nullptr;
    lumo::TreeFilter* filter = nullptr;

    Fixture() {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        tree = new lumo::KeyedTree(window.get());
        filter = new lumo::TreeFilter(tree, window.get());
        layout->addWidget(filter);
        layout->addWidget(tree);
        tree->setRedraw(false);
        for (int m = 1; m <= kModules; ++m) {
            const QString module = QStringLiteral("M%1").arg(m);
            tree->addNode({}, module, QStringLiteral("Modul%1").arg(m, 4, 10, QLatin1Char('0')), {});
            for (int r = 0; r < kRoutines; ++r)
                tree->addNode(module, QStringLiteral("R%1").arg(m * 100 + r), QStringLiteral("Arbeit%1_%2").arg(m).arg(r), {});
        }
        tree->expandAll();
        tree->setRedraw(true);
        window->resize(400, 800);
        window->show();
        QCoreApplication::processEvents();
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// Typing a word letter by letter, then taking it back with Escape; the time
// is per keystroke, each drawn before the next.
void typeAndClear(benchmark::State& state, const QString& word) {
    Fixture& f = fixture();
    for (auto _ : state) {
        for (const QChar c : word) {
            f.filter->insert(QString(c));
            QCoreApplication::processEvents();
        }
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(f.filter, &escape);
        QCoreApplication::processEvents();
    }
    state.counters["per_key"] = benchmark::Counter(double(word.size() + 1),
                                                      benchmark::Counter::kIsIterationInvariantRate |
                                                          benchmark::Counter::kInvert);
}

void BM_FilterTypeARoutineName(benchmark::State& state) { typeAndClear(state, QStringLiteral("arbeit77_1")); }
void BM_FilterTypeAModuleName(benchmark::State& state) { typeAndClear(state, QStringLiteral("modul09")); }

}  // namespace

BENCHMARK(BM_FilterTypeARoutineName)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterTypeAModuleName)->Unit(benchmark::kMillisecond)->UseRealTime();

namespace {

lumo::bench::BenchRegistration program{{{}, {}, [] { fixture().window.reset(); }}};

}  // namespace
