// The words after a verb: one that is off stops the run before it touches
// anything, with the call (or what is off) on standard error and status 2.
#include <QDir>

#include "cli/CliFixture.h"

TEST_F(CliProgram, WordsThatAreOffStopTheRunWithStatusTwo) {
    const QString callers = "Aufruf: codelumo-cli callers --module N --routine NAME ORDNER\n";
    const QString definition = "Aufruf: codelumo-cli definition --module N [--line L [--column C]] [--all] NAME ORDNER\n";
    const QString rtf = "Aufruf: codelumo-cli rtf --module N ORDNER\n";
    const QString exportCall =
        "Aufruf: codelumo-cli export (--html|--rtf|--text|--structure [--long]) [--module N] [--footer] [--out DATEI] "
        "ORDNER\n";
    const struct {
        QStringList args;
        QString err;
    } cases[] = {
        {{"callers", "--module", "1", "--routine"}, callers},           // a value missing
        {{"callers", "--module", "0", "--routine", "A", "o"}, callers},  // numbers start at 1
        {{"callers", "--module", "1", "--routine", "", "o"}, callers},
        {{"definition", "--module", "x", "A", "o"}, definition},
        {{"definition", "--module", "1", "A"}, definition},              // one word short
        {{"definition", "--module", "1", "", "o"}, definition},
        {{"rtf", "--farbe", "--module", "1", "o"}, rtf},                 // unknown, whatever follows
        {{"rtf", "--module", "1", "o", "p"}, rtf},
        {{"export", "--html", "--html", "o"}, exportCall},               // one format, once
        {{"export", "--html", "o", "--out"}, exportCall},
        {{"export", "--structure", "--module", "1", "o"}, exportCall},
        {{"export", "--html", "--long", "o"}, exportCall},               // the long form is the structure's
        {{"build", "--out", "o", "--farbe", "--out"}, "Unbekannte Option: --farbe\n"},  // the first one off
        {{"build", "q", "--out"}, "--out braucht einen Ordner\n"},
        {{"dump"}, "Aufruf: codelumo-cli dump QUELLE...\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.err) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({"o", "q", ".o*"}, QDir::AllEntries | QDir::Hidden).isEmpty());
}
