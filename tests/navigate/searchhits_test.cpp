// All hits of a search as a list, against the stepping of the search box.
#include <gtest/gtest.h>

#include "navigate/FakeCodeWindow.h"
#include "navigate/SearchHits.h"
#include "support/FakeUi.h"

using namespace lumo;
using lumo::test::FakeCodeWindow;

namespace {

struct HitRow {
    const char* what;
    SearchSwitches switches;
    QStringList expected;  // "module:line:position text"
};

const HitRow kHits[] = {
    {" dim ", {false, false}, {"1:1:0 Dim a", "1:2:7 Dimension b_dim", "1:2:19 Dimension b_dim"}},
    {"dim", {false, true}, {"1:1:0 Dim a"}},  // not Dimension, not b_dim
    {"DIM", {true, true}, {"1:1:0 Dim a", "2:2:9 ' dim c", "3:2:11   Dim d"}},
    {"aa", {false, false}, {"1:3:24 aaa", "1:3:25 aaa"}},  // overlapping hits count each
    {"Ä", {true, false}, {"2:3:21 x = \"ä\""}},
    {"zz", {true, false}, {}},
    {"  ", {true, false}, {}},  // blanks only: nothing to search
};

}  // namespace

TEST(SearchHits, EveryHitWithItsLine) {
    FakeCodeWindow w{{"Dim a\r\nDimension b_dim\r\naaa", "x = 1\r\n' dim c\r\nx = \"ä\"", "Sub Z()\r\n  Dim d\r\nEnd Sub"}};
    for (const HitRow& row : kHits) {
        QStringList got;
        for (const SearchHit& h : searchHits(w, row.what, row.switches))
            got << QString("%1:%2:%3 %4").arg(h.module + 1).arg(h.line).arg(h.position).arg(h.text);
        EXPECT_EQ(got, row.expected) << row.what;
    }
    // A hit in another module: that module shown, the hit selected, the panels follow.
    const std::vector<SearchHit> hits = searchHits(w, "dim d", {true, false});
    ASSERT_EQ(hits.size(), 1u);
    goToHit(w, hits[0]);
    EXPECT_EQ(w.current, 2);
    EXPECT_EQ(w.shown().selText(), "Dim d");
    EXPECT_EQ(w.events, (QStringList{"show 2", "focus", "caret"}));
}

TEST(SearchHits, TheCommandTrimsRefusesInZoomAndTellsWhenNothingIsFound) {
    FakeCodeWindow w{{"Dim a", "Dim b"}};
    lumo::test::FakeUi ui;
    QString box = "  dim ";
    EXPECT_EQ(allHitsCommand(w, box, {true, false}, ui).size(), 2u);
    EXPECT_EQ(box, "dim");
    box = "zz";
    EXPECT_TRUE(allHitsCommand(w, box, {false, false}, ui).empty());
    w.zoom = true;
    EXPECT_TRUE(allHitsCommand(w, box, {false, false}, ui).empty());
    EXPECT_EQ(ui.messages(), (QStringList{"Der Suchtext\r\nwurde im Modul nicht gefunden .\r\n",
                                          "Steht im Zoom Modus nicht zur Verfügung"}));
}

TEST(SearchHits, AStoppedSearchOverTheProjectEndsWithoutHitsOrAWord) {
    struct Stopped : Progress {
        bool step(int, int, const QString&) override { return false; }
        bool stopped() const override { return true; }
    } stopped;
    struct StoppedWindow : FakeCodeWindow {
        using FakeCodeWindow::FakeCodeWindow;
        Progress* stop = nullptr;
        Progress& progress() override { return *stop; }
    } w{{"Dim a", "Dim b"}};
    w.stop = &stopped;
    lumo::test::FakeUi ui;
    QString box = "dim";
    EXPECT_TRUE(allHitsCommand(w, box, {true, false}, ui).empty());
    EXPECT_TRUE(ui.messages().isEmpty());
}
