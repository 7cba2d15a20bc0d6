// Definition (F8) against a scripted window and a store of hand-made rows.
#include <gtest/gtest.h>

#include "model/Codes.h"
#include "navigate/Definition.h"
#include "navigate/FakeCodeWindow.h"
#include "navigate/RoutineHistory.h"
#include "navigate/StoreFixture.h"

using namespace lumo;
using lumo::test::FakeCodeWindow;

namespace {

const QString kFirst = "Sub Start()\r\n    Rechne 1\r\n    Hilfe\r\nEnd Sub\r\nPrivate Sub Rechne(x)\r\nEnd Sub";
const QString kSecond = "Option Explicit\r\nPublic Sub Rechne(x)\r\nEnd Sub\r\nPrivate Sub Hilfe()\r\nEnd Sub\r\n"
                        "Public Function Anzahl()\r\nEnd Function";

class DefinitionTest : public lumo::test::StoreFixture {
protected:
    void SetUp() override {
        StoreFixture::SetUp();
        addModule(1, "Eins", ModStandard);
        addModule(2, "Zwei", ModStandard);
        addRoutine(1, 1, "Start", RouSub, OpenPublic, 1, 4);
        addRoutine(2, 1, "Rechne", RouSub, OpenPrivate, 5, 6);
        addRoutine(3, 2, "Rechne", RouSub, OpenPublic, 2, 3);
        addRoutine(4, 2, "Hilfe", RouSub, OpenPrivate, 4, 5);
        addRoutine(5, 2, "Anzahl", RouFunction, OpenPublic, 6, 7);
        w.panels[PanelModule] = "Eins";
        w.panels[PanelRoutine] = "Start";
    }
    // The caret right after the first occurrence of `word` in the shown view.
    void caretAfter(const QString& word) {
        w.shown().setSelStart(int(w.shown().content.indexOf(word)) + int(word.size()));
    }

    FakeCodeWindow w{{kFirst, kSecond}};
    RoutineHistory h;
};

}  // namespace

TEST_F(DefinitionTest, ARoutineOfTheShownModuleWinsWhateverItsVisibility) {
    EXPECT_EQ(definitionOf(store, "Rechne", 1)->line, 5);
    EXPECT_EQ(definitionOf(store, "Rechne", 1)->moduleName, "Eins");
    EXPECT_EQ(definitionOf(store, "Rechne", 2)->moduleNumber, 2);
    EXPECT_EQ(definitionOf(store, "rechne", 1)->line, 5);  // names compare without regard to case
    // A Private routine of another module is never found.
    EXPECT_FALSE(definitionOf(store, "Hilfe", 1));
    EXPECT_EQ(definitionOf(store, "Hilfe", 2)->line, 4);
    // The name is bound, not spliced: a quote is part of the name.
    EXPECT_FALSE(definitionOf(store, "Rechne' OR '1'='1", 1));

    pushHistory(w, h);
    caretAfter("Rech");
    definitionCommand(w, h, store, ui);
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(w.current, 0);
    EXPECT_EQ(w.shown().selText(), "Private");  // line 5, first word
    EXPECT_EQ(w.panels[PanelRoutine], "Rechne");
    EXPECT_EQ(w.events.last(), "focus");
}

TEST_F(DefinitionTest, AJumpToAnotherModuleIsRecordedAfterTheAskingPlace) {
    w.view(0).setSelStart(0);
    pushHistory(w, h);  // the node selection that showed Start
    caretAfter("Hilf");
    const int asked = w.shown().selStart();
    w.panels[PanelRoutine] = "Start";
    // Hilfe is Private in Zwei: not reachable from Eins.
    definitionCommand(w, h, store, ui);
    EXPECT_EQ(ui.messages(), QStringList{"Bezeichner unter Cursor nicht erkannt"});
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::None);
    EXPECT_EQ(w.shown().selStart(), asked);
    EXPECT_EQ(h.current(), 1);
    EXPECT_EQ(h.place(1), "0|0");

    w.view(0).content.replace("Hilfe", "Anzahl");
    caretAfter("Anz");
    const int pos = w.shown().selStart();
    definitionCommand(w, h, store, ui);
    EXPECT_EQ(w.current, 1);
    EXPECT_TRUE(w.events.contains("show 1"));
    EXPECT_TRUE(w.events.contains("highlight 1"));
    EXPECT_EQ(w.panels[PanelModule], "Zwei");
    EXPECT_EQ(w.panels[PanelRoutine], "Anzahl");
    EXPECT_EQ(w.shown().selText(), "Public");
    EXPECT_EQ(h.current(), 3);
    EXPECT_EQ(h.place(2), "0|" + QString::number(pos));  // Back returns to where F8 was pressed
    EXPECT_EQ(h.place(3), "1|" + QString::number(w.shown().selStart()));
    EXPECT_EQ(h.label(3), "Zwei|Anzahl");
    EXPECT_TRUE(w.backEnabled);
}

TEST_F(DefinitionTest, NoWordUnderTheCaretOnlyFocusesAndZoomRefuses) {
    for (int caret : {0, int(kFirst.size())}) {
        w.events.clear();
        w.shown().setSelStart(caret);
        definitionCommand(w, h, store, ui);
        EXPECT_EQ(w.events, QStringList{"focus"});
        EXPECT_EQ(w.shown().selStart(), caret);
    }
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(h.current(), 0);

    w.zoom = true;
    w.events.clear();
    caretAfter("Rech");
    definitionCommand(w, h, store, ui);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].text, "Steht im Zoom Modus nicht zur Verfügung");
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::Information);
    EXPECT_TRUE(w.events.isEmpty());
}

TEST_F(DefinitionTest, BackReturnsToWhereF8WasAskedAfterAModuleChosenInTheTree) {
    w.showModule(1);
    w.view(1).setSelStart(3);
    pushHistory(w, h);  // a place in Zwei
    w.showModule(0);    // then module Eins through its module node (no push)
    caretAfter("Rech");
    const int asked = w.shown().selStart();
    definitionCommand(w, h, store, ui);
    EXPECT_EQ(h.place(1), "1|3");
    EXPECT_EQ(h.place(2), "0|" + QString::number(asked));
    EXPECT_EQ(h.current(), 3);
    historyPanelClick(w, h, PanelBack);
    EXPECT_EQ(w.current, 0);
    EXPECT_EQ(w.shown().selStart(), int(kFirst.lastIndexOf(u'\n', asked - 1)) + 1);  // the line's start
    EXPECT_TRUE(w.nextEnabled);
}

TEST_F(DefinitionTest, SeveralDefinitionsElsewhereAreOfferedAndAFirstJumpCanBeUndone) {
    addModule(3, "Drei", ModStandard);
    addRoutine(6, 3, "Anzahl", RouFunction, OpenPublic, 1, 2);
    w.views.emplace_back("Public Function Anzahl()\r\nEnd Function");
    w.view(0).content.replace("Hilfe", "Anzahl");
    caretAfter("Anz");
    const int asked = w.shown().selStart();

    // Dismissed: no jump, nothing recorded.
    definitionCommand(w, h, store, ui);
    EXPECT_EQ(w.offered, (QStringList{"Zwei, Zeile 6 (Routine)", "Drei, Zeile 1 (Routine)"}));
    EXPECT_EQ(w.current, 0);
    EXPECT_EQ(w.shown().selStart(), asked);
    EXPECT_EQ(h.current(), 0);
    EXPECT_TRUE(ui.calls.empty());

    // Chosen from an empty history: Back returns to where F8 was pressed.
    w.choice = 1;
    definitionCommand(w, h, store, ui);
    EXPECT_EQ(w.current, 2);
    EXPECT_EQ(w.panels[PanelModule], "Drei");
    EXPECT_EQ(h.current(), 2);
    EXPECT_EQ(h.label(1), "Eins|Start");
    historyPanelClick(w, h, PanelBack);
    EXPECT_EQ(w.current, 0);

    // The shown module's own declaration is taken without asking.
    w.offered.clear();
    w.showModule(1);
    w.shown().setSelStart(int(kSecond.indexOf("Anzahl")) + 2);
    definitionCommand(w, h, store, ui);
    EXPECT_TRUE(w.offered.isEmpty());
    EXPECT_EQ(w.shown().selText(), "Public");
}
