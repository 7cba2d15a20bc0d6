#include <gtest/gtest.h>

#include "acquire/OfficeListing.h"
#include "support/FakeHost.h"
#include "support/FakeUi.h"

namespace {

using lumo::AppTree;
using lumo::test::FakeComponent;
using lumo::test::FakeConnector;
using lumo::test::linesOf;
using lumo::test::noCode;

QStringList keys(const AppTree& tree) {
    QStringList k;
    for (const auto& n : tree) k << n.key;
    return k;
}

TEST(OfficeListing, NodesKeysTextsAndImages) {
    FakeConnector host;
    host.add("Projekt", QString("C:\\Daten\\Bericht.doc"),
             {{"ThisDocument", 100, linesOf(5)}, {"Modul1", 1, linesOf(3)}, {"Klasse1", 2, linesOf(9)},
              {"Form1", 3, linesOf(4)}, {"Designer1", 11, linesOf(4)}, {"Leer", 1, noCode(2)}});
    host.add("Neu", std::nullopt, {{"Modul1", 1, linesOf(3)}});
    host.add("Linux", QString("/home/u/Vorlage.dotm"), {{"Modul1", 1, linesOf(3)}});
    lumo::test::FakeUi ui;
    AppTree tree{{"stale", "x", "y", {}, true}};
    int version = 0;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    EXPECT_EQ(version, 11);
    EXPECT_EQ(keys(tree), QStringList({"A1\\", "A1\\ThisDocument", "A1\\Modul1", "A1\\Klasse1", "A1\\Form1",
                                       "A1\\Designer1", "A2\\", "A2\\Modul1", "A3\\", "A3\\Modul1"}));
    EXPECT_EQ(tree[0].text, "Projekt [Bericht.doc]");
    EXPECT_EQ(tree[0].imageKey, "Fahne");
    EXPECT_TRUE(tree[0].parentKey.isEmpty());
    QStringList images;
    for (std::size_t i = 1; i <= 5; ++i) images << tree[i].imageKey;
    EXPECT_EQ(images, QStringList({"M5", "M2", "M3", "M1", "XXX"}));
    EXPECT_EQ(tree[2].text, "Modul1");
    EXPECT_EQ(tree[2].parentKey, "A1\\");
    EXPECT_EQ(tree[6].text, "Neu [Nicht gespeichert]");
    EXPECT_EQ(tree[8].text, "Linux [Vorlage.dotm]");
    EXPECT_FALSE(tree[1].checked);
    EXPECT_TRUE(ui.calls.empty());
}

TEST(OfficeListing, LockedAndEmptyProjectsAreLeftOutButKeepTheirPosition) {
    FakeConnector host;
    host.add("Gesperrt", QString("a.doc"), {{"Modul1", 1, linesOf(10)}}).locked = true;
    host.add("Kurz", QString("b.doc"), {{"ThisDocument", 100, noCode(2)}});
    host.add("Gut", QString("c.doc"), {{"Modul1", 1, linesOf(3)}});
    // More than 2 lines: listed without code (documentation, code commented out).
    host.add("Doku", QString("d.doc"), {{"Hinweise", 1, noCode(3)}, {"ThisDocument", 100, noCode(2)}});
    lumo::test::FakeUi ui;
    AppTree tree;
    int version = 0;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    EXPECT_EQ(keys(tree), QStringList({"A3\\", "A3\\Modul1", "A4\\", "A4\\Hinweise"}));
}

TEST(OfficeListing, FailuresAndTheirExplanations) {
    lumo::test::FakeUi ui;
    AppTree tree;
    int version = 7;

    FakeConnector gone;
    gone.running = false;
    EXPECT_FALSE(lumo::listOfficeProjects(gone, tree, version, ui));
    EXPECT_EQ(version, 0);
    EXPECT_TRUE(ui.calls.empty());  // no message: the explanation says it
    const QString notRunning = lumo::refreshExplanation(false, tree, version, "Word", false);
    EXPECT_EQ(notRunning,
              "Word ist im Moment nicht geöffnet. Es können daher keine Projekte aus Word angezeigt werden. \r\n\r\n"
              "Bitte öffnen Sie Word und öffnen Sie die Mappe, deren Code Sie einlesen möchten !\r\n"
              "Klicken Sie danach auf Aktualisieren Word Projekte.\r\n\r\n\r\n"
              "Alternativ können Sie über Öffnen Projekte einlesen, die mit Code Lumo erzeugt wurden.");
    const QString withHint = lumo::refreshExplanation(false, tree, version, "Word", true);
    EXPECT_EQ(withHint, notRunning + "\r\n\r\n" + lumo::openDocumentHint("Word"));
    EXPECT_FALSE(withHint.endsWith("\r\n"));

    // Refused access on a later host: the description, the nodes so far, false.
    FakeConnector refused;
    refused.add("P", QString("p.doc"), {{"Modul1", 1, linesOf(3)}});
    refused.add("Q", QString("q.doc"), {{"Modul1", 1, linesOf(3)}}).failComponents = true;
    EXPECT_FALSE(lumo::listOfficeProjects(refused, tree, version, ui));
    EXPECT_EQ(version, 11);
    EXPECT_EQ(keys(tree), QStringList({"A1\\", "A1\\Modul1", "A2\\"}));
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].text, "Zugriff auf VBA-Projekt verweigert");
    EXPECT_EQ(ui.calls[0].icon, lumo::MsgIcon::None);
    EXPECT_EQ(lumo::refreshExplanation(false, tree, version, "Word", true),
              "Sie benutzen WordXP.\r\nIhre Anwendung ist zwar geöffnet, aber der Zugriff wird verweigert.\r\n"
              "Dies können Sie ändern, indem Sie in Word bei Extras - Makro - Sicherheit -vertrauenswürdige Quellen\r\n"
              "den Zugriff auf VBA-Projekte vertrauen anhaken.\r\n"
              "Lesen Sie dazu unbedingt auch in der Hilfe die Informationen zu Office XP\r\n\r\n"
              "Klicken Sie nachdem Sie die Einstellungen vorgenommen haben auf Aktualisieren");

    FakeConnector empty;
    empty.add("Leer", QString("l.doc"), {{"ThisDocument", 100, noCode(1)}});
    EXPECT_TRUE(lumo::listOfficeProjects(empty, tree, version, ui));
    EXPECT_TRUE(tree.empty());
    EXPECT_EQ(lumo::refreshExplanation(true, tree, version, "Word", true),
              lumo::refreshExplanation(true, tree, version, "Word", false) + "\r\n" + lumo::openDocumentHint("Word"));
    EXPECT_EQ(lumo::refreshExplanation(true, tree, version, "Word", false),
              "Word ist zwar im Moment geöffnet, aber es gibt keine auslesbaren Projekte.\r\n\r\n"
              "Bitte öffnen Sie in Word die Datei, deren Code Sie einlesen möchten und klicken Sie danach auf "
              "Aktualisieren Word Projekte.\r\n\r\n"
              "Alternativ können Sie über Öffnen Projekte einlesen, die mit Code Lumo erzeugt wurden.\r\n");
    // "Excel" is replaced in any case of writing, also in a host name such as PowerPoint.
    EXPECT_TRUE(lumo::notRunningExplanation("PowerPoint").startsWith("PowerPoint ist im Moment"));
}

TEST(OfficeListing, CheckRulesOneProjectAtATime) {
    FakeConnector host;
    host.add("P1", QString("a.doc"), {{"M1", 1, linesOf(3)}, {"M2", 1, linesOf(3)}});
    host.add("P2", QString("b.doc"), {{"X", 1, linesOf(3)}, {"Y", 2, linesOf(3)}, {"Z", 100, linesOf(3)}});
    lumo::test::FakeUi ui;
    AppTree tree;
    int version = 0;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    ASSERT_EQ(tree.size(), 7u);
    auto ticks = [&] {
        QString s;
        for (const auto& n : tree) s += n.checked ? '1' : '0';
        return s;
    };

    EXPECT_TRUE(lumo::applyCheck(tree, 1, true));  // A1\M1
    EXPECT_EQ(ticks(), "0100000");                 // the project node stays unticked
    EXPECT_TRUE(lumo::applyCheck(tree, 3, true));  // project A2\ unticks A1\ and ticks its children
    EXPECT_EQ(ticks(), "0001111");
    EXPECT_TRUE(lumo::applyCheck(tree, 6, false));  // unticking the last child leaves the project ticked
    EXPECT_EQ(ticks(), "0001110");
    EXPECT_FALSE(lumo::applyCheck(tree, 3, false));
    EXPECT_EQ(ticks(), "0000000");
    EXPECT_FALSE(lumo::anyChecked(tree));
    EXPECT_TRUE(lumo::hasChildren(tree, 0));
    EXPECT_FALSE(lumo::hasChildren(tree, 1));

    EXPECT_EQ(lumo::projectPrefix("A12\\Modul1"), "A12\\");
    EXPECT_EQ(lumo::projectPosition("A12\\Modul1"), 12);
    EXPECT_EQ(lumo::componentName("A12\\Modul1"), "Modul1");
}

TEST(OfficeListing, PrefixesDoNotConfuseA1WithA11) {
    FakeConnector host;
    for (int i = 1; i <= 11; ++i) host.add(QString("P%1").arg(i), QString("f.doc"), {{"M", 1, linesOf(3)}});
    lumo::test::FakeUi ui;
    AppTree tree;
    int version = 0;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    lumo::applyCheck(tree, 1, true);                          // A1\M
    EXPECT_TRUE(lumo::applyCheck(tree, 20, true));  // A11\M
    EXPECT_FALSE(tree[1].checked);
    EXPECT_TRUE(tree[21].checked);
}

}  // namespace
