// The routine history: its slots and, through a scripted window, the Back
// and Next clicks on the status panels.
#include <gtest/gtest.h>

#include "navigate/FakeCodeWindow.h"
#include "navigate/RoutineHistory.h"

using namespace lumo;
using lumo::test::FakeCodeWindow;

namespace {

QString placeOf(int i) { return RoutineHistory::placeText(0, i); }

}  // namespace

TEST(RoutineHistory, KeepsThirtyPlacesAndDropsTheOldest) {
    RoutineHistory h;
    EXPECT_FALSE(h.canGoBack());
    EXPECT_FALSE(h.back());
    for (int i = 1; i <= 31; ++i) {
        h.push(placeOf(i), "Modul|R" + QString::number(i));
        EXPECT_EQ(h.canGoBack(), i > 1) << i;
        EXPECT_FALSE(h.canGoNext());
    }
    EXPECT_EQ(h.current(), 30);
    EXPECT_EQ(h.place(1), placeOf(2));  // the first place pushed is gone
    EXPECT_EQ(h.place(30), placeOf(31));
    EXPECT_TRUE(h.place(0).isEmpty());
    int backs = 0;
    while (h.back()) ++backs;
    EXPECT_EQ(backs, 29);
    EXPECT_EQ(h.current(), 1);
    EXPECT_EQ(h.currentPlace()->position, 2);
}

TEST(RoutineHistory, APushAfterGoingBackAbandonsTheNewerPlaces) {
    RoutineHistory h;
    for (int i = 1; i <= 4; ++i) h.push(placeOf(i), "M|A");
    h.back();
    h.back();
    EXPECT_TRUE(h.canGoNext());
    h.push(placeOf(9), "M|B");
    EXPECT_EQ(h.current(), 3);
    EXPECT_EQ(h.newest(), 3);
    EXPECT_FALSE(h.canGoNext());
    EXPECT_FALSE(h.next());
    h.reset();
    EXPECT_FALSE(h.canGoBack());
    EXPECT_FALSE(h.currentPlace());
}

TEST(RoutineHistory, ReadsPlacesAndLabelsByTheirFirstAndLastBar) {
    RoutineHistory h;
    h.push("3|17", "Werkzeuge|Starten");
    h.push("0|5", "Kunde|");
    const auto p = h.back();
    ASSERT_TRUE(p);
    EXPECT_EQ(p->module, 3);
    EXPECT_EQ(p->position, 17);
    EXPECT_EQ(p->moduleName, "Werkzeuge");
    EXPECT_EQ(p->routineName, "Starten");
    h.rewriteCurrentPosition(99);
    EXPECT_EQ(h.place(1), "3|99");
    EXPECT_EQ(h.label(1), "Werkzeuge|Starten");
}

TEST(HistoryPanels, BackAndNextRestoreModuleCaretAndPanels) {
    FakeCodeWindow w({"Sub A()\r\n  x = 1\r\nEnd Sub", "Sub B()\r\nEnd Sub"});
    RoutineHistory h;
    w.panels[PanelModule] = "Eins";
    w.panels[PanelRoutine] = "A";
    w.view(0).setSelStart(11);  // inside "  x = 1"
    pushHistory(w, h);
    EXPECT_FALSE(w.backEnabled);
    w.showModule(1);
    w.panels[PanelModule] = "Zwei";
    w.panels[PanelRoutine] = "B";
    w.view(1).setSelStart(0);
    pushHistory(w, h);
    EXPECT_TRUE(w.backEnabled);
    EXPECT_FALSE(w.nextEnabled);

    w.events.clear();
    historyPanelClick(w, h, PanelBack);
    EXPECT_EQ(w.current, 0);
    EXPECT_EQ(w.events, (QStringList{"show 0", "highlight 0", "focus"}));
    EXPECT_EQ(w.panels[PanelModule], "Eins");
    EXPECT_EQ(w.panels[PanelRoutine], "A");
    EXPECT_EQ(w.view(0).selStart(), 9);  // the line start: the indented line has no first word
    EXPECT_FALSE(w.backEnabled);
    EXPECT_TRUE(w.nextEnabled);

    // Back at the oldest place changes nothing, not even the focus.
    w.events.clear();
    historyPanelClick(w, h, PanelBack);
    EXPECT_TRUE(w.events.isEmpty());
    EXPECT_EQ(h.current(), 1);

    w.zoom = true;
    historyPanelClick(w, h, PanelNext);
    EXPECT_EQ(w.current, 1);
    EXPECT_EQ(w.events.last(), "zoomfocus");
    w.events.clear();
    historyPanelClick(w, h, PanelNext);  // at the newest place
    EXPECT_TRUE(w.events.isEmpty());
    // Every other panel only refreshes the zoom and the focus.
    historyPanelClick(w, h, PanelModule);
    EXPECT_EQ(w.events, QStringList{"zoomfocus"});
}

TEST(HistoryPanels, AJumpRecordsThePlaceItLeavesUnlessItIsTheCurrentOne) {
    // Each row: the history before (places on lines n), where the caret
    // stands when the jump is asked, where it lands; the places after and
    // the one shown. A place counts as left when the caret left its line.
    const struct {
        const char* name;
        std::vector<int> before;
        int backs;  // steps back before the jump
        int left, reached;
        std::vector<int> after;
        int current;
    } cases[] = {
        {"first jump", {}, 0, 5, 9, {5, 9}, 2},
        {"from the place shown", {1, 5}, 0, 5, 9, {1, 5, 9}, 3},
        {"from elsewhere", {1, 5}, 0, 7, 9, {1, 5, 7, 9}, 4},
        {"after going back: the newer places go", {1, 5, 8}, 1, 5, 9, {1, 5, 9}, 3},
        {"landing where it started", {1}, 0, 4, 4, {1, 4}, 2},
    };
    for (const auto& c : cases) {
        for (int column : {0, 1}) {  // the caret anywhere on the line of the current place
            FakeCodeWindow w({QString("ab\r\n").repeated(12)});
            RoutineHistory h;
            for (int p : c.before) h.push(placeOf(4 * p), "M|R");
            for (int i = 0; i < c.backs; ++i) h.back();
            w.view(0).setSelStart(4 * c.left + column);
            const HistoryMark left = caretMark(w, h);
            w.view(0).setSelStart(4 * c.reached + column);
            recordJump(w, h, left);
            std::vector<int> lines;
            for (int slot = 1; slot <= h.newest(); ++slot) lines.push_back(h.place(slot).section('|', 1).toInt() / 4);
            EXPECT_EQ(lines, c.after) << c.name;
            EXPECT_EQ(h.current(), c.current) << c.name;
            EXPECT_FALSE(w.nextEnabled) << c.name;
            EXPECT_EQ(w.backEnabled, c.current > 1) << c.name;
        }
    }
}
