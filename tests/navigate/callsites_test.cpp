// Call sites: every line that references a routine, with the caller
// search's modules and rule.
#include <gtest/gtest.h>

#include "navigate/AidsProject.h"
#include "navigate/CallSites.h"
#include "navigate/Callers.h"
#include "navigate/NameResolver.h"
#include "model/CodeDatabase.h"
#include "view/NodeList.h"

using namespace lumo;

namespace {

struct CallSiteRow {
    const char* name;
    int module;
    QStringList expected;  // "module line routine|text", or the message
};

const CallSiteRow kCallSites[] = {
    // Private: only its module; a line with two calls once; comments, strings, its own head not;
    // "Rechne = x + Rot" inside Rechne sets its return value and calls nothing.
    {"Rechne", 1, {"1 20 Start|    Rechne MAX_N: Rechne 2"}},
    // A standard module's public Sub is called bare from elsewhere, also outside routines.
    {"Start", 1, {"3 1 |Dim s As String: Start", "3 3 Test|    Start"}},
    // A class's Sub only through an object: the bare Start of Helfer is Haupt's.
    {"Start", 2, {"3 4 Test|    Kunde.Start"}},
    {"Test", 3, {}},
    {"Wert", 2, {"Property wird von der Routinensuche nicht unterstützt"}},
    {"Gibtsnicht", 1, {"Infos zu Routine nicht gefunden"}},
};

class CallSitesTest : public lumo::test::AidsProjectFixture {};

}  // namespace

TEST_F(CallSitesTest, EveryReferencingLineOnce) {
    for (const CallSiteRow& row : kCallSites) {
        ui.calls.clear();
        const auto sites = callSitesOfRoutine(store, row.name, row.module, 3, ui);
        QStringList got = ui.messages();
        for (const CallSite& s : sites.value_or(std::vector<CallSite>{}))
            got << QString("%1 %2 %3|%4").arg(s.module).arg(s.line).arg(s.routine, s.text);
        EXPECT_EQ(got, row.expected) << row.name;
        EXPECT_EQ(sites.has_value(), ui.calls.empty()) << row.name;
    }
    const auto sites = callSitesOfRoutine(store, "Start", 2, 3, ui);
    ASSERT_TRUE(sites && !sites->empty());
    EXPECT_EQ(sites->front().moduleName, "Helfer");
    EXPECT_EQ(callSiteLabel(sites->back()), "Zeile 4: Kunde.Start");
}

TEST_F(CallSitesTest, CallerTreeNodesGetTheirLinesBeneath) {
    NodeList tree;
    const int start = routineByNameInModule(store, "Start", 2)->number;
    NameResolver resolver(projectScopeOf(store));
    ASSERT_TRUE(collectCallers(tree, store, resolver, start));
    addCallSiteNodes(tree, store, start, 3);
    QStringList got;
    for (const ListedNode& n : tree.nodes()) got << n.parentKey + ">" + n.key + " " + n.text;
    EXPECT_EQ(got, (QStringList{">M3 Helfer", "M3>R9 Test", "R9>Z3:4 Zeile 4: Kunde.Start"}));
    EXPECT_EQ(callSiteOfKey("Z3:4"), std::make_pair(3, 4));
    for (const char* key : {"R9", "Z3", "Zx:4", "Z0:1", ""}) EXPECT_FALSE(callSiteOfKey(key)) << key;
}
