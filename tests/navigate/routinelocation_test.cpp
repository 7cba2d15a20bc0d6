#include <gtest/gtest.h>

#include "navigate/PlainTextView.h"
#include "navigate/RoutineLocation.h"
#include "navigate/StoreFixture.h"

using namespace lumo;
using lumo::test::PlainTextView;

namespace {

// Lines joined as the stored module texts join them.
QString lines(const QStringList& l) { return l.join("\r\n"); }

int lineStart(const QString& text, int line) {  // 1-based line
    int pos = 0;
    for (int i = 1; i < line; ++i) pos = int(text.indexOf("\r\n", pos)) + 2;
    return pos;
}

}  // namespace

TEST(GoToLine, PutsTheCaretOnEveryLineWithItsFirstWordSelected) {
    QStringList l;
    for (int i = 1; i <= 257; ++i) l << QString("Zeile%1 = %1").arg(i);
    l[9] = "    eingerückt";  // line 10
    l[19] = "";               // line 20
    PlainTextView view(lines(l));
    for (int t = 1; t <= 257; ++t) {
        goToLine(view, t);
        ASSERT_EQ(view.selStart(), lineStart(view.content, t)) << "line " << t;
        if (t == 10 || t == 20)
            EXPECT_EQ(view.selLength(), 0) << "line " << t;
        else
            EXPECT_EQ(view.selText(), QString("Zeile%1").arg(t));
    }
}

TEST(GoToLine, FirstLineIsPositionZeroAndBeyondTheEndIsTheEnd) {
    PlainTextView view(lines({"Sub A()", "End Sub", "x"}));
    goToLine(view, 1);
    EXPECT_EQ(view.selStart(), 0);
    EXPECT_EQ(view.selText(), "Sub");

    goToLine(view, 3);
    EXPECT_EQ(view.selStart(), 18);  // "Sub A()" CR LF "End Sub" CR LF: CR LF counts twice

    goToLine(view, 50);
    EXPECT_EQ(view.selStart(), view.length());
    EXPECT_EQ(view.selLength(), 0);

    PlainTextView empty;
    goToLine(empty, 1);
    EXPECT_EQ(empty.selStart(), 0);
}

TEST(GoToLine, AsksForTheLineOfAPositionOnlyLogarithmically) {
    QStringList l;
    for (int i = 0; i < 20000; ++i) l << "    x = x + 1";
    PlainTextView view(lines(l));
    goToLine(view, 12345);
    EXPECT_EQ(view.selStart(), lineStart(view.content, 12345));
    EXPECT_LT(view.lineQueries, 40);
}

TEST(MarkLineStart, SelectsTheFirstWordOfTheCaretsLine) {
    PlainTextView view(lines({"Dim a As Long", "  b = 1"}));
    view.setSelStart(6);
    markLineStart(view);
    EXPECT_EQ(view.selStart(), 0);
    EXPECT_EQ(view.selText(), "Dim");
    view.setSelStart(20);
    markLineStart(view);
    EXPECT_EQ(view.selStart(), 15);
    EXPECT_EQ(view.selLength(), 0);
}

TEST(CaretTracker, ReportsALineOnlyWhenItChanges) {
    PlainTextView view(lines({"Sub A()", "x = 1", "End Sub"}));
    CaretTracker tracker;
    view.setSelStart(2);
    EXPECT_EQ(tracker.changedLine(view, false), std::nullopt);  // no code shown yet
    EXPECT_EQ(tracker.changedLine(view, true), 0);
    view.setSelStart(5);
    EXPECT_EQ(tracker.changedLine(view, true), std::nullopt);
    view.setSelStart(10);
    EXPECT_EQ(tracker.changedLine(view, true), 1);
    tracker.reset();
    EXPECT_EQ(tracker.changedLine(view, true), 1);
    PlainTextView empty;
    tracker.reset();
    EXPECT_EQ(tracker.changedLine(empty, true), std::nullopt);
}

class RoutineStoreTest : public lumo::test::StoreFixture {};

TEST_F(RoutineStoreTest, ZoomShowsTheRoutineOrTheDeclarations) {
    // Lines: 1-2 declarations, 3-5 Sub Eins, 6 blank, 7-9 Function Zwei.
    PlainTextView code(lines({"Option Explicit", "Dim a", "Sub Eins()", "  a = 1", "End Sub", "",
                              "Function Zwei()", "  Zwei = a", "End Function"}));
    addModule(1, "Modul1", 2);
    addRoutine(1, 1, "Eins", 1, 1, 3, 5);
    addRoutine(2, 1, "Zwei", 2, 2, 7, 9);
    PlainTextView zoom;

    ASSERT_TRUE(zoomToRoutine(code, zoom, store, 1, 4, ui));
    EXPECT_EQ(zoom.lastRtf, "{\\rtf1 Sub Eins()\r\n  a = 1\r\nEnd Sub}");
    EXPECT_EQ(code.selLength(), 1);

    ASSERT_TRUE(zoomToRoutine(code, zoom, store, 1, 6, ui));  // between the routines
    EXPECT_EQ(zoom.lastRtf, "{\\rtf1 Option Explicit\r\nDim a}");
    ASSERT_TRUE(zoomToRoutine(code, zoom, store, 1, 9, ui));
    EXPECT_EQ(zoom.lastRtf, "{\\rtf1 Function Zwei()\r\n  Zwei = a\r\nEnd Function}");
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(RoutineStoreTest, ZoomFailuresKeepTheZoomContent) {
    addModule(1, "OhneRoutinen", 2);
    addModule(2, "OhneDeklarationen", 2);
    addRoutine(1, 2, "A", 1, 1, 1, 2);
    PlainTextView code(lines({"Sub A()", "End Sub", ""}));
    PlainTextView zoom;
    zoom.lastRtf = "vorher";
    EXPECT_FALSE(zoomToRoutine(code, zoom, store, 1, 1, ui));
    EXPECT_FALSE(zoomToRoutine(code, zoom, store, 2, 3, ui));
    EXPECT_EQ(zoom.lastRtf, "vorher");
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::None);
}

TEST_F(RoutineStoreTest, RoutineLookups) {
    addModule(1, "Modul1", 2);
    addModule(2, "Klasse1", 3);
    addRoutine(1, 1, "Privat", 1, 2, 3, 5);
    addRoutine(2, 1, "Oeffentlich", 2, 1, 7, 9);
    addRoutine(3, 1, "Wert", 4, 1, 11, 13);
    addRoutine(4, 2, "Privat", 1, 1, 3, 5);

    EXPECT_EQ(routineNameAtLine(store, 4, 1), "Privat");
    EXPECT_EQ(routineNameAtLine(store, 6, 1), "");
    auto hit = routineAtLine(store, 9, 1);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->name, "Oeffentlich");
    EXPECT_EQ(hit->number, 2);
    EXPECT_EQ(hit->type, 2);
    EXPECT_EQ(hit->open, 1);
    EXPECT_FALSE(routineAtLine(store, 4, 3));

    auto r = routineByName(store, "PRIVAT", 1, ui);  // names compare without regard to case
    EXPECT_EQ(r.result, 1);
    EXPECT_EQ(r.routineNumber, 1);
    r = routineByName(store, "Privat", 2, ui);
    EXPECT_EQ(r.result, 2);
    EXPECT_EQ(r.routineNumber, 4);
    EXPECT_TRUE(ui.calls.empty());

    EXPECT_EQ(routineByName(store, "Wert", 1, ui).result, 0);
    EXPECT_EQ(routineByName(store, "Fehlt", 1, ui).result, 0);
    EXPECT_EQ(routineByName(store, "it's", 1, ui).result, 0);  // a quote is a value, not SQL
    ASSERT_EQ(ui.messages(), (QStringList{"Property wird von der Routinensuche nicht unterstützt",
                                          "Infos zu Routine nicht gefunden", "Infos zu Routine nicht gefunden"}));
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::Warning);

    PlainTextView code(lines({"Option Explicit", "", "Private Sub Privat()", "x", "End Sub"}));
    goToRoutine(code, store, 1);
    EXPECT_EQ(code.selText(), "Private");
    code.setSelStart(0);
    goToRoutine(code, store, 99);
    EXPECT_EQ(code.selStart(), 0);
}

TEST_F(RoutineStoreTest, ZoomOfDeclarationsEndingInABlankLineStopsBeforeTheFirstRoutine) {
    PlainTextView code(lines({"Option Explicit", "", "Sub Eins()", "End Sub", "Weiter"}));
    addModule(1, "Modul1", 2);
    addRoutine(1, 1, "Eins", 1, 1, 3, 4);
    PlainTextView zoom;
    ASSERT_TRUE(zoomToRoutine(code, zoom, store, 1, 5, ui));
    EXPECT_EQ(zoom.lastRtf, "{\\rtf1 Option Explicit\r\n}");
    goToLine(code, 5);
    EXPECT_EQ(code.selText(), "Weiter");
}
