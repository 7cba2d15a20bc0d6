#pragma once
// A working store in a temporary folder, built through ProjectBuild.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/AppState.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"
#include "support/FakeUi.h"
#include "support/TempWorkFolder.h"

namespace lumo::test {

struct RoutineRow {
    qint64 num, mod, typ, open, decLines;
    QString name;
    QString start, end;  // "" when the field is empty
};

class BuildFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        appState().options = Options{};
        ASSERT_TRUE(build.begin());
    }
    void TearDown() override {
        build.finish();
    }
    Options& options() { return appState().options; }

    // Builds one module; returns its stored text with "\n" line ends.
    QString add(const QString& lfCode, const QString& name = "Modul1", int typ = 2) {
        QString code = lfCode;
        code.replace(QLatin1String("\n"), QLatin1String("\r\n"));
        build.addModule(name, typ, code);
        QString stored = store.readModuleText(store.moduleCounter);
        return stored.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    }
    std::vector<RoutineRow> routines() {
        std::vector<RoutineRow> rows;
        Query q = store.query(
            "SELECT rou_num, mod_num, rou_typ, rou_open, anz_dec_zeilen, rou_name, rou_start, rou_ende "
            "FROM td_rout ORDER BY rou_num");
        while (q.next())
            rows.push_back({q.integer(0), q.integer(1), q.integer(2), q.integer(3), q.integer(4), q.text(5),
                            q.isNull(6) ? QString() : QString::number(q.integer(6)),
                            q.isNull(7) ? QString() : QString::number(q.integer(7))});
        return rows;
    }
    qint64 scalar(const QString& sql) {
        Query q = store.query(sql);
        EXPECT_TRUE(q.next());
        return q.integer(0);
    }

    TempWorkFolder work;
    FakeUi ui;
    ProjectBuild build{ui, WorkingStore::instance(), appState().options};
    WorkingStore& store = WorkingStore::instance();
};

}  // namespace lumo::test
