// Every store built from the corpus passes the check and opens in every
// verb: the Office files one by one and all together (some hold only an
// empty ThisDocument), the module folders read as the editor imports them.
#include <QDir>

#include "cli/CliFixture.h"

namespace {

TEST_F(CliProgram, EveryStoreBuiltFromTheCorpusOpensInEveryVerb) {
    const QString corpus = QStringLiteral(LUMO_SHARED_DIR "/corpus/");
    if (!QFileInfo::exists(corpus + "office")) {
        if (qgetenv("CI") == "true") FAIL() << "corpus missing: " << corpus.toStdString();
        GTEST_SKIP() << "corpus missing: " << corpus.toStdString();
    }
    QList<QStringList> builds = {{corpus + "vba-src/VBA-JSON", corpus + "vba-src/VBA-Web"}, {}};
    for (const QString& f : QDir(corpus + "office").entryList(QDir::Files, QDir::Name)) {
        builds.back() << corpus + "office/" + f;
        builds.prepend({corpus + "office/" + f});
    }
    int stores = 0;
    for (const QStringList& sources : builds) {
        const QString out = path("s" + QString::number(stores));
        const CliRun b = run(QStringList{"build", "--out", out} + sources);
        if (!QFile::exists(out + "/DivuRuvi.mdb")) {
            // Nothing to build: a file without a project, or with nothing to list.
            EXPECT_EQ(b.status, 1) << sources.join(' ').toStdString();
            continue;
        }
        ++stores;
        for (const QStringList& verb : QList<QStringList>{{"export", "--structure"}, {"export", "--html"},
                                                          {"search", "--module", "1", "--project", "End"},
                                                          {"rtf", "--module", "1"}}) {
            const CliRun r = run(verb + QStringList{out});
            EXPECT_EQ(r.status, 0) << verb.join(' ').toStdString() << " " << sources.join(' ').toStdString() << ": "
                                   << r.err.toStdString();
        }
        const CliRun site = run({"site", "--out", out + "-web", out});
        EXPECT_EQ(site.status, 0) << site.err.toStdString();
        // The count the build reports is the count it stored.
        lumo::appState().workFolder = out + "/";
        lumo::WorkingStore& s = lumo::WorkingStore::instance();
        s.openWorkingDatabase();
        lumo::Query q = s.query("SELECT count(*) FROM td_rout");
        ASSERT_TRUE(q.next());
        EXPECT_TRUE(b.out.contains(" Module, " + QByteArray::number(q.integer(0)) + " Routinen")) << b.out.toStdString();
        s.closeWorkingDatabase();
    }
    EXPECT_GE(stores, 6);
}

}  // namespace
