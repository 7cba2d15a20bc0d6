// "codelumo-cli check" as CI runs it: exit status by --fail-on, each format
// read back by a real reader (SARIF against the standard's schema), JSON
// Lines of two runs over halves equal to one run over all.
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include "cli/CliFixture.h"

namespace {

const char* const kOhne =  // no Option Explicit: a warning
    "Attribute VB_Name = \"Ohne\"\r\n"
    "Sub Lauf()\r\n"
    "    GoTo Ende\r\n"
    "Ende:\r\n"
    "End Sub\r\n";
const char* const kAlt =  // Declare without PtrSafe: an error
    "Attribute VB_Name = \"Alt\"\r\n"
    "Option Explicit\r\n"
    "Public Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n"
    "Sub AutoOpen()\r\n"
    "    Debug.Print GetTickCount() 'codelumo: ignore\r\n"
    "    Shell \"cmd.exe /c dir\"\r\n"
    "End Sub\r\n";

class CliCheck : public CliProgram {
protected:
    void SetUp() override {
        CliProgram::SetUp();
        ASSERT_TRUE(QDir(dir.path()).mkpath("a") && QDir(dir.path()).mkpath("b"));
        write("a/Ohne.bas", kOhne);
        write("b/Alt.bas", kAlt);
    }
};

// Debian's python3 with python3-jsonschema, else any python3 that has it.
QString pythonWithJsonSchema() {
    for (const QString& p : {QString("/usr/bin/python3"), QStandardPaths::findExecutable("python3")}) {
        if (p.isEmpty()) continue;
        QProcess q;
        q.start(p, {"-c", "import jsonschema"});
        if (q.waitForFinished(30000) && q.exitCode() == 0) return p;
    }
    return {};
}

}  // namespace

TEST_F(CliCheck, ExitStatusFollowsFailOnAndUnreadableSources) {
    const struct {
        QStringList args;
        int status;
    } cases[] = {
        {{"check", path("a")}, 0},                          // warnings only, --fail-on error
        {{"check", "--fail-on", "warning", path("a")}, 1},
        {{"check", path("b")}, 1},                          // the Declare without PtrSafe
        {{"check", path("fehlt"), path("a")}, 2},           // named, the rest checked
        {{"check", "--fail-on", "hoch", path("a")}, 2},
        {{"check", "--format", "pdf", path("a")}, 2},
    };
    for (const auto& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString() << "\n" << r.err.toStdString();
    }
    const CliRun r = run({"check", path("fehlt"), path("a")});
    EXPECT_TRUE(r.out.contains("Ohne:1:1: warning [option-explicit]")) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("nicht geprüft")) << r.err.toStdString();
}

TEST_F(CliCheck, TextNamesPlaceRuleAndCallPathAndSaysItIsNoVerdict) {
    const CliRun r = run({"check", path("b")});
    const QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(out.contains(path("b") + ": Alt:2:25: error [declare-ohne-ptrsafe]")) << out.toStdString();
    EXPECT_TRUE(out.contains("Alt:5:5: warning [aussenaufruf] Shell: startet ein Programm; in Alt.AutoOpen, das von selbst läuft"))
        << out.toStdString();
    EXPECT_TRUE(out.contains("[adresse-im-text] Adresse im Text: cmd.exe")) << out.toStdString();
    EXPECT_FALSE(out.contains("Alt:4:")) << "the ignore comment silences its line";
    EXPECT_TRUE(r.err.contains("kein Urteil")) << r.err.toStdString();
}

TEST_F(CliCheck, RulesFileSwitchesRulesAndRefusesWhatItDoesNotKnow) {
    write("regeln.ini", "[declare-ohne-ptrsafe]\nstufe = warning\n[option-explicit]\naktiv = nein\n");
    CliRun r = run({"check", "--rules", path("regeln.ini"), path("a"), path("b")});
    EXPECT_EQ(r.status, 0) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("option-explicit"));
    EXPECT_TRUE(r.out.contains("warning [declare-ohne-ptrsafe]"));
    write("falsch.ini", "[goto]\nfarbe = rot\n");
    r = run({"check", "--rules", path("falsch.ini"), path("a")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("Zeile 2: unbekannter Schlüssel »farbe«")) << r.err.toStdString();
}

TEST_F(CliCheck, JsonLinesOfHalvesJoinToTheLinesOfAll) {
    const CliRun all = run({"check", "--format", "json", path("a"), path("b")});
    const CliRun first = run({"check", "--format", "json", path("a")});
    const CliRun second = run({"check", "--format", "json", path("b")});
    ASSERT_FALSE(first.out.isEmpty());
    ASSERT_FALSE(second.out.isEmpty());
    EXPECT_EQ(first.out + second.out, all.out);
    for (const QByteArray& line : all.out.split('\n')) {
        if (line.isEmpty()) continue;
        QJsonParseError e;
        const QJsonObject o = QJsonDocument::fromJson(line, &e).object();
        EXPECT_EQ(e.error, QJsonParseError::NoError) << line.toStdString();
        EXPECT_FALSE(o.value("rule").toString().isEmpty());
        EXPECT_GT(o.value("line").toInt(), 0);
    }
}

TEST_F(CliCheck, SarifValidatesAgainstTheStandardsSchema) {
    const CliRun r = run({"check", "--format", "sarif", path("fehlt"), path("a"), path("b")});
    EXPECT_EQ(r.status, 2);
    write("out.sarif", r.out);
    const QString python = pythonWithJsonSchema();
    if (python.isEmpty()) {
        if (qEnvironmentVariable("CI") == "true") FAIL() << "python3-jsonschema is missing (./lumo installs it)";
        GTEST_SKIP() << "python3-jsonschema is not installed: the SARIF output is not validated";
    }
    QProcess v;
    v.start(python, {"-c",
                     "import json, sys, jsonschema\n"
                     "schema = json.load(open(sys.argv[1]))\n"
                     "log = json.load(open(sys.argv[2]))\n"
                     "jsonschema.validators.validator_for(schema)(schema).validate(log)\n"
                     "assert len(log['runs'][0]['results']) > 3\n",
                     QStringLiteral(LUMO_SOURCE_DIR "/tests/cli/sarif-schema-2.1.0.json"), path("out.sarif")});
    ASSERT_TRUE(v.waitForFinished(60000));
    EXPECT_EQ(v.exitCode(), 0) << v.readAllStandardError().toStdString();
    // A broken log is refused: the validator is real.
    write("broken.sarif", QByteArray(r.out).replace("\"2.1.0\"", "\"2.0\""));
    v.start(python, {"-c",
                     "import json, sys, jsonschema\n"
                     "schema = json.load(open(sys.argv[1]))\n"
                     "jsonschema.validators.validator_for(schema)(schema).validate(json.load(open(sys.argv[2])))\n",
                     QStringLiteral(LUMO_SOURCE_DIR "/tests/cli/sarif-schema-2.1.0.json"), path("broken.sarif")});
    ASSERT_TRUE(v.waitForFinished(60000));
    EXPECT_NE(v.exitCode(), 0);
}

TEST_F(CliCheck, JUnitIsWellFormedWithFailuresAtTheFailOnLevel) {
    const CliRun r = run({"check", "--format", "junit", "--fail-on", "warning", path("a"), path("b")});
    EXPECT_EQ(r.status, 1);
    QXmlStreamReader xml(r.out);
    int failures = 0, cases = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"testcase") ++cases;
        if (xml.isStartElement() && xml.name() == u"failure") ++failures;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GE(cases, 5);
    EXPECT_GE(failures, 3);  // option-explicit, declare, the calls outside
    EXPECT_LT(failures, cases);
}

TEST_F(CliCheck, MetricsPerModuleAndRoutineAsCsv) {
    const CliRun r = run({"check", "--metrics", "--format", "csv", path("a")});
    EXPECT_EQ(r.status, 0);
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith("quelle,modul,routine,zeile,zeilen,codezeilen"));
    EXPECT_TRUE(lines[2].endsWith(",Ohne,Lauf,1,4,4,0,1,0")) << lines[2].toStdString();
}
