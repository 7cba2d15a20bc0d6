// What can be read is built: a source that cannot be read, or whose project
// holds nothing to list, is named and left out while the rest is built, and
// the store written opens in every verb; dump prints several files.
#include <QDir>

#include "cli/CliFixture.h"

namespace {

// Every verb that reads a store opens it: none calls it damaged.
void expectOpensInEveryVerb(CliProgram& test, const std::function<CliRun(const QStringList&)>& run, const QString& store) {
    const QList<QStringList> verbs = {{"export", "--structure", store}, {"export", "--html", store},
                                      {"search", "--module", "1", "--project", "Sub", store},
                                      {"callers", "--module", "1", "--routine", "A", store},
                                      {"definition", "--module", "1", "A", store},
                                      {"rtf", "--module", "1", store}};
    for (const QStringList& args : verbs) {
        const CliRun r = run(args);
        EXPECT_FALSE(r.err.contains("intakt")) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.status == 0 || args[0] == "callers") << args.join(' ').toStdString();
    }
    (void)test;
}

TEST_F(CliBuild, WhatCanBeReadIsBuiltTheRestNamed) {
    QDir().mkpath(path("gut"));
    QDir().mkpath(path("leer"));
    write("gut/A.bas", "Attribute VB_Name = \"A\"\r\nSub A()\r\n  B\r\nEnd Sub\r\nSub B()\r\nEnd Sub\r\n");
    write("gut/Doku.cls", "VERSION 1.0 CLASS\r\nBEGIN\r\nEND\r\nAttribute VB_Name = \"Doku\"\r\n' Was die Klasse tut\r\n"
                          "'\r\n' Sub Alt()\r\n' End Sub\r\n");
    write("leer/ThisDocument.cls", "Attribute VB_Name = \"ThisDocument\"\r\nOption Explicit\r\n");
    const auto cli = [this](const QStringList& args) { return run(args); };

    const CliRun r = run({"build", "--out", path("out"), path("gut"), path("fehlt"), path("leer")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains(": 2 Module, 2 Routinen")) << r.out.toStdString();
    for (const char* named : {"fehlt: Die Datei oder der Ordner existiert nicht.", "leer: Das VBA-Projekt hat nur Komponenten ohne Code"})
        EXPECT_TRUE(r.err.contains(named)) << r.err.toStdString();
    expectOpensInEveryVerb(*this, cli, path("out"));

    // Each file whole (--raw): the missing one is named, the others built.
    const CliRun raw = run({"build", "--raw", "--out", path("roh"), path("gut/A.bas"), path("fehlt.bas")});
    EXPECT_EQ(raw.status, 1);
    EXPECT_TRUE(raw.err.contains("fehlt.bas")) << raw.err.toStdString();
    EXPECT_TRUE(raw.out.contains(": 1 Module, 2 Routinen")) << raw.out.toStdString();

    // The site says on its overview what was left out.
    const CliRun site = run({"site", "--out", path("web"), path("gut"), path("fehlt")});
    EXPECT_EQ(site.status, 1);
    QFile index(path("web/index.html"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(index.readAll());
    EXPECT_TRUE(page.contains("Nicht aufgenommen:</p>\n<ul class=\"ausgelassen\">\n<li>")) << page.toStdString();
    EXPECT_TRUE(page.contains("fehlt: Die Datei oder der Ordner existiert nicht.</li>"));

    // Nothing readable at all: nothing is written.
    EXPECT_EQ(run({"build", "--out", path("nichts"), path("leer"), path("fehlt")}).status, 1);
    EXPECT_FALSE(QFile::exists(path("nichts")));
}

TEST_F(CliProgram, DumpPrintsEveryComponentOfEachFileAndFailsOnlyOnWhatItCannotRead) {
    QDir().mkpath(path("leer"));
    QDir().mkpath(path("gut"));
    write("leer/ThisDocument.cls", "Attribute VB_Name = \"ThisDocument\"\r\nOption Explicit\r\n");
    write("gut/A.bas", "Attribute VB_Name = \"A\"\r\nSub A()\r\nEnd Sub\r\n");
    const struct {
        QStringList sources;
        int status;
        const char* out;
    } cases[] = {
        {{"leer"}, 0, "== ThisDocument\t2\t1\nOption Explicit\n"},
        {{"gut", "leer"}, 0, "### @/gut\n== A\t1\t2\nSub A()\nEnd Sub\n### @/leer\n== ThisDocument\t2\t1\nOption Explicit\n"},
        {{"fehlt", "gut"}, 1, "### @/fehlt\n### @/gut\n== A\t1\t2\nSub A()\nEnd Sub\n"},
    };
    for (const auto& c : cases) {
        QStringList args = {"dump"};
        for (const QString& s : c.sources) args << path(s);
        const CliRun r = run(args);
        EXPECT_EQ(r.status, c.status) << c.out << r.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(r.out), QString(c.out).replace("@", dir.path()));
    }
    EXPECT_EQ(run({"dump"}).status, 2);
}

}  // namespace
