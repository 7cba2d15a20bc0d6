// The two-level listing of the tree that is shown.
#include <gtest/gtest.h>

#include "base/Ui.h"
#include "export/StructureListing.h"
#include "support/FakeUi.h"
#include "view/NodeList.h"

using namespace lumo;

TEST(StructureListing, ModulesWithTheirRoutinesInNodeOrderTwoLevelsDeep) {
    NodeList tree;
    tree.addNode({}, "M1", "Werkzeuge", "M2");
    tree.addNode({}, "M2", "Leer", "M3");
    // Children in the order they were added, wherever their parent stands.
    tree.addNode("M1", "R2", "Zwei", "R1O1");
    tree.addNode("M1", "R1", "Eins", "R1O1");
    tree.addNode("M1", "R3", "Drei", "R2O2");
    tree.addNode("R3", "X", "zu tief", "");
    const QString listing = structureListing(tree.nodes());
    EXPECT_EQ(listing, "Werkzeuge\r\n\tZwei\r\n\tEins\r\n\tDrei\r\nLeer\r\n");
    EXPECT_EQ(listing.count("\r\n"), 5);

    test::FakeUi ui;
    structureToClipboard(tree.nodes(), ui, true, "Word Code Lumo 1.0");
    EXPECT_EQ(ui.clipboard, listing);
    ASSERT_EQ(ui.calls.size(), 3u);
    EXPECT_EQ(ui.calls[0].kind, "clip-clear");
    EXPECT_EQ(ui.calls[2].text, "Struktur in der Zwischenablage erstellt");
    EXPECT_EQ(ui.calls[2].title, "Word Code Lumo 1.0");
    EXPECT_EQ(ui.calls[2].icon, MsgIcon::Information);
}

TEST(StructureListing, AnEmptyTreeGivesAnEmptyTextAndStillTheMessage) {
    test::FakeUi ui;
    ui.clipboard = "vorher";
    structureToClipboard({}, ui, true, "T");
    EXPECT_EQ(ui.clipboard, "");
    EXPECT_EQ(ui.messages(), QStringList{"Struktur in der Zwischenablage erstellt"});
    test::FakeUi quiet;
    structureToClipboard({}, quiet, false, "T");
    EXPECT_TRUE(quiet.messages().isEmpty());
}
