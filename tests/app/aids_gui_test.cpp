// The reading aids in the real window: the chooser of Definition, the hit
// list, the long structure listing and the filter above the project tree.
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>

#include "app/MainWindowFixture.h"
#include "app/widgets/HitPanel.h"
#include "export/RoutineListing.h"
#include "view/widgets/ChoiceList.h"
#include "view/widgets/TreeFilter.h"

using namespace lumo;
using namespace lumo::test;

namespace {

// Presses the keys in the pop-up as soon as it is shown.
void pressInPopup(std::vector<int> keys) {
    QTimer::singleShot(0, [keys] {
        QWidget* popup = QApplication::activePopupWidget();
        auto* list = popup ? popup->findChild<QListWidget*>() : nullptr;
        if (!list) {
            ADD_FAILURE() << "no chooser shown";
            if (popup) popup->close();
            return;
        }
        for (int key : keys) QTest::keyClick(list, Qt::Key(key));
    });
}

}  // namespace

TEST_F(MainWindowTest, ChoiceListTakesEnterAndEscapeClosesWithoutAChoice) {
    guiApp();
    const QStringList entries{"Eins, Zeile 1 (Routine)", "Zwei, Zeile 5 (Modul)"};
    ChoiceList first(nullptr, "Definition: Setup", entries);
    pressInPopup({Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(first.chooseAt(QPoint(20, 20)), 1);
    ChoiceList second(nullptr, "Definition: Setup", entries);
    pressInPopup({Qt::Key_Escape});
    EXPECT_EQ(second.chooseAt(QPoint(20, 20)), std::nullopt);
}

TEST_F(MainWindowTest, DefinitionAmongSeveralModulesAsksAndF4GoesBack) {
    VbaProjectData p = sampleProject();
    p.modules.push_back(module("Aaa", 1, {"Sub Rufe()", "    Setup", "End Sub"}));
    p.modules.push_back(module("Bbb", 1, {"Public Sub Setup()", "End Sub"}));
    p.modules.push_back(module("Ccc", 1, {"Option Explicit", "Public Sub Setup()", "End Sub"}));
    open({p});
    build();
    window->show();
    ASSERT_EQ(window->navigation().history().current(), 0);
    const int aaa = 3;
    window->showModule(aaa);
    CodeView* view = window->codeArea().visibleView();
    view->setSelStart(int(view->text().indexOf("Setup")) + 1);
    pressInPopup({Qt::Key_Down, Qt::Key_Return});
    act("mnuBearbeiten_Definition")->trigger();
    EXPECT_EQ(panel(PanelModule), "Ccc");
    EXPECT_EQ(panel(PanelRoutine), "Setup");
    // The first jump of the history goes back to where it was asked for.
    EXPECT_EQ(window->navigation().history().current(), 2);
    act("mnuBearbeiten_RouBew")->trigger();  // F4
    EXPECT_EQ(window->codeArea().current(), aaa);
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(MainWindowTest, HitListListsEveryHitAndAClickGoesThere) {
    open();
    build();
    window->show();
    HitPanel* hits = window->hitPanel();
    EXPECT_FALSE(hits->isVisible());
    window->commandBar().searchBox()->setText(" zaehler ");
    act("mnuBearbeiten_Fundstellen")->trigger();
    ASSERT_TRUE(hits->isVisible());
    const QAbstractItemModel* rows = hits->list()->model();
    auto cell = [rows](int row, int column) { return rows->index(row, column).data().toString(); };
    ASSERT_EQ(rows->rowCount(), 3);
    EXPECT_EQ(QStringList({cell(1, 0), cell(1, 1), cell(1, 2)}), QStringList({"Werkzeuge", "5", "zaehler = 1"}));
    EXPECT_EQ(hits->windowTitle(), "Fundstellen: zaehler (3)");

    // Project-wide and whole word as the search box's switches say.
    act("su_p")->trigger();
    window->commandBar().searchBox()->setText("starten");
    act("mnuBearbeiten_Fundstellen")->trigger();
    ASSERT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(cell(1, 0), "ThisDocument");
    const QModelIndex other = rows->index(1, 2);
    hits->list()->scrollTo(other);
    QTest::mouseClick(hits->list()->viewport(), Qt::LeftButton, {}, hits->list()->visualRect(other).center());
    EXPECT_EQ(window->codeArea().current(), 2);
    EXPECT_EQ(window->codeArea().visibleView()->selText(), "Starten");
    EXPECT_EQ(panel(PanelRoutine), "Document_Open");

    window->commandBar().searchBox()->setText("gibtsnicht");
    act("mnuBearbeiten_Fundstellen")->trigger();
    EXPECT_EQ(ui.messages(), QStringList{"Der Suchtext wurde im gesamten Projekt nicht gefunden"});
    EXPECT_FALSE(hits->isVisible());
}

TEST_F(MainWindowTest, LongStructureListingGoesToTheClipboardAsTheCliPrintsIt) {
    open();
    build();
    act("mnuExtras_StrukturLang")->trigger();
    EXPECT_EQ(ui.clipboard, routineListing(WorkingStore::instance()));
    EXPECT_TRUE(ui.clipboard.contains("\tName\tProperty Get\tPublic\tName() As String\r\n"));
}

TEST_F(MainWindowTest, FilterNarrowsTheProjectTreeAndEscapeRestoresIt) {
    open();
    window->show();
    KeyedTree* tree = window->trees().projectTree();
    TreeFilter* filter = window->trees().filter();
    EXPECT_FALSE(filter->isVisible());  // the documents' projects are listed, not modules
    build();
    ASSERT_TRUE(filter->isVisible());
    EXPECT_LT(filter->geometry().bottom(), tree->geometry().top());
    const bool wasOpen = tree->item("M1")->isExpanded();
    tree->item("M1")->setExpanded(false);

    struct Case {
        const char* typed;
        QStringList shown;  // keys of the nodes left
    };
    const Case cases[] = {
        {"ANZ", {"M1", "R2"}},                 // a routine: its module stays, opened
        {"kunde", {"M2", "R3"}},               // a module: with all its routines
        {"e", {"M1", "R1", "R2", "M2", "R3", "M3", "R4"}},
        {"xyz", {}},
    };
    for (const Case& c : cases) {
        QTest::keyClicks(filter, QString(c.typed));
        QStringList shown;
        for (QTreeWidgetItem* n : tree->nodesInOrder())
            if (!n->isHidden()) shown << KeyedTree::keyOf(n);
        shown.sort();
        QStringList expected = c.shown;
        expected.sort();
        EXPECT_EQ(shown, expected) << c.typed;
        if (QString(c.typed) == "ANZ") EXPECT_TRUE(tree->item("M1")->isExpanded());
        filter->selectAll();
        QTest::keyClick(filter, Qt::Key_Backspace);
    }
    QTest::keyClicks(filter, "anz");
    QTest::keyClick(filter, Qt::Key_Return);  // the first match shown, as Enter in the tree does
    EXPECT_EQ(panel(PanelRoutine), "Anzeigen");
    filter->setFocus();
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(filter->hiddenCount(), 0);
    EXPECT_FALSE(tree->item("M1")->isExpanded());  // as it was before typing
    tree->item("M1")->setExpanded(wasOpen);

    // The filter goes with the project tree when the callers take its place.
    window->trees().callerTree()->show();
    tree->hide();
    EXPECT_FALSE(filter->isVisible());
}
