// The reading aids of the code view in the real window: line numbers, where
// jumps place their target, the tree on the caret's routine, every reference
// of a name, the hover, the marked uses and the panels' layout.
#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTreeView>

#include "app/MainWindowFixture.h"
#include "app/widgets/HitPanel.h"
#include "app/widgets/WindowNavigation.h"

using namespace lumo;
using namespace lumo::test;

namespace {

// A long module: a commented routine at the top, thirty fillers, one with
// a comment block of five lines in the middle, thirty more, and the last.
VbaProjectData longProject() {
    QStringList l{"Option Explicit", "' Zaehlt alles", "Public zaehler As Long", "", "' Kopf 1", "' Kopf 2",
                  "Public Sub Oben()", "    zaehler = 1", "End Sub"};
    auto fillers = [&l](int from) {
        for (int i = from; i < from + 30; ++i) l << QString("Sub Fueller%1()").arg(i) << "    zaehler = zaehler + 1" << "End Sub";
    };
    fillers(1);
    for (int i = 1; i <= 5; ++i) l << QString("' Mitte %1").arg(i);
    l << "Public Function Mitte() As Long" << "    Mitte = zaehler" << "End Function";
    fillers(31);
    l << "' Letzte" << "Sub Unten()" << "    Oben" << "End Sub";
    VbaProjectData p = sampleProject();
    p.modules.insert(p.modules.begin(), module("Lang", 1, l));
    return p;
}

class ReadingAidsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        open({longProject()});
        build();
        window->show();
        view = window->codeArea().visibleView();
    }
    QTreeWidgetItem* routineNode(const QString& name) {
        for (QTreeWidgetItem* n : window->trees().projectTree()->nodesInOrder())
            if (n->parent() && n->text(0) == name) return n;
        return nullptr;
    }
    int caretLine() { return view->lineOfPosition(view->selStart()); }  // 0-based
    int visibleLines() { return view->viewport()->height() / view->fontMetrics().lineSpacing(); }
    // The caret onto the first occurrence of `text` in module index `index`, one character in.
    void caretOn(int index, const QString& text) {
        window->showModule(index);
        view = window->codeArea().visibleView();
        view->setSelStart(int(view->text().indexOf(text)) + 1);
        window->navigation().showCaretLocation();
    }
    CodeView* view = nullptr;
};

}  // namespace

TEST_F(ReadingAidsTest, JumpsPlaceTheirTargetWithItsCommentBlockInView) {
    ASSERT_GT(visibleLines(), 15);
    struct Case {
        const char* routine;
        int commentLines;
        bool third;  // room above for a third of the view
    };
    const Case cases[] = {{"Oben", 2, false}, {"Mitte", 5, true}, {"Fueller40", 0, true}, {"Unten", 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.routine);
        click(window->trees().projectTree(), routineNode(c.routine));
        const int line = caretLine();
        EXPECT_TRUE(view->text().mid(view->lineStart(line), 80).contains(c.routine));
        EXPECT_LE(view->topLine(), line - c.commentLines);      // the comment block in view
        EXPECT_LT(line - view->topLine(), visibleLines());      // and the target
        if (c.third) EXPECT_NEAR(line - view->topLine(), visibleLines() / 3, 1);
    }
    EXPECT_EQ(view->topLine() + visibleLines() > view->lineCount() - 1, true);  // the last lines at the bottom
}

TEST_F(ReadingAidsTest, GutterNumbersEveryHitAsTheHitListDoes) {
    EXPECT_GT(view->gutterWidth(), 0);
    window->commandBar().searchBox()->setText("zaehler");
    act("mnuBearbeiten_Fundstellen")->trigger();
    HitPanel* hits = window->hitPanel();
    const QAbstractItemModel* rows = hits->list()->model();
    ASSERT_GT(rows->rowCount(), 60);
    for (int row = 0; row < rows->rowCount(); ++row) {
        const int listed = rows->index(row, 1).data().toInt();
        const QModelIndex at = rows->index(row, 2);
        hits->list()->scrollTo(at);
        QTest::mouseClick(hits->list()->viewport(), Qt::LeftButton, {}, hits->list()->visualRect(at).center());
        ASSERT_EQ(view->selText(), "zaehler") << row;
        const QVector<int> shown = view->shownLineNumbers();
        const int onScreen = caretLine() - view->topLine();
        ASSERT_TRUE(onScreen >= 0 && onScreen < shown.size()) << row;
        EXPECT_EQ(shown[onScreen], listed) << row;
    }
    // Switched off in the options, the gutter goes.
    window->codeArea().visibleView()->setLineNumbersShown(false);
    EXPECT_EQ(view->gutterWidth(), 0);
    EXPECT_TRUE(view->shownLineNumbers().isEmpty());
}

TEST_F(ReadingAidsTest, DefinitionAndCallSitesSelectTheNameAndTheTreeFollowsTheCaret) {
    caretOn(0, "    Oben\r\n");
    view->setSelStart(view->selStart() + 4);
    act("mnuBearbeiten_Definition")->trigger();
    EXPECT_EQ(view->selText(), "Oben");
    EXPECT_EQ(caretLine() + 1, 7);
    KeyedTree* tree = window->trees().projectTree();
    EXPECT_EQ(tree->currentItem()->text(0), "Oben");

    // Keys move the caret: the tree follows into another routine, unfolding its module.
    tree->item("M1")->setExpanded(false);
    view->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(panel(PanelRoutine), "Fueller1");
    EXPECT_EQ(tree->currentItem()->text(0), "Fueller1");
    EXPECT_TRUE(tree->item("M1")->isExpanded());
}

TEST_F(ReadingAidsTest, AllReferencesListsTheDeclarationFirstThenEveryUse) {
    struct Case {
        int module;
        const char* at;
        const char* title;
        QStringList first;  // module, line of the first two rows
    };
    const Case cases[] = {
        {0, "zaehler = 1", "Verweise: zaehler (123)", {"Lang", "3", "Lang", "8"}},
        {1, "zaehler As", "Verweise: zaehler (3)", {"Werkzeuge", "2", "Werkzeuge", "5"}},  // not Lang's zaehler
        {1, "Anzeigen\r\n", "Verweise: Anzeigen (2)", {"Werkzeuge", "9", "Werkzeuge", "6"}},  // no return value
        {2, "mName As", "Verweise: mName (2)", {"Kunde", "2", "Kunde", "5"}},
        {1, "Starten", "Verweise: Starten (2)", {"Werkzeuge", "4", "ThisDocument", "4"}},
    };
    HitPanel* hits = window->hitPanel();
    const QAbstractItemModel* rows = hits->list()->model();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        caretOn(c.module, c.at);
        act("mnuBearbeiten_Verweise")->trigger();
        ASSERT_TRUE(hits->isVisible());
        EXPECT_EQ(hits->windowTitle(), c.title);
        EXPECT_EQ(QStringList({rows->index(0, 0).data().toString(), rows->index(0, 1).data().toString(),
                               rows->index(1, 0).data().toString(), rows->index(1, 1).data().toString()}),
                  c.first);
        EXPECT_TRUE(rows->index(0, 2).data(Qt::FontRole).value<QFont>().bold());
        EXPECT_FALSE(rows->index(1, 2).data(Qt::FontRole).value<QFont>().bold());
    }
    // A click selects the use itself.
    const QModelIndex second = rows->index(1, 2);
    QTest::mouseClick(hits->list()->viewport(), Qt::LeftButton, {}, hits->list()->visualRect(second).center());
    view = window->codeArea().visibleView();
    EXPECT_EQ(window->codeArea().current(), 3);
    EXPECT_EQ(view->selText(), "Starten");
    EXPECT_EQ(caretLine(), 3);

    caretOn(1, "Option");
    ui.calls.clear();
    act("mnuBearbeiten_Verweise")->trigger();
    EXPECT_EQ(ui.messages(), QStringList{"Bezeichner unter Cursor nicht erkannt"});
}

TEST_F(ReadingAidsTest, HoverShowsTheDeclarationWithItsCommentsAndUsesAreMarked) {
    caretOn(0, "    Oben\r\n");
    const int use = view->selStart() + 4;
    const QString tip = window->navigation().hoverText(0, use);
    EXPECT_TRUE(tip.contains("Lang, Zeile 7 (Routine)")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("' Kopf 1\n' Kopf 2")) << tip.toStdString();
    EXPECT_TRUE(tip.contains("Public Sub Oben()")) << tip.toStdString();
    EXPECT_TRUE(window->navigation().hoverText(0, int(view->text().indexOf("Option")) + 1).isEmpty());

    // The caret rests on zaehler: its declaration and every use in the module are marked.
    view->setSelStart(int(view->text().indexOf("zaehler = 1")) + 2);
    QTest::qWait(CodeArea::kSettleMs * 3);
    EXPECT_EQ(view->markCount(), 123);
    const int queries = window->navigation().occurrenceQueries();
    view->setSelStart(int(view->text().indexOf("zaehler + 1")) + 2);  // another use of the same
    window->navigation().markOccurrences(0);
    EXPECT_EQ(window->navigation().occurrenceQueries(), queries);
    view->setSelStart(int(view->text().indexOf("Option")));
    window->navigation().markOccurrences(0);
    EXPECT_EQ(view->markCount(), 0);
}

TEST_F(ReadingAidsTest, StatusBarStaysAtTheBottomBelowAHitPanelOfAThird) {
    window->resize(1000, 900);
    caretOn(0, "zaehler = 1");
    act("mnuBearbeiten_Verweise")->trigger();
    QCoreApplication::processEvents();
    const QRect bar = window->statusPanels().geometry();
    const QRect panel = window->hitPanel()->geometry();
    EXPECT_EQ(bar.bottom(), window->rect().bottom());
    EXPECT_LT(panel.bottom(), bar.top());
    EXPECT_GE(panel.height() * 3 + 3, window->centralWidget()->height() + panel.height());
}
