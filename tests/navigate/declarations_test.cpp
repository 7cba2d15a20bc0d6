// Definition of every declared name, on a project built by the real parser.
#include <gtest/gtest.h>

#include "navigate/AidsProject.h"
#include "navigate/Declarations.h"
#include "navigate/Definition.h"

using namespace lumo;

namespace {

struct DefinitionRow {
    const char* name;
    int from;
    const char* expected;  // the candidates as "module:line", own module first
};

// Names the code declares (and names it does not) with every place F8 may go.
const DefinitionRow kDefinitions[] = {
    {"Haupt", 3, "1:1"},        // a module's own name
    {"kunde", 1, "1:12 2:1"},   // the own module's variable before the class elsewhere
    {"Kunde", 3, "2:1 1:12"},   // a module before a variable elsewhere
    {"MAX_N", 1, "1:2"},        // both constants of one Const
    {"MIN_N", 1, "1:2"},
    {"MIN_N", 2, ""},           // Const without Public is Private
    {"Titel", 3, "1:3"},
    {"Farbe", 3, "1:4"},        // Enum and members: Public unless said otherwise
    {"Gruen", 2, "1:6"},
    {"Rot", 1, "1:5 2:8"},      // own member, then the public function elsewhere
    {"Rot", 3, "2:8 1:5"},      // elsewhere a routine comes before other declarations
    {"Punkt", 1, "1:8"},
    {"Punkt", 2, ""},           // Private Type
    {"x", 1, ""},               // a member of a Type, a parameter: no module names
    {"zaehler", 1, "1:11"},     // Dim: Private variables
    {"gesamt", 1, "1:11"},
    {"zaehler", 3, ""},
    {"Tick", 1, "1:14"},        // both #If variants of a Declare: one place
    {"Start", 3, "1:18 2:5"},
    {"Rechne", 1, "1:23"},      // a routine
    {"Rechne", 2, "2:3"},       // the own module's Private variable
    {"Rechne", 3, ""},          // Private in both modules
    {"Name", 1, "2:2"},
    {"mNr", 1, ""},
    {"Geaendert", 1, "2:4"},    // an Event
    {"Wert", 1, "2:10"},        // Get, Let: one place, the first
    {"lokal", 1, ""},           // inside a routine
    {"Option", 1, ""},
};

class DeclarationsTest : public lumo::test::AidsProjectFixture {};

}  // namespace

TEST_F(DeclarationsTest, EveryDeclaredNameHasItsCandidates) {
    for (const DefinitionRow& row : kDefinitions) {
        QStringList got;
        for (const DefinitionTarget& t : definitionCandidates(store, row.name, row.from))
            got << QString::number(t.moduleNumber) + ":" + QString::number(t.line);
        EXPECT_EQ(got.join(' ').toStdString(), row.expected) << row.name << " from " << row.from;
    }
    const auto first = definitionOf(store, "Kunde", 3);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->moduleName, "Kunde");
    EXPECT_EQ(first->kind, DeclarationKind::Module);
}

TEST_F(DeclarationsTest, TheProjectIndexHoldsEveryKind) {
    QStringList kunde;
    const DeclarationIndex index = DeclarationIndex::ofProject(store);
    for (const Declaration& d : index.all())
        if (d.module == 2) kunde << d.name + ":" + QString::number(int(d.kind)) + (d.isPublic ? "+" : "-");
    EXPECT_EQ(kunde, (QStringList{"Kunde:0+", "Name:7+", "mNr:7-", "Rechne:7-", "Geaendert:6+", "Start:1+", "Rot:1+",
                                  "Wert:1+", "Wert:1+"}));
}
