// Names bound as VBA binds them: locals and parameters first, then the
// module, then other modules' public names, then module names; a function's
// own bare name is its return value; a qualifier decides the module.
#include <gtest/gtest.h>

#include "model/BuildFixture.h"
#include "navigate/Definition.h"
#include "navigate/FakeCodeWindow.h"
#include "navigate/NameResolver.h"
#include "navigate/RoutineHistory.h"
#include "render/TaggedContent.h"

using namespace lumo;
using lumo::test::FakeCodeWindow;

namespace {

const char* const kLager =  // standard module 1
    "Option Explicit\n"
    "Public Zaehler As Long\n"
    "Public Enum Art\n"
    "    Klein = 1\n"
    "    Gross\n"
    "End Enum\n"
    "Public Function Summe(a As Long, b As Long) As Long\n"
    "    Summe = a + b\n"
    "    If a > 0 Then Summe = Summe(a - 1, b)\n"
    "End Function\n"
    "Public Function Jetzt() As Long\n"
    "    Jetzt = Zaehler: Zaehler = Jetzt + 1\n"
    "End Function\n"
    "Sub Lauf(Shift As Long)\n"
    "    Dim Create As Long, x\n"
    "    Create = Shift + Art.Gross + Klein ' Create\n"
    "    Set x = Fabrik.Create(1)\n"
    "    x.Create 2\n"
    "    With x\n"
    "        .Shift\n"
    "    End With\n"
    "Weiter: Lauf Shift:=1\n"
    "    GoTo Weiter\n"
    "End Sub\n";
const char* const kFabrik =  // class module 2
    "Option Explicit\n"
    "Public Function Create(n As Long) As Fabrik\n"
    "    Set Create = New Fabrik\n"
    "    Me.Shift\n"
    "    Shift\n"
    "End Function\n"
    "Public Sub Shift()\n"
    "    Zaehler = Summe(1, 2)\n"
    "End Sub\n";
const char* const kListe =  // class module 3
    "Public Function Create() As Liste\n"
    "    Set Create = Fabrik.Create(2)\n"
    "End Function\n"
    "Public Sub Shift()\n"
    "End Sub\n";
const char* const kZweite =  // standard module 4
    "Private Sub Shift()\n"
    "    Lager.Lauf 1\n"
    "    Summe 1, \"Summe\"\n"
    "End Sub\n";

struct ResolveRow {
    int module, line;
    const char* name;
    int nth;               // which occurrence of the name on the line
    const char* expected;  // "D " declaration, "RV " return value, then module:line of each target; "-" no name
};

// Expected answers worked out by hand from the texts above.
const ResolveRow kResolve[] = {
    {1, 7, "Summe", 1, "D 1:7"},
    {1, 8, "Summe", 1, "RV 1:7"},        // assigning the return value is no call
    {1, 9, "Summe", 1, "RV 1:7"},
    {1, 9, "Summe", 2, "1:7"},           // with arguments: calls itself
    {1, 12, "Jetzt", 2, "RV 1:11"},      // read back, still the return value
    {1, 12, "Zaehler", 1, "1:2"},
    {1, 14, "Shift", 1, "D 1:14"},
    {1, 16, "Create", 1, "1:15"},        // the local hides every Create
    {1, 16, "Shift", 1, "1:14"},         // the parameter hides the classes' Shift
    {1, 16, "Gross", 1, "1:5"},
    {1, 16, "Klein", 1, "1:4"},
    {1, 16, "Create", 2, ""},            // in a comment: no occurrence at all
    {1, 17, "Create", 1, "2:2"},         // qualified with the module: only its member
    {1, 17, "Fabrik", 1, "2:1"},
    {1, 18, "Create", 1, "2:2 3:1"},     // member of an object of unknown class
    {1, 20, "Shift", 1, "2:7 3:4"},      // inside With: the classes' public Shift only
    {1, 22, "Weiter", 1, "-"},           // a label
    {1, 22, "Shift", 1, "-"},            // a named argument
    {1, 23, "Weiter", 1, "-"},
    {2, 2, "Fabrik", 1, "2:1"},          // after As: a type, here the class
    {2, 3, "Create", 1, "RV 2:2"},
    {2, 4, "Shift", 1, "2:7"},           // Me: the own class
    {2, 5, "Shift", 1, "2:7"},
    {2, 8, "Zaehler", 1, "1:2"},         // a standard module's public variable is global
    {2, 8, "Summe", 1, "1:7"},
    {3, 2, "Create", 1, "RV 3:1"},
    {3, 2, "Create", 2, "2:2"},
    {4, 2, "Lauf", 1, "1:14"},
    {4, 2, "Lager", 1, "1:1"},
    {4, 3, "Summe", 1, "1:7"},
};

struct ReferencesRow {
    int module, line;  // a declaration's place
    const char* name;
    const char* expected;  // module:line of each reference, "*" marking the declaration
};

const ReferencesRow kReferences[] = {
    {2, 2, "Create", "1:17 1:18 2:2* 3:2"},   // not the local Create, not its own return value
    {3, 1, "Create", "1:18 3:1*"},
    {1, 7, "Summe", "1:7* 1:9 2:8 4:3"},      // the recursive call, not the string
    {2, 7, "Shift", "1:20 2:4 2:5 2:7*"},
    {1, 14, "Shift", "1:14* 1:16"},          // the parameter: in its routine only, no named argument
    {1, 2, "Zaehler", "1:2* 1:12 1:12 2:8"},
    {1, 15, "Create", "1:15* 1:16"},
};

class NameResolverTest : public lumo::test::BuildFixture {
protected:
    void SetUp() override {
        BuildFixture::SetUp();
        add(kLager, "Lager", 2);
        add(kFabrik, "Fabrik", 3);
        add(kListe, "Liste", 3);
        add(kZweite, "Zweite", 2);
        build.finish();
        store.openWorkingDatabase(StoreAccess::ReadOnly);
        scope = ProjectScope::read(store);
    }
    std::unique_ptr<ProjectScope> scope;
};

QString described(const Resolution& r) {
    if (r.kind == UseKind::NotAName) return "-";
    QStringList parts;
    if (r.kind == UseKind::Declaration) parts << "D";
    if (r.kind == UseKind::ReturnValue) parts << "RV";
    for (const Declaration& d : r.targets) parts << QString("%1:%2").arg(d.module).arg(d.line);
    return parts.join(' ');
}

}  // namespace

TEST_F(NameResolverTest, EachNameBindsWhereVbaBindsIt) {
    NameResolver resolver(*scope);
    for (const ResolveRow& row : kResolve) {
        const QStringView line = scope->code(row.module).line(row.line);
        int column = 1;
        QString got;
        for (int k = 0; k < row.nth; ++k) {
            const Resolution r = resolver.resolveNamed(row.module, row.line, column, QString(row.name));
            if (r.length == 0) {
                got = "";  // no such occurrence in the code
                break;
            }
            got = described(r);
            column = r.column + r.length;
        }
        if (got == "-" && QString(row.expected).isEmpty()) got = "";
        EXPECT_EQ(got, row.expected) << row.module << ":" << row.line << " " << row.name << " #" << row.nth << " in "
                                     << line.toString().toStdString();
    }
}

TEST_F(NameResolverTest, ReferencesAreTheUsesThatBindToTheDeclaration) {
    NameResolver resolver(*scope);
    for (const ReferencesRow& row : kReferences) {
        const Resolution r = resolver.resolveNamed(row.module, row.line, 1, QString(row.name));
        ASSERT_EQ(r.kind, UseKind::Declaration) << row.name;
        QStringList got;
        for (const NameReference& ref : resolver.references(r.targets.front()))
            got << QString("%1:%2%3").arg(ref.module).arg(ref.line).arg(ref.declaration ? "*" : "");
        EXPECT_EQ(got.join(' '), row.expected) << row.module << ":" << row.line << " " << row.name;
    }
}

namespace {

struct JumpRow {
    int module, line;
    const char* name;
    int nth;
    const char* expected;  // "module:line" of the jump, or the entries offered to choose from
};

const JumpRow kJumps[] = {
    {1, 16, "Shift", 1, "1:14"},  // the parameter, not a class's Shift
    {1, 17, "Create", 1, "2:2"},  // the module named, no choice
    {2, 5, "Shift", 1, "2:7"},
    // An object's member: every class's, to choose from.
    {1, 18, "Create", 1, "Fabrik, Zeile 2 (Routine)|Liste, Zeile 1 (Routine)"},
    {3, 2, "Create", 1, "3:1"},   // the own return value leads to the function
    {2, 4, "Shift", 1, "2:7"},    // Me.Shift: the own class, no choice
};

}  // namespace

TEST_F(NameResolverTest, DefinitionAtTheCaretTakesTheResolversAnswer) {
    QStringList shown;
    // The code view's text: lines joined with CR LF.
    for (int m = 1; m <= 4; ++m)
        shown << taggedToText(store.readModuleText(m)).replace("\r\n", "\n").replace("\n", "\r\n");
    for (const JumpRow& row : kJumps) {
        FakeCodeWindow w{shown};
        RoutineHistory h;
        w.showModule(row.module - 1);
        const QStringList lines = shown[row.module - 1].split("\r\n");
        qsizetype pos = 0;
        for (int l = 1; l < row.line; ++l) pos += lines[l - 1].size() + 2;
        qsizetype at = -1;
        for (int k = 0; k < row.nth; ++k) at = lines[row.line - 1].indexOf(row.name, at + 1);
        w.shown().setSelStart(int(pos + at + 1));
        definitionCommand(w, h, store, ui);
        const QString got = !w.offered.isEmpty()
                                ? w.offered.join('|')
                                : QString("%1:%2").arg(w.current + 1).arg(w.shown().lineOfPosition(w.shown().selStart()) + 1);
        EXPECT_EQ(got, row.expected) << row.module << ":" << row.line << " " << row.name;
    }
}

TEST_F(NameResolverTest, AWalkOverEveryNameAgreesWithTheReferences) {
    NameResolver resolver(*scope);
    scope->readAllParts();
    int checked = 0;
    for (int m = 1; m <= scope->moduleCount(); ++m) {
        resolver.forEachName(m, [&](int line, const Resolution& r) {
            if ((r.kind != UseKind::Use && r.kind != UseKind::Declaration) || r.targets.size() != 1) return;
            const std::vector<NameReference> refs = resolver.references(r.targets.front());
            const bool listed = std::any_of(refs.begin(), refs.end(), [&](const NameReference& ref) {
                return ref.module == m && ref.line == line && ref.column == r.column;
            });
            EXPECT_TRUE(listed) << m << ":" << line << ":" << r.column << " " << r.targets.front().name.toStdString();
            ++checked;
        });
    }
    EXPECT_GT(checked, 30);
}
