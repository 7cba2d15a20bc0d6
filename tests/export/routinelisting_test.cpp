// The long form of the structure listing on a project built by the real parser.
#include <gtest/gtest.h>

#include "export/RoutineListing.h"
#include "navigate/AidsProject.h"

using namespace lumo;

namespace {

class RoutineListingTest : public lumo::test::AidsProjectFixture {};

}  // namespace

TEST_F(RoutineListingTest, KindVisibilityAndSignaturePerRoutine) {
    // Modules as the tree orders them; a continued head joined, its comment
    // left out; Get and Let apart; the two #If branches of Tick once.
    EXPECT_EQ(routineListing(store),
              "Haupt\tAllgemeines Modul\r\n"
              "\tRechne\tFunction\tPrivate\tRechne(ByVal x As Long, y) As Long\r\n"
              "\tStart\tSub\tPublic\tStart()\r\n"
              "\tTick\tDeclare Function\tPrivate\tTick Lib \"k\" () As Long\r\n"
              "Helfer\tAllgemeines Modul\r\n"
              "\tTest\tSub\tPublic\tTest()\r\n"
              "Kunde\tKlassenmodul\r\n"
              "\tRot\tFunction\tPublic\tRot()\r\n"
              "\tStart\tSub\tPublic\tStart()\r\n"
              "\tWert\tProperty Get\tPublic\tWert()\r\n"
              "\tWert\tProperty Let\tPublic\tWert(v)\r\n");

    routineListingToClipboard(store, ui, true, "Titel");
    EXPECT_TRUE(ui.clipboard.startsWith("Haupt\t"));
    EXPECT_EQ(ui.messages(), QStringList{"Struktur in der Zwischenablage erstellt"});
}
