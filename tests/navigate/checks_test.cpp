// The rules of "check" on a small project: a line ending in "'! RULE ..."
// expects exactly those findings there, every other line none.
#include <gtest/gtest.h>

#include <set>

#include "model/BuildFixture.h"
#include "navigate/CheckHits.h"
#include "navigate/Checks.h"

using namespace lumo;

namespace {

const char* const kHaupt =  // standard module, no Option Explicit
    "Private Declare Function Alt Lib \"kernel32\" () As Long '! option-explicit declare-ohne-ptrsafe aussenaufruf\n"
    "#If VBA7 Then\n"
    "Private Declare PtrSafe Function Neu Lib \"user32\" () As LongPtr '! aussenaufruf\n"
    "#Else\n"
    "Private Declare Function Neu Lib \"user32\" () As Long '! aussenaufruf\n"
    "#End If\n"
    "Private Zaehler As Long\n"
    "Private Ungenutzt As Long '! deklaration-unbenutzt\n"
    "Dim Ohne '! variable-ohne-typ\n"
    "Sub AutoOpen() '! autostart\n"
    "    Helfer\n"
    "    Ohne = Alt() + Neu()\n"
    "End Sub\n"
    "Private Sub Helfer() '! komplexitaet\n"
    "    Dim i As Long, n As Long '! deklaration-unbenutzt\n"
    "    Zaehler = Zaehler + 1\n"
    "    For i = 1 To 3\n"
    "        If i > 1 Then '! verschachtelung\n"
    "            Shell \"calc.exe\" '! aussenaufruf adresse-im-text\n"
    "        End If\n"
    "    Next i\n"
    "End Sub\n"
    "Private Sub Nie() '! private-routine-unbenutzt routine-leer\n"
    "End Sub\n"
    "Private Sub PerName()\n"
    "    On Error Resume Next '! on-error-resume-next\n"
    "    Debug.Print 1 / 0\n"
    "End Sub\n"
    "Sub Rufer(a As Long, b As Long) '! parameter-unbenutzt\n"
    "    Application.Run \"PerName\": Debug.Print a\n"
    "    On Error Resume Next\n"
    "    On Error GoTo 0\n"
    "    GoTo Ende '! goto\n"
    "    GoTo Ende 'codelumo: ignore goto\n"
    "Ende:\n"
    "    x = StrReverse(\"abc\") '! verschleierung\n"
    "    x = Chr(1) & Chr(2) & ChrW(3) & Chr$(4) & Chr(5) & Chr(6) '! verschleierung\n"
    "End Sub\n"
    "Sub Still() 'codelumo: ignore\n"
    "    GoTo Weiter\n"
    "Weiter:\n"
    "End Sub\n";
const char* const kKlasse =  // class module
    "Option Explicit\n"
    "Implements IForm\n"
    "Private WithEvents Quelle As Klasse\n"
    "Private Sub Class_Initialize()\n"
    "    Debug.Print 1\n"
    "End Sub\n"
    "Private Sub IForm_Zeigen()\n"
    "End Sub\n"
    "Private Sub Quelle_Fertig(ByVal Code As Long)\n"
    "    Debug.Print 2\n"
    "End Sub\n"
    "Public Function Url() As String\n"
    "    Url = \"https://example.org/x\" '! adresse-im-text\n"
    "End Function\n";
const char* const kIForm =  // class module used as an interface
    "Option Explicit\n"
    "Public Sub Zeigen()\n"
    "End Sub\n";

const char* const kRules =
    "; limits low enough for the small routines above\n"
    "[komplexitaet]\ngrenze = 2\n"
    "[verschachtelung]\ngrenze=1\nstufe=error\n"
    "[routine-zu-lang]\naktiv = nein\n";

using Place = std::tuple<QString, int, QString>;  // module, line, rule

std::set<Place> expected(const QString& module, const char* code) {
    std::set<Place> out;
    const QStringList lines = QString::fromUtf8(code).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const qsizetype at = lines[i].indexOf("'! ");
        if (at < 0) continue;
        for (const QString& rule : lines[i].mid(at + 3).split(' ', Qt::SkipEmptyParts)) out.insert({module, i + 1, rule});
    }
    return out;
}

class ChecksTest : public lumo::test::BuildFixture {
protected:
    void SetUp() override {
        BuildFixture::SetUp();
        add(kHaupt, "Haupt", 2);
        add(kKlasse, "Klasse", 3);
        add(kIForm, "IForm", 3);
        build.finish();
        store.openWorkingDatabase(StoreAccess::ReadOnly);
        scope = ProjectScope::read(store);
        ASSERT_EQ(rules.read(kRules), QString());
        findings = checkProject(*scope, rules);
    }
    const Finding* find(RuleId rule, int line) const {
        for (const Finding& f : findings)
            if (f.rule == rule && f.line == line) return &f;
        return nullptr;
    }
    std::unique_ptr<ProjectScope> scope;
    CheckRules rules;
    std::vector<Finding> findings;
};

}  // namespace

TEST_F(ChecksTest, EachRuleFindsWhatItShouldAndNothingElse) {
    std::set<Place> want = expected("Haupt", kHaupt);
    want.merge(expected("Klasse", kKlasse));
    want.merge(expected("IForm", kIForm));
    std::set<Place> got;
    for (const Finding& f : findings) got.insert({f.moduleName, f.line, QString::fromLatin1(ruleInfo(f.rule).id)});
    auto show = [](const std::set<Place>& s) {
        QStringList l;
        for (const auto& [m, line, rule] : s) l << QString("%1:%2 %3").arg(m).arg(line).arg(rule);
        return l.join('\n').toStdString();
    };
    EXPECT_EQ(show(got), show(want));
}

TEST_F(ChecksTest, FindingsCarryPlaceSeverityAndCallPath) {
    const Finding* shell = find(RuleId::ReachesOutside, 19);
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->column, 13);
    EXPECT_EQ(shell->routine, "Helfer");
    EXPECT_EQ(shell->callPath, QStringList({"Haupt.AutoOpen", "Haupt.Helfer"}));
    const Finding* declare = find(RuleId::ReachesOutside, 1);
    ASSERT_TRUE(declare);
    EXPECT_EQ(declare->callPath, QStringList({"Haupt.AutoOpen", "Haupt.Alt"}));
    EXPECT_TRUE(declare->message.contains("kernel32"));
    EXPECT_EQ(find(RuleId::NestedTooDeep, 18)->severity, Severity::Error);
    EXPECT_EQ(find(RuleId::UnusedDeclaration, 15)->column, 20);  // n, not i
    // The hit panel's place: the line's start in the view's text plus the column.
    const SearchHit hit = hitOfFinding(*shell, QString("x\r\n").repeated(18) + "            Shell \"calc.exe\"");
    EXPECT_EQ(hit.line, 19);
    EXPECT_EQ(hit.module, 0);
    EXPECT_EQ(hit.position, 18 * 3 + 12);
    EXPECT_EQ(hit.length, 5);
}

TEST(CheckRulesTest, RulesFileMistakesAreNamedWithTheirLine) {
    const struct {
        const char* text;
        const char* why;  // "" when read
    } cases[] = {
        {"[goto]\naktiv=nein\n", ""},
        {"[gibtsnicht]\n", "Zeile 1: unbekannte Regel »gibtsnicht«"},
        {"[goto]\ngrenze=3\n", "Zeile 2: die Regel goto hat keine Grenze"},
        {"[komplexitaet]\ngrenze=0\n", "Zeile 2: »grenze« ist eine ganze Zahl ab 1, nicht »0«"},
        {"[goto]\nstufe=hoch\n", "Zeile 2: »stufe« ist info, warning oder error, nicht »hoch«"},
        {"aktiv=ja\n", "Zeile 1: Schlüssel vor dem ersten Abschnitt [Regel]"},
    };
    for (const auto& c : cases) {
        CheckRules rules;
        EXPECT_EQ(rules.read(QString::fromUtf8(c.text)), QString::fromUtf8(c.why)) << c.text;
        EXPECT_EQ(rules.on(RuleId::GoTo), QString::fromUtf8(c.why).isEmpty() ? false : true) << c.text;
    }
}
