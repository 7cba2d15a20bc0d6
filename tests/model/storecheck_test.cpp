// The check of a stored project and the rows it hands on: every damage to a
// routine's lines is caught as the store's own query catches it, and the
// rows come in the order of the store's own ORDER BY.
#include <gtest/gtest.h>

#include <QFile>

#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
#include "navigate/StoreFixture.h"

using namespace lumo;

namespace {

class StoreCheckTest : public lumo::test::StoreFixture {
protected:
    // Module 1 of 10 lines, module 2 of 20; routine n lies in its module.
    void addRoutines(std::initializer_list<const char*> rows) {
        store.execute("INSERT INTO td_mod VALUES (1, 'Eins', 1, 10), (2, 'Zwei', 2, 20)");
        for (const char* values : rows) store.execute(QStringLiteral("INSERT INTO td_rout VALUES (%1)").arg(values));
    }
    std::vector<int> numbers(const std::vector<RoutineRow>& rows) {
        std::vector<int> out;
        for (const RoutineRow& r : rows) out.push_back(r.number);
        return out;
    }
    // The order of the store's own sort, through its name collation.
    std::vector<int> storeOrder() {
        std::vector<int> out;
        Query q = store.query("SELECT rou_num FROM td_rout ORDER BY mod_num, rou_name");
        while (q.next()) out.push_back(int(q.integer(0)));
        return out;
    }
};

const QString kOutside = QStringLiteral("die Routine Nummer 2 gehört zu keinem Modul oder ihre Zeilen liegen nicht im Modul");

}  // namespace

TEST_F(StoreCheckTest, EveryRoutineOutsideItsModuleIsRefusedByNumber) {
    const struct {
        const char* name;
        const char* change;  // on routine 2, which lies in module 1 (10 lines) before
    } cases[] = {
        {"kein Modul", "mod_num = 3"},
        {"Modul als Text", "mod_num = 'x'"},
        {"Modul als Zahl mit Komma", "mod_num = 1.5"},
        {"Anfang fehlt", "rou_start = NULL"},
        {"Anfang als Text", "rou_start = 'a'"},
        {"Anfang null", "rou_start = 0"},
        {"Anfang hinter dem Modul", "rou_start = 11, rou_ende = NULL"},
        {"Anfang riesig", "rou_start = 1099511627776"},
        {"Kopf fehlt", "anz_dec_zeilen = NULL"},
        {"Kopf null", "anz_dec_zeilen = 0"},
        {"Kopf als Text", "anz_dec_zeilen = 'b'"},
        {"Ende als Text", "rou_ende = 'c'"},
        {"Ende vor dem Anfang", "rou_ende = 2"},
        {"Ende hinter dem Modul", "rou_ende = 11"},
    };
    for (const auto& c : cases) {
        store.execute("DELETE FROM td_rout");
        store.execute("DELETE FROM td_mod");
        addRoutines({"1, 1, 'A', 1, 1, 1, 1, 2", "2, 1, 'B', 1, 1, 1, 3, 10", "3, 2, 'C', 1, 1, 1, 20, NULL"});
        EXPECT_EQ(storeDamage(store), QString()) << c.name;
        store.execute(QStringLiteral("UPDATE td_rout SET %1 WHERE rou_num = 2").arg(c.change));
        ProjectRows rows;
        EXPECT_EQ(storeDamage(store, &rows), kOutside) << c.name;
        EXPECT_TRUE(rows.routines.empty() && rows.modules.empty()) << c.name;
    }
    // A table not as a build makes it is checked by the store's query alone.
    store.execute("DROP INDEX td_rout_mod");
    EXPECT_FALSE(routineTableAsBuilt(store));
    EXPECT_EQ(storeDamage(store), kOutside);
    store.execute("UPDATE td_rout SET rou_ende = 10 WHERE rou_num = 2");
    EXPECT_EQ(storeDamage(store), QString());
}

TEST_F(StoreCheckTest, RoutineNumbersMayHaveGapsModuleNumbersMayNot) {
    const QString routinesWrong =
        QStringLiteral("die Nummern rou_num der Tabelle td_rout sind nicht eindeutig oder liegen nicht zwischen 1 und 99999999");
    const struct {
        const char* change;
        QString damage;
    } cases[] = {
        // Stores of earlier builds: a number drawn for a head then skipped.
        {"DELETE FROM td_rout WHERE rou_num = 2", {}},
        {"UPDATE td_rout SET rou_num = 99999999 WHERE rou_num = 3", {}},
        {"UPDATE td_rout SET rou_num = 0 WHERE rou_num = 1", routinesWrong},
        {"UPDATE td_rout SET rou_num = 100000000 WHERE rou_num = 3", routinesWrong},
        {"UPDATE td_mod SET mod_num = 3 WHERE mod_num = 2; UPDATE td_rout SET mod_num = 3 WHERE mod_num = 2",
         QStringLiteral("die Nummern mod_num der Tabelle td_mod laufen nicht lückenlos von 1 bis 2")},
    };
    for (const auto& c : cases) {
        store.execute("DELETE FROM td_rout");
        store.execute("DELETE FROM td_mod");
        addRoutines({"1, 1, 'A', 1, 1, 1, 1, 2", "2, 1, 'B', 1, 1, 1, 3, 10", "3, 2, 'C', 1, 1, 1, 20, NULL"});
        for (const QString& statement : QString(c.change).split("; ")) store.execute(statement);
        ProjectRows rows;
        EXPECT_EQ(storeDamage(store, &rows), c.damage) << c.change;
        if (c.damage.isEmpty()) EXPECT_EQ(rows.routines.size(), 3u - (c.change[0] == 'D')) << c.change;
    }
}

TEST_F(StoreCheckTest, RowsComeInTheOrderOfTheStoresOwnSort) {
    // Names equal but for case (a Property's Get and Let), umlauts, a module's
    // rows apart in the table, and first lines against the table's order.
    addRoutines({"1, 2, 'Wert', 3, 1, 1, 9, 12", "2, 1, 'zeile', 1, 1, 1, 5, 6", "3, 2, 'wert', 4, 1, 1, 3, 5",
                 "4, 1, 'Äpfel', 1, 1, 1, 1, 2", "5, 2, 'Apfel_2', 1, 1, 1, 14, 15", "6, 1, 'Apfel', 2, 2, 1, 3, 4",
                 "7, 2, 'WERT', 5, 1, 1, 9, 10", "8, 2, 'Apfel2', 1, 1, 1, 16, 17", "9, 1, 'Zeile', 1, 1, 1, 7, NULL"});
    ASSERT_TRUE(routineTableAsBuilt(store));
    const std::vector<int> expected = storeOrder();
    ASSERT_EQ(expected, (std::vector<int>{6, 4, 2, 9, 5, 8, 3, 1, 7}));
    ProjectRows rows;
    ASSERT_EQ(storeDamage(store, &rows), QString());
    // By module; each module's put in name order (as a window does when it needs them).
    ASSERT_FALSE(rows.namesSorted);
    for (size_t first = 0, last = 0; first < rows.routines.size(); first = last) {
        for (last = first + 1; last < rows.routines.size() && rows.routines[last].module == rows.routines[first].module;)
            ++last;
        sortModuleRoutines(rows.routines, first, last);
    }
    EXPECT_EQ(numbers(rows.routines), expected);
    EXPECT_EQ(numbers(routinesByModuleAndName(store)), expected);
    for (const RoutineRow& r : rows.routines) {
        const RoutineRow stored = *routineByNumber(store, r.number);
        EXPECT_EQ(std::tie(r.module, r.name, r.type, r.visibility, r.headLines, r.start, r.end),
                  std::tie(stored.module, stored.name, stored.type, stored.visibility, stored.headLines,
                           stored.start, stored.end));
    }
    ASSERT_EQ(rows.modules.size(), 2u);
    EXPECT_EQ(rows.modules[1].name, "Zwei");

    // A name that is no text sorts as the store sorts it.
    store.execute("UPDATE td_rout SET rou_name = NULL WHERE rou_num = 8");
    EXPECT_EQ(numbers(routinesByModuleAndName(store)), storeOrder());
    EXPECT_EQ(storeOrder().at(4), 8);
}

TEST_F(StoreCheckTest, AWindowWantsEveryModuleTextAsARegularFileOfTheProject) {
    addRoutines({"1, 1, 'A', 1, 1, 1, 1, 2"});
    const QString first = store.moduleTextPath(1), second = store.moduleTextPath(2);
    QFile text(first);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Sub A()\nEnd Sub\n");
    text.close();
    ASSERT_TRUE(QFile::link(first, second));
    EXPECT_EQ(storeDamage(store), QString());
    EXPECT_EQ(storeDamage(store, nullptr, TextCheck::OwnRegularFiles),
              "der Modultext " + second + " fehlt oder ist keine gewöhnliche Datei");
    ASSERT_TRUE(QFile::remove(second));
    ASSERT_TRUE(QFile::copy(first, second));
    EXPECT_EQ(storeDamage(store, nullptr, TextCheck::OwnRegularFiles), QString());
}

TEST_F(StoreCheckTest, ModulesComeInTheOrderOfTheStoresOwnSort) {
    const char* const cases[] = {
        // umlauts, case, digits and "_" across three types
        "(1, 'Zeta', 2, 1), (2, 'ärger', 3, 1), (3, 'Alpha', 2, 1), (4, 'alpha2', 2, 1), (5, 'Äpfel', 2, 1), "
        "(6, 'B_1', 1, 1), (7, 'b1', 1, 1), (8, 'Apfel', 2, 1)",
        "(1, 'Kunde', 2, 1), (2, 'KUNDE', 2, 1), (3, 'Auftrag', 2, 1)",  // alike: the store's order
        "(1, 'Kunde', '2', 1), (2, 'Auftrag', 2, 1), (3, 7, 1, 1)",      // a type and a name of another kind
    };
    for (const char* values : cases) {
        store.execute("DELETE FROM td_mod");
        store.execute(QStringLiteral("INSERT INTO td_mod VALUES %1").arg(values));
        QStringList expected, got;
        for (const ModuleRow& m : modulesByTypeAndName(store)) expected << m.name;
        ProjectRows rows;
        ASSERT_EQ(storeDamage(store, &rows), QString()) << values;
        for (const ModuleRow& m : rows.modules) got << m.name;
        EXPECT_EQ(got, expected) << values;
    }
}
