// Search and Search from position through a scripted window.
#include <gtest/gtest.h>

#include "navigate/FakeCodeWindow.h"
#include "navigate/TextSearch.h"
#include "support/FakeUi.h"

using namespace lumo;
using lumo::test::FakeCodeWindow;
using lumo::test::FakeUi;

namespace {

const SearchSwitches kModule{false, false};
const SearchSwitches kProject{true, false};

class TextSearchTest : public ::testing::Test {
protected:
    FakeCodeWindow w{{"Dim a\r\nDimension b", "x = 1\r\n' dim c", "Sub Z()\r\n  Dim d\r\nEnd Sub"}};
    FakeUi ui;
};

}  // namespace

TEST_F(TextSearchTest, ModuleSearchFromTheTopAndOnFromTheCaret) {
    QString box = "  dim ";
    searchCommand(w, box, kModule, ui);
    EXPECT_EQ(box, "dim");  // the box shows the trimmed text
    EXPECT_EQ(w.shown().selStart(), 0);  // a hit at the very first character
    EXPECT_EQ(w.shown().selLength(), 3);
    EXPECT_EQ(w.events, (QStringList{"focus", "caret"}));

    searchFromPositionCommand(w, box, kModule, ui);
    EXPECT_EQ(w.shown().selStart(), 7);  // Dimension, case-insensitive
    // With whole words on, Dim passes over Dimension; there is no wrap-around in a module.
    w.shown().setSelStart(0);
    searchFromPositionCommand(w, box, {false, true}, ui);
    EXPECT_EQ(ui.messages(), QStringList{"Der Suchtext\r\nwurde ausgehend von  der letzten Position \r\n"
                                         "im Modul nicht gefunden .\r\n"});
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::Warning);
    EXPECT_EQ(w.shown().selStart(), 0);
    EXPECT_EQ(w.events.last(), "focus");

    box = "gibtsnicht";
    searchCommand(w, box, kModule, ui);
    EXPECT_EQ(ui.messages().last(), "Der Suchtext\r\nwurde im Modul nicht gefunden .\r\n");
    box = " \t ";
    ui.calls.clear();
    w.events.clear();
    searchCommand(w, box, kModule, ui);
    searchFromPositionCommand(w, box, kProject, ui);
    EXPECT_TRUE(ui.calls.empty());  // an empty text is ignored silently
    EXPECT_TRUE(w.events.isEmpty());
    EXPECT_EQ(box, "");
}

TEST_F(TextSearchTest, ProjectSearchBeginsWithTheFirstModule) {
    w.showModule(2);
    w.events.clear();
    QString box = "dim";
    searchCommand(w, box, kProject, ui);
    EXPECT_EQ(w.current, 0);
    EXPECT_EQ(w.events, (QStringList{"show 0", "focus", "caret"}));
    box = "Sub";
    searchCommand(w, box, kProject, ui);
    EXPECT_EQ(w.current, 2);
    box = "nirgends";
    searchCommand(w, box, kProject, ui);
    EXPECT_EQ(ui.messages(), QStringList{"Der Suchtext wurde im gesamten Projekt nicht gefunden"});
    EXPECT_EQ(w.current, 2);
}

TEST_F(TextSearchTest, SearchFromPositionWrapsAroundInProjectMode) {
    // Whole words: only "Dim a" (module 0) and "Dim d" (module 2); "dim c" sits in a comment but counts too.
    QString box = "Dim";
    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        searchFromPositionCommand(w, box, {true, true}, ui);
        visited << QString::number(w.current) + ":" + QString::number(w.shown().selStart());
    }
    EXPECT_EQ(visited, (QStringList{"1:9", "2:11", "0:0", "1:9", "2:11"}));
    EXPECT_TRUE(ui.calls.empty());

    // The only hit lies before the caret in the shown module: found after all others.
    FakeCodeWindow one({"Ziel x y", "a", "b"});
    one.shown().setSelStart(5);
    box = "ziel";
    searchFromPositionCommand(one, box, kProject, ui);
    EXPECT_EQ(one.current, 0);
    EXPECT_EQ(one.shown().selStart(), 0);
    box = "fehlt";
    searchFromPositionCommand(one, box, kProject, ui);
    EXPECT_EQ(ui.messages(), QStringList{"Der Suchtext wurde nicht gefunden"});
}

TEST_F(TextSearchTest, ZoomRefusesAndTheSelectionFillsTheBox) {
    w.zoom = true;
    QString box = "Dim";
    searchCommand(w, box, kModule, ui);
    searchFromPositionCommand(w, box, kProject, ui);
    EXPECT_EQ(ui.messages(), QStringList(2, "Steht im Zoom Modus nicht zur Verfügung"));
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::Information);
    EXPECT_TRUE(w.events.isEmpty());
    EXPECT_EQ(w.shown().selStart(), 0);
    EXPECT_EQ(w.shown().selLength(), 0);

    EXPECT_FALSE(selectionForSearch(w));
    w.shown().setSelStart(3);
    w.shown().setSelLength(2);
    EXPECT_EQ(selectionForSearch(w), "a");
}
