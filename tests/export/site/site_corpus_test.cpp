// Websites of real projects: a module folder and a Word document from the
// corpus, through codelumo-cli as a user runs it.
#include <QFileInfo>

#include "cli/CliFixture.h"
#include "export/site/SiteCheck.h"
#include "export/site/SiteProject.h"
#include "model/CodeDatabase.h"
#include "render/TaggedContent.h"

namespace {

TEST_F(CliProgram, SitesOfCorpusProjectsShowEveryModulesCodeAndHoldTogether) {
    const QString corpus = QStringLiteral(LUMO_SHARED_DIR "/corpus/");
    for (const QString source : {corpus + "vba-src/VBA-Web", corpus + "office/60158.docm"}) {
        if (!QFileInfo::exists(source)) {
            if (qgetenv("CI") == "true") FAIL() << "corpus missing: " << source.toStdString();
            GTEST_SKIP() << "corpus missing: " << source.toStdString();
        }
        ASSERT_EQ(run({"build", "--out", path("out"), source}).status, 0) << source.toStdString();
        const CliRun site = run({"site", "--out", path("site"), path("out")});
        ASSERT_EQ(site.status, 0) << site.err.toStdString();
        lumo::WorkingStore& s = store();
        for (const lumo::ModuleRow& m : lumo::modulesByNumber(s))
            EXPECT_EQ(lumo::test::codeText(lumo::test::readPage(path("site/") + lumo::modulePageName(m))),
                      lumo::taggedToText(s.readModuleText(m.number)).remove(u'\r'))
                << m.name.toStdString();
        s.closeWorkingDatabase();
        LUMO_EXPECT_VALID_SITE(path("site"));
    }
}

}  // namespace
