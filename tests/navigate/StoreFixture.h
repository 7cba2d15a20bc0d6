#pragma once
// A fresh working store in a temporary folder, with helpers to add rows.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/AppState.h"
#include "model/WorkingStore.h"
#include "support/FakeUi.h"
#include "support/TempWorkFolder.h"

namespace lumo::test {

class StoreFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        ASSERT_TRUE(store.createWorkingDatabase(ui));
        store.openWorkingDatabase();
    }
    void TearDown() override {
        store.closeWorkingDatabase();
    }
    void addModule(int num, const QString& name, int typ) {
        store.execute("INSERT INTO td_mod (mod_num, mod_name, mod_typ, mod_zeilen) VALUES (?, ?, ?, 0)",
                      {qint64(num), name, qint64(typ)});
    }
    void addRoutine(int num, int mod, const QString& name, int typ, int open, int start, int end) {
        store.execute("INSERT INTO td_rout (rou_num, mod_num, rou_name, rou_typ, rou_open, anz_dec_zeilen, "
                      "rou_start, rou_ende) VALUES (?, ?, ?, ?, ?, 0, ?, ?)",
                      {qint64(num), qint64(mod), name, qint64(typ), qint64(open), qint64(start), qint64(end)});
    }

    TempWorkFolder work;
    WorkingStore& store = WorkingStore::instance();
    FakeUi ui;
};

}  // namespace lumo::test
