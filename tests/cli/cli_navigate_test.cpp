// codelumo-cli callers and definition on a project built by the program.
#include "cli/CliFixture.h"

namespace {

class CliNavigate : public CliProgram {
protected:
    void SetUp() override {
        CliProgram::SetUp();
        write("Haupt.bas", "Sub Start()\n    Rechne 1\n    Helfer.Rechne 2\nEnd Sub\n"
                           "Private Sub Rechne(x)\n    Start ' Start\nEnd Sub\n");
        write("Helfer.bas", "Option Explicit\nDim n: Start\nPublic Sub Rechne(x)\n    Start\nEnd Sub\n"
                            "Private Sub Intern()\nEnd Sub\nProperty Get Wert()\nEnd Property\n");
        ASSERT_EQ(run({"build", "--out", out(), path("Haupt.bas"), path("Helfer.bas")}).status, 0);
    }
    QString out() const { return path("out"); }
};

}  // namespace

TEST_F(CliNavigate, CallersPrintTheTreeOrTheMessage) {
    const CliRun r = run({"callers", "--module", "1", "--routine", "Start", out()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "M1\tHaupt\tM2\n\tR2\tRechne\tR1O2\nM2\tHelfer\tM2\n\tR3\tRechne\tR1O1\n");
    // Private: only its own module.
    EXPECT_EQ(run({"callers", "--module", "1", "--routine", "Rechne", out()}).out, "M1\tHaupt\tM2\n\tR1\tStart\tR1O1\n");

    CliRun e = run({"callers", "--module", "2", "--routine", "Wert", out()});
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.err, "Property wird von der Routinensuche nicht unterstützt\n");
    e = run({"callers", "--module", "1", "--routine", "Intern", out()});
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.err, "Infos zu Routine nicht gefunden\n");
    e = run({"callers", "--module", "2", "--routine", "Intern", out()});
    EXPECT_EQ(e.status, 1);  // nobody calls it
    EXPECT_TRUE(e.out.isEmpty());
    EXPECT_EQ(run({"callers", "--module", "3", "--routine", "Start", out()}).status, 1);
    EXPECT_EQ(run({"callers", "--routine", "Start", out()}).status, 2);
    // A module text that cannot be read: the rest is listed, the failure named, no success.
    ASSERT_TRUE(QFile::remove(out() + "/M1.txt"));
    e = run({"callers", "--module", "1", "--routine", "Start", out()});
    EXPECT_EQ(e.status, 1);
    EXPECT_EQ(e.out, "M2\tHelfer\tM2\n\tR3\tRechne\tR1O1\n");
    EXPECT_FALSE(e.err.isEmpty());
}

TEST_F(CliNavigate, DefinitionPrintsModuleNameAndLine) {
    CliRun r = run({"definition", "--module", "1", "Rechne", out()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1\tHaupt\t5\n");
    EXPECT_EQ(run({"definition", "--module", "2", "rechne", out()}).out, "2\tHelfer\t3\n");
    EXPECT_EQ(run({"definition", "--module", "1", "Intern", out()}).err, "Bezeichner unter Cursor nicht erkannt\n");
    EXPECT_EQ(run({"definition", "--module", "2", "Intern", out()}).out, "2\tHelfer\t6\n");
    r = run({"definition", "--module", "2", "Start", out()});
    EXPECT_EQ(r.out, "1\tHaupt\t1\n");
    EXPECT_EQ(run({"definition", "--module", "1", "x'y", out()}).status, 1);
    EXPECT_EQ(run({"definition", "Start", out()}).status, 2);
    EXPECT_EQ(run({"definition", "--module", "1", "Start", path("nichts")}).status, 1);
}
