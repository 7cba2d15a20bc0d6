#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "base/AppState.h"
#include "model/WorkingStore.h"
#include "support/FakeUi.h"
#include "support/TempWorkFolder.h"

using namespace lumo;

namespace {

class WorkingStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(work.isValid());
    }
    void TearDown() override {
        store.closeWorkingDatabase();
    }
    void build() {
        ASSERT_TRUE(store.createWorkingDatabase(ui));
        store.openWorkingDatabase();
    }
    void addModule(qint64 num, const QString& name, qint64 typ) {
        store.execute("INSERT INTO td_mod (mod_num, mod_name, mod_typ, mod_zeilen) VALUES (?, ?, ?, ?)",
                      {num, name, typ, qint64(0)});
    }
    qint64 count(const QString& table) {
        Query q = store.query("SELECT count(*) AS n FROM " + table);
        EXPECT_TRUE(q.next());
        return q.integer("n");
    }

    test::TempWorkFolder work;
    WorkingStore& store = WorkingStore::instance();
    test::FakeUi ui;
};

TEST_F(WorkingStoreTest, EveryBuildStartsFromEmptyTables) {
    build();
    addModule(1, "Modul1", 2);
    store.execute("INSERT INTO td_rout (rou_num, mod_num, rou_name) VALUES (?, ?, ?)", {qint64(1), qint64(1), "Start"});
    EXPECT_EQ(count("td_mod"), 1);
    store.closeWorkingDatabase();

    build();
    EXPECT_EQ(count("td_mod"), 0);
    EXPECT_EQ(count("td_rout"), 0);
    EXPECT_EQ(store.databasePath(), work.path() + "/DivuRuvi.mdb");
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(WorkingStoreTest, CreatingReplacesAnOpenStoreAndClosingIsSilent) {
    build();
    addModule(1, "Alt", 2);
    // The callers close first; a forgotten close must not leave a stale connection.
    ASSERT_TRUE(store.createWorkingDatabase(ui));
    EXPECT_FALSE(store.isOpen());
    store.closeWorkingDatabase();
    store.closeWorkingDatabase();
    store.openWorkingDatabase();
    EXPECT_EQ(count("td_mod"), 0);
}

TEST_F(WorkingStoreTest, MissingTemplateShowsTheCriticalMessageWithItsPath) {
    QTemporaryDir emptyProgramFolder;
    appState().programFolder = emptyProgramFolder.path();  // no trailing separator on purpose
    QFile old(work.path() + "/DivuRuvi.mdb");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();

    EXPECT_FALSE(store.createWorkingDatabase(ui));
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].text, "Die notwendige Datenbank\r\n" + emptyProgramFolder.path() +
                                    "/mask_DivuRuvi.mdb\r\nexistiert nicht !!!\r\n"
                                    "Bitte kopieren Sie diese wieder an diese Stelle");
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ui.calls[0].title, QString());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "alt");
}

TEST_F(WorkingStoreTest, OpeningWithoutADatabaseFileFailsAndCreatesNothing) {
    EXPECT_THROW(store.openWorkingDatabase(), StoreError);
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(QFile::exists(work.path() + "/DivuRuvi.mdb"));
    EXPECT_THROW(store.execute("DELETE FROM td_mod"), StoreError);

    QFile junk(work.path() + "/DivuRuvi.mdb");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_THROW(store.openWorkingDatabase(), StoreError);
    EXPECT_FALSE(store.isOpen());
}

TEST_F(WorkingStoreTest, NamesWithQuotesAreStoredAndFound) {
    build();
    addModule(1, "Kunde's \"Liste\"", 2);
    Query q = store.query("SELECT mod_num FROM td_mod WHERE mod_name = ?", {QString("Kunde's \"Liste\"")});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.integer(0), 1);
    EXPECT_FALSE(q.next());
}

TEST_F(WorkingStoreTest, NamesCompareWithoutRegardToCaseUmlautsIncluded) {
    build();
    addModule(1, "ÄnderungsModul", 2);
    Query q = store.query("SELECT mod_name FROM td_mod WHERE mod_name = ?", {QString("änderungsmodul")});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text("MOD_NAME"), "ÄnderungsModul");
    Query none = store.query("SELECT mod_name FROM td_mod WHERE mod_name = ?", {QString("anderungsmodul")});
    EXPECT_FALSE(none.next());
}

TEST_F(WorkingStoreTest, ModulesSortByNumericTypeThenByName) {
    build();
    // Types as text, the way the original statements wrote every value.
    const std::vector<std::pair<QString, QString>> rows = {
        {"zeta", "32"}, {"Beta", "3"}, {"alpha", "2"}, {"Ärger", "2"}, {"Brief", "2"},
        {"Form", "1"},  {"Dok", "5"},  {"apfel", "2"}};
    qint64 n = 0;
    for (const auto& [name, typ] : rows)
        store.execute("INSERT INTO td_mod (mod_num, mod_name, mod_typ) VALUES (?, ?, ?)", {++n, name, typ});
    QStringList order;
    Query q = store.query("SELECT mod_name AS name, mod_typ FROM td_mod ORDER BY mod_typ, mod_name");
    while (q.next()) order << q.text("name") + ":" + QString::number(q.integer("mod_typ"));
    EXPECT_EQ(order.join(' '), "Form:1 alpha:2 apfel:2 Ärger:2 Brief:2 Beta:3 Dok:5 zeta:32");

    Query greater = store.query("SELECT count(*) FROM td_mod WHERE mod_typ > 3");
    ASSERT_TRUE(greater.next());
    EXPECT_EQ(greater.integer(0), 2);
}

TEST_F(WorkingStoreTest, StatementErrorsCarryTheEngineMessage) {
    build();
    try {
        store.execute("INSERT INTO td_nix VALUES (?)", {qint64(1)});
        FAIL() << "no error";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("td_nix"), std::string::npos) << e.what();
    }
    addModule(1, "A", 2);
    EXPECT_THROW(addModule(1, "B", 2), StoreError);  // mod_num is unique
    EXPECT_THROW(store.query("SELECT nix FROM td_mod"), StoreError);
    Query q = store.query("SELECT mod_name FROM td_mod");
    ASSERT_TRUE(q.next());
    EXPECT_THROW(q.text("nix"), StoreError);
    EXPECT_THROW(q.integer(3), StoreError);
    EXPECT_EQ(q.columnIndex("nix"), -1);
}

TEST_F(WorkingStoreTest, RolledBackModuleLeavesNoRows) {
    build();
    {
        StoreTransaction t(store);
        addModule(1, "Halb", 2);
    }
    EXPECT_EQ(count("td_mod"), 0);
    {
        StoreTransaction t(store);
        addModule(1, "Ganz", 2);
        t.commit();
    }
    EXPECT_EQ(count("td_mod"), 1);
}

TEST_F(WorkingStoreTest, ModuleTextRoundTripsWithLineBreaksAndMarker) {
    store.moduleCounter = 12;
    const QString text = QString("Sub Ä()\r\n") + QChar(0x0178) + "k\r\nEnd Sub\r\n";
    store.writeModuleText(text);
    EXPECT_EQ(store.moduleTextPath(12), work.path() + "/M12.txt");
    EXPECT_EQ(store.readModuleText(12), text);
    store.writeModuleText("kurz");
    EXPECT_EQ(store.readModuleText(12), "kurz");
    EXPECT_THROW(store.readModuleText(13), StoreError);
    store.moduleCounter = 0;
}

}  // namespace
