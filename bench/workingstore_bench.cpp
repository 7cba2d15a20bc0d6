// Cost of storing a build's rows: one transaction per module against one
// statement per transaction, and reading a module list back in order.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "../tests/support/FakeUi.h"
#include "base/AppState.h"
#include "model/WorkingStore.h"

using namespace lumo;

namespace {

constexpr int kRoutinesPerModule = 50;

void freshStore(QTemporaryDir& dir) {
    appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    appState().workFolder = dir.path() + "/";
    test::FakeUi ui;
    WorkingStore::instance().createWorkingDatabase(ui);
    WorkingStore::instance().openWorkingDatabase();
}

void storeModule(WorkingStore& store, qint64 mod, qint64& rou) {
    store.execute("INSERT INTO td_mod (mod_num, mod_name, mod_typ, mod_zeilen) VALUES (?, ?, ?, ?)",
                  {mod, QString("Modul%1").arg(mod), qint64(2), qint64(500)});
    for (int i = 0; i < kRoutinesPerModule; ++i) {
        ++rou;
        store.execute("INSERT INTO td_rout (rou_num, mod_num, rou_name, rou_typ, rou_open, anz_dec_zeilen, rou_start, "
                      "rou_ende) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                      {rou, mod, QString("Routine%1").arg(rou), qint64(1), qint64(1), qint64(1), qint64(i * 10 + 1),
                       qint64(i * 10 + 9)});
    }
}

void BM_ModulePerTransaction(benchmark::State& state) {
    QTemporaryDir dir;
    freshStore(dir);
    WorkingStore& store = WorkingStore::instance();
    qint64 mod = 0, rou = 0;
    for (auto _ : state) {
        StoreTransaction t(store);
        storeModule(store, ++mod, rou);
        t.commit();
    }
    state.SetItemsProcessed(state.iterations() * (kRoutinesPerModule + 1));
    store.closeWorkingDatabase();
}
BENCHMARK(BM_ModulePerTransaction);

void BM_ModuleWithoutTransaction(benchmark::State& state) {
    QTemporaryDir dir;
    freshStore(dir);
    WorkingStore& store = WorkingStore::instance();
    qint64 mod = 0, rou = 0;
    for (auto _ : state) storeModule(store, ++mod, rou);
    state.SetItemsProcessed(state.iterations() * (kRoutinesPerModule + 1));
    store.closeWorkingDatabase();
}
BENCHMARK(BM_ModuleWithoutTransaction)->Iterations(20);

void BM_ModuleListInOrder(benchmark::State& state) {
    QTemporaryDir dir;
    freshStore(dir);
    WorkingStore& store = WorkingStore::instance();
    qint64 rou = 0;
    {
        StoreTransaction t(store);
        for (qint64 m = 1; m <= 200; ++m) storeModule(store, m, rou);
        t.commit();
    }
    for (auto _ : state) {
        Query q = store.query("SELECT mod_num, mod_name FROM td_mod ORDER BY mod_typ, mod_name");
        int n = 0;
        while (q.next()) n += int(q.integer(0));
        benchmark::DoNotOptimize(n);
    }
    store.closeWorkingDatabase();
}
BENCHMARK(BM_ModuleListInOrder);

}  // namespace
