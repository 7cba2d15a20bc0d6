// The website of a project: the code on every page, the links to
// definitions and callers against the window's own lookups, the pages as
// HTML5, and the output folder's safety.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <sys/stat.h>

#include "base/Progress.h"
#include "export/site/SiteBuilder.h"
#include "export/site/SiteFolder.h"
#include "export/site/SiteProject.h"
#include "export/site/SiteCheck.h"
#include "export/site/PageBytes.h"
#include "model/CodeDatabase.h"
#include "model/Tags.h"
#include "navigate/AidsProject.h"
#include "navigate/CallSites.h"
#include "navigate/NameResolver.h"
#include "navigate/Definition.h"
#include "render/TaggedContent.h"

using namespace lumo;
using namespace lumo::test;

namespace {

class SiteTest : public AidsProjectFixture {
protected:
    QString makeSite(const QString& name = "site") {
        const QString folder = out.path() + "/" + name;
        SiteReport report;
        const QString why = writeSite(store, folder, {"Hilfen", {"hilfen.docm"}}, options(), report,
                                      [this](int done, int total) { progress << siteProgressText(done, total); });
        EXPECT_TRUE(why.isEmpty()) << why.toStdString();
        return folder;
    }
    QString page(const QString& folder, int module) {
        return readPage(folder + "/" + modulePageName(*moduleByNumber(store, module)));
    }

    void expectCallersOfTheCallerSearch() {
        const SiteProject project(store);
        for (const lumo::RoutineRow& r : project.routines()) {
            FakeUi quiet;
            const auto expected = callSitesOfRoutine(store, r.name, r.module, int(project.modules().size()), quiet);
            const auto found = project.callers(r);
            ASSERT_EQ(found.has_value(), expected.has_value()) << r.name.toStdString();
            if (!found) continue;
            ASSERT_EQ(found->size(), expected->size()) << r.name.toStdString();
            for (size_t i = 0; i < found->size(); ++i) {
                EXPECT_EQ((*found)[i].module, (*expected)[i].module);
                EXPECT_EQ((*found)[i].line, (*expected)[i].line);
                EXPECT_EQ((*found)[i].in ? (*found)[i].in->name : QString(), (*expected)[i].routine);
            }
        }
    }

    WorkingStore& store = WorkingStore::instance();
    QTemporaryDir out;
    QStringList progress;
};

TEST_F(SiteTest, EveryPageShowsItsModulesCodeAndPassesTheHtml5Check) {
    const QString folder = makeSite();
    for (int m = 1; m <= 3; ++m)
        EXPECT_EQ(codeText(page(folder, m)), taggedToText(store.readModuleText(m)).remove(u'\r')) << m;
    EXPECT_EQ(progress, QStringList({"Modul 1 von 3 ...", "Modul 2 von 3 ...", "Modul 3 von 3 ..."}));
    LUMO_EXPECT_VALID_SITE(folder);
}

// Every name of the code links where Definition (F8) jumps from that place,
// when it leads to one module; its declaration and a name of several
// modules (a member of an object of unknown class) link nowhere.
TEST_F(SiteTest, NamesLinkToWhereDefinitionJumps) {
    add("Dim Rot\nPublic Kunde\nPublic Function Rot()\nEnd Function\nPublic Sub Start()\n    Dim x\n    x.Start\nEnd Sub\n", "Mehr", 3);
    const QString folder = makeSite();
    const QRegularExpression link(QStringLiteral("<a href=\"([^\"]*)\">([^<]*)</a>"));
    ProjectScope& scope = projectScopeOf(store);
    NameResolver resolver(scope);
    int links = 0;
    for (int m = 1; m <= 4; ++m) {
        std::map<int, QStringList> expected;
        resolver.forEachName(m, [&](int line, const Resolution& r) {
            const std::vector<DefinitionTarget> t = definitionTargets(scope, r, m);
            if (r.kind == UseKind::Declaration || t.size() != 1) return;
            const QString file = t[0].moduleNumber == m ? QString() : modulePageName(*moduleByNumber(store, t[0].moduleNumber));
            expected[line] << file + "#L" + QString::number(t[0].line) + " " +
                                  scope.code(m).line(line).sliced(r.column - 1, r.length).toString();
        });
        const QStringList lines = page(folder, m).section("<pre class=\"code\">", 1).split("<span id=\"L");
        for (qsizetype l = 1; l < lines.size(); ++l) {
            QStringList found;
            for (auto it = link.globalMatch(lines[l]); it.hasNext(); ++links) {
                const auto hit = it.next();
                found << hit.captured(1) + " " + hit.captured(2);
            }
            EXPECT_EQ(found, expected[int(l)]) << m << ":" << l;
        }
    }
    EXPECT_GT(links, 10);
    // Read by hand: the private function and the constant beside it, an Enum
    // member, a class after New (not the variable of that name), the public
    // variable Kunde of Haupt, and no link for a Start two classes have.
    const QString haupt = page(folder, 1);
    for (const char* expected : {"<a href=\"#L23\">Rechne</a> <a href=\"#L2\">MAX_N</a>", "<a href=\"#L5\">Rot</a>",
                                 "<span class=\"k\">New</span> <a href=\"modul-Kunde.html#L1\">Kunde</a>"})
        EXPECT_TRUE(haupt.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(page(folder, 3).contains("<a href=\"modul-Haupt.html#L12\">Kunde</a>.Start"));
}

// Each routine's callers are the lines the caller search finds.
TEST_F(SiteTest, CallersAreTheCallSitesOfTheCallerSearch) {
    expectCallersOfTheCallerSearch();
    const QString helfer = readPage(makeSite() + "/modul-Helfer.html");
    EXPECT_TRUE(helfer.contains("href=\"modul-Haupt.html#L18\""));  // Test calls Start: its definition
}

// An end tag outside every span is text to the caller search, its letter a
// word that calls the routine of that name.
TEST_F(SiteTest, CallersOfEndTagsOutsideSpansAreThoseOfTheCallerSearch) {
    add("Sub n()\nEnd Sub\nSub y()\nEnd Sub\n", "Ende");
    const int added = store.moduleCounter;
    store.moduleCounter = 3;
    const QString marker = QChar(kMarkerChar);
    store.writeModuleText(store.readModuleText(3) + "x = 1 |n" + marker + "|\r\nn\r\n|y" + marker + "|\r\n");
    store.moduleCounter = added;
    expectCallersOfTheCallerSearch();
}

// A module name as long as a build takes still gives a page a file system takes.
TEST_F(SiteTest, ALongModuleNameGivesAPageOfItsOwn) {
    const QString name = QString(250, u'N');
    add("Sub Lang()\nEnd Sub\n", name);
    const QString folder = makeSite();
    const QString page = modulePageName(*moduleByNumber(store, 4));
    EXPECT_EQ(page, "modul-" + QString(200, u'N') + "-4.html");
    EXPECT_TRUE(QFile::exists(folder + "/" + page));
}

TEST_F(SiteTest, IndexAndRoutinePagesListEverything) {
    const QString folder = makeSite();
    const QString index = readPage(folder + "/index.html");
    EXPECT_TRUE(index.contains("<tr><td><a href=\"modul-Haupt.html\">Haupt</a></td><td class=\"zahl\">27</td>"
                               "<td class=\"zahl\">3</td></tr>"));
    EXPECT_TRUE(index.contains("<h2>Klassenmodule</h2>"));
    const QString routines = readPage(folder + "/routinen.html");
    EXPECT_TRUE(routines.contains("<a href=\"modul-Kunde.html#r-Wert-2\">Wert</a>"));  // Let beside Get
    EXPECT_TRUE(routines.indexOf("id=\"b-R\"") < routines.indexOf("id=\"b-S\""));
    const QString search = readPage(folder + "/suchindex.js");
    EXPECT_TRUE(search.contains("[\"Rechne\",\"modul-Haupt.html#r-Rechne\",\"Private Function in Haupt\"]"));
}

// Documentation comments and heads as written reach the module page, the
// A–Z page and the search; counts are German; no folder of the building
// machine is published.
TEST_F(SiteTest, DocumentationSignaturesAndCountsReachEveryList) {
    add("'@ModuleDescription(\"Hilfen für Texte.\")\nOption Explicit\n\n"
        "''\n' Verdoppelt <Zahl>. Mehr nicht.\n' @param {Long} n Die Zahl\n' @return {Long} Das Doppelte\n''\n"
        "Public Function Doppelt(ByVal n As Long, _\n        Optional x) As Long\n"
        "Attribute Doppelt.VB_Description = \"Aus der Mappe.\"\n    Doppelt = 2 * n\nEnd Function\n",
        "Doku");
    SiteReport report;
    const QString folder = out.path() + "/site";
    ASSERT_TRUE(writeSite(store, folder, {"Hilfen", {"/home/bau/geheim/hilfen.docm"}}, options(), report).isEmpty());
    const QString doku = readPage(folder + "/modul-Doku.html");
    for (const char* expected :
         {"<div class=\"doku\"><p>Hilfen für Texte.</p></div>", "1 Routine.",
          "<code class=\"sig\">Public Function Doppelt(ByVal n As Long, _\n        Optional x) As Long</code>"
          "<div class=\"doku\"><p>Aus der Mappe.</p><p>Verdoppelt &lt;Zahl&gt;. Mehr nicht.</p>"
          "<dl><dt>n</dt><dd>Die Zahl</dd></dl><p><b>Rückgabe:</b> Das Doppelte</p></div>"})
        EXPECT_TRUE(doku.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(readPage(folder + "/routinen.html").contains("Optional x) As Long</code><span class=\"doku\">Aus der Mappe.</span>"));
    EXPECT_TRUE(readPage(folder + "/suchindex.js").contains("\"Public Function in Doku\",\"Aus der Mappe.\"]"));
    const QString index = readPage(folder + "/index.html");
    EXPECT_TRUE(index.contains("Quelle: <code>hilfen.docm</code>"));
    EXPECT_FALSE(index.contains("/home/bau"));
    EXPECT_TRUE(index.contains("Doku</a><span class=\"doku\">Hilfen für Texte.</span>"));
    const QString css = readPage(folder + "/site.css");
    EXPECT_TRUE(css.contains("font-family:\"DejaVu Sans Mono\"")) << "the proportional font of the options comes not first";
    EXPECT_TRUE(css.contains("prefers-color-scheme:dark"));
    LUMO_EXPECT_VALID_SITE(folder);
}

// The output folder: only a missing or empty one, or a site of ours, is
// replaced; a foreign one stays as it is.
TEST_F(SiteTest, OnlyAnEmptyFolderOrOneOfOurSitesIsReplaced) {
    const QString folder = makeSite();
    QFile stale(folder + "/modul-Alt.html");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    auto inode = [&folder](const char* file) {
        struct stat st {};
        EXPECT_EQ(::stat(QFile::encodeName(folder + "/" + file).constData(), &st), 0) << file;
        return st.st_ino;
    };
    const auto page = inode("modul-Haupt.html"), css = inode("site.css");
    options().keywordColour = 0x0000FF;
    makeSite();  // again over our own: what did not change is kept, the rest written anew
    EXPECT_FALSE(QFile::exists(stale.fileName()));
    EXPECT_EQ(inode("modul-Haupt.html"), page);
    EXPECT_NE(inode("site.css"), css);
    EXPECT_TRUE(readPage(folder + "/site.css").contains(".k{color:#FF0000}"));

    struct Case {
        const char* file;
        const char* content;
        const char* refusal;
    };
    const Case cases[] = {
        {"notizen.txt", "meins", "enthält nicht nur eine Website von Code Lumo (etwa notizen.txt)"},
        {"index.html", "<html>meine Seite</html>", "enthält keine Website von Code Lumo"},
    };
    for (const Case& c : cases) {
        const QString foreign = out.path() + "/fremd-" + c.file;
        QDir().mkpath(foreign);
        QFile f(foreign + "/" + c.file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        SiteReport report;
        const QString why = writeSite(store, foreign, {"Hilfen", {}}, options(), report);
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.refusal))) << why.toStdString();
        EXPECT_EQ(QDir(foreign).entryList(QDir::Files), QStringList{c.file});
        EXPECT_EQ(readPage(f.fileName()), c.content);
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);  // no leftovers
}

// Pages are written as bytes without a QString between: the same bytes
// toUtf8 makes, a surrogate without its partner included.
TEST(SiteText, EscapesMarkupAndControlCharactersAndWritesUtf8AsQt) {
    EXPECT_EQ(escapedBytes(u"a<b> & \"c\"\x01\x7F\td"), "a&lt;b&gt; &amp; &quot;c&quot;&#xFFFD;&#xFFFD;\td");
    for (const char16_t* text :
         {u"Größe 5 €", u"\U0001F600x", u"\xD83D", u"a\xD83D" u"b", u"\xDE00" u"a", u"\xD83D\xD83D\xDE00"}) {
        PageBytes page(1);  // grows as it goes
        page.addEscaped(text);
        page.addNumber(-1207);
        EXPECT_EQ(page.take(), QStringView(text).toUtf8() + "-1207");
        EXPECT_EQ(escapedBytes(text), QStringView(text).toUtf8());
    }
    PageBytes js;
    js.addJsText(u"\"a\\b\x01\x1F\" ä");
    EXPECT_EQ(js.take(), QByteArray("\\\"a\\\\b\\u0001\\u001f\\\" ") + QStringView(u"ä").toUtf8());
}

// The names a site of ours holds, and only those, are replaced with it.
TEST(SiteText, FileNamesOfASite) {
    for (const char* ours : {"index.html", "routinen.html", "site.css", "suchindex.js", "suche.js", "modul-Haupt.html",
                             "modul-12_a.html"})
        EXPECT_TRUE(isSiteFileName(QString::fromUtf8(ours))) << ours;
    for (const char* other : {"modul-.html", "modul-Ä.html", "modul-a.htm", "Modul-a.html", "modul-a.html.bak",
                              "modul-a b.html", "notizen.txt"})
        EXPECT_FALSE(isSiteFileName(QString::fromUtf8(other))) << other;
}

TEST_F(SiteTest, AColourThatCannotBeWrittenLeavesNoSite) {
    options().keywordColour = 0x1000000;
    SiteReport report;
    const QString why = writeSite(store, out.path() + "/site", {"Hilfen", {}}, options(), report);
    EXPECT_TRUE(why.contains("Schlüsselwörter")) << why.toStdString();
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(SiteTest, AStoppedSiteLeavesTheOneMadeBefore) {
    const QString folder = makeSite();
    const QString before = readPage(folder + "/site.css");
    options().keywordColour = 0x0000FF;
    SiteReport report;
    const QString why = writeSite(store, folder, {"Hilfen", {}}, options(), report, [](int done, int) {
        if (done == 2) throw WorkStopped();
    });
    EXPECT_EQ(why, siteStoppedReason());
    EXPECT_EQ(readPage(folder + "/site.css"), before);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
}

}  // namespace
