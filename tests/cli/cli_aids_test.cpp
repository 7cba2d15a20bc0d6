// The headless verbs of the reading aids on the project of navigate/AidsProject.h.
#include <gtest/gtest.h>

#include "cli/CliFixture.h"
#include "navigate/AidsProject.h"

namespace {

class CliAids : public CliBuild {
protected:
    void SetUp() override {
        CliBuild::SetUp();
        QStringList args{"build", "--raw", "--out", path("out"), "--no-einr", "--no-leer", "--no-rle", "--no-rer"};
        for (const lumo::test::AidsModule& m : lumo::test::kAidsProject) {
            write(m.file, m.code);
            args << path(m.file);
        }
        ASSERT_EQ(run(args).status, 0);
    }
};

}  // namespace

TEST_F(CliAids, DefinitionAnswersForEveryDeclaredName) {
    EXPECT_EQ(run({"definition", "--module", "3", "Kunde", path("out")}).out, "2\tKunde\t1\n");
    EXPECT_EQ(run({"definition", "--module", "1", "--all", "Rot", path("out")}).out, "1\tHaupt\t5\n2\tKunde\t8\n");
    const CliRun none = run({"definition", "--module", "3", "--all", "MAX_N", path("out")});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "Bezeichner unter Cursor nicht erkannt\n");
    // At a place: "Kunde.Start" in Helfer is the class's Start through Haupt's variable Kunde.
    EXPECT_EQ(run({"definition", "--module", "3", "--line", "4", "Start", path("out")}).out, "2\tKunde\t5\n");
    EXPECT_EQ(run({"definition", "--module", "3", "--line", "4", "kunde", path("out")}).out, "1\tHaupt\t12\n");
    EXPECT_EQ(run({"definition", "--module", "3", "--line", "4", "--column", "12", "Kunde", path("out")}).status, 1);
}

TEST_F(CliAids, ReferencesPrintEveryLine) {
    const CliRun r = run({"references", "--module", "2", "Start", path("out")});
    EXPECT_EQ(r.status, 0);
    // The class's Start is reached only through an object; the bare Start of Helfer is Haupt's.
    EXPECT_EQ(r.out, "3\tHelfer\t4\tTest\t    Kunde.Start\n");
    EXPECT_EQ(run({"references", "--module", "1", "Start", path("out")}).out,
              "3\tHelfer\t1\t\tDim s As String: Start\n3\tHelfer\t3\tTest\t    Start\n");
    // Any declared name, a variable too; a property without uses is named as such.
    EXPECT_EQ(run({"references", "--module", "3", "--line", "4", "Kunde", path("out")}).out,
              "3\tHelfer\t4\tTest\t    Kunde.Start\n");
    const CliRun property = run({"references", "--module", "2", "Wert", path("out")});
    EXPECT_EQ(property.status, 1);
    EXPECT_EQ(property.err, "Keine Verweise auf Wert gefunden\n");
    EXPECT_EQ(run({"references", "--module", "3", "Test", path("out")}).status, 1);
    EXPECT_EQ(run({"references", "Start", path("out")}).status, 2);
}

TEST_F(CliAids, SearchPrintsEveryHit) {
    EXPECT_EQ(run({"search", "--module", "2", "--project", "--word", "  kunde ", path("out")}).out,
              "1\tHaupt\t12\tPublic Kunde As New Kunde\n1\tHaupt\t12\tPublic Kunde As New Kunde\n"
              "1\tHaupt\t21\t    Set k = New Kunde ' Rechne\n3\tHelfer\t4\t    Kunde.Start\n");
    EXPECT_EQ(run({"search", "--module", "3", "Dim s", path("out")}).out, "3\tHelfer\t1\tDim s As String: Start\n");
    const CliRun none = run({"search", "--module", "3", "Rechne", path("out")});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "Der Suchtext\nwurde im Modul nicht gefunden .\n\n");
    EXPECT_EQ(run({"search", "--module", "1", " ", path("out")}).status, 2);
}

TEST_F(CliAids, ExportStructureLong) {
    const CliRun r = run({"export", "--structure", "--long", path("out")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("Haupt\tAllgemeines Modul\r\n\tRechne\tFunction\tPrivate\tRechne(ByVal x As Long, y) As Long\r\n"))
        << r.out.toStdString();
}
