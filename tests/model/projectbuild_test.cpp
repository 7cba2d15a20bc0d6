// A build that leaves out the modules it cannot parse, and the warning that
// names them.
#include <gtest/gtest.h>

#include <QFile>

#include "model/BuildFixture.h"
#include "model/ParseError.h"
#include "model/TagNotation.h"

namespace {

class LeavingOut : public lumo::test::BuildFixture {};

}  // namespace

TEST_F(LeavingOut, ModulesReadInPartOrLeftOutAreNamedAndTheNumbersRunOn) {
    add("Sub A()\nEnd Sub", "Eins");
    EXPECT_TRUE(build.addModuleOrLeaveOut("Kaputt", 2, lumo::test::crlf("Function F()\nx = 1\nEnd Sub\nEnd Function")));
    options().reindentBlocks = true;
    EXPECT_FALSE(build.addModuleOrLeaveOut("Tief", 2, QStringList(40000, "For i = 1 To 2").join("\r\n")));
    options().reindentBlocks = false;
    EXPECT_TRUE(build.addModuleOrLeaveOut("Drei", 3, lumo::test::crlf("Sub C()\nEnd Sub\nSub D(): End Sub")));
    EXPECT_TRUE(build.addModuleOrLeaveOut("Ohne", 2, "Declare Sub X (a)"));

    QStringList told;
    for (const auto& m : build.leftOut()) told << QString("%1 %2 %3 %4").arg(m.name, m.reason).arg(m.line).arg(m.textKept);
    EXPECT_EQ(told, QStringList({"Kaputt \"End Sub\" ohne Routinenkopf 3 1", "Tief Einrückung zu tief 0 0",
                                 "Ohne Declare ohne Lib 1 1"}));
    EXPECT_EQ(lumo::countLeftOut(build.leftOut()), 1u);

    lumo::Query q = store.query("SELECT mod_num, mod_name FROM td_mod ORDER BY mod_num");
    QStringList mods;
    while (q.next()) mods << QString("%1 %2").arg(q.integer(0)).arg(q.text(1));
    EXPECT_EQ(mods, QStringList({"1 Eins", "2 Kaputt", "3 Drei", "4 Ohne"}));
    QStringList rous;
    for (const auto& r : routines()) rous << QString("%1 %2 %3").arg(r.num).arg(r.mod).arg(r.name);
    EXPECT_EQ(rous, QStringList({"1 1 A", "2 2 F", "3 3 C", "4 3 D"}));
    EXPECT_EQ(lumo::test::untagged(store.readModuleText(4)), "Declare Sub X (a)\r\n");
    EXPECT_FALSE(QFile::exists(lumo::appState().workFolder + "M5.txt"));

    // A new build forgets what the last one left out.
    ASSERT_TRUE(build.begin());
    EXPECT_TRUE(build.leftOut().empty());
}

TEST(BuildWarning, TenLinesThenOneLinePerModuleLeftOut) {
    const QString ten =
        "Fehler beim Einlesen !\r\n"
        "Dies kann mehrere Ursachen haben:\r\n"
        "1. Die Mappe mit dem Modul ist nicht mehr geöffnet.\r\n"
        "2. Im Code sind Konstrukte, die die Divuruvi nicht auslesen kann, z.B.  spezielle Doppelpunktonstrukte\r\n"
        "in der Art, \r\n"
        "Private Sub Test : End Sub\r\n"
        "(Also Deklaration Sub und  End Sub in einer Zeile)\r\n"
        "3. Syntaktisch nicht korrekter Code (Sollte dann auch im Editior rot sein)\r\n"
        "\r\n"
        "Siehe auch mögliche Fehler in der Hilfe";
    EXPECT_EQ(lumo::buildFailedWarning(), ten);
    EXPECT_EQ(lumo::buildFailedWarning({{"Kaputt", "Routinenkopf ohne \"(\"", 3}, {"Tief", "Einrückung zu tief", 0}}),
              ten + "\r\n\r\n"
                    "Modul: Kaputt (Routinenkopf ohne \"(\" in Zeile 3)\r\n"
                    "Modul: Tief (Einrückung zu tief)");
    EXPECT_EQ(lumo::buildFailedTitle("Kaputt"), "Fehler beim Einlesen: Modul Kaputt");
}
