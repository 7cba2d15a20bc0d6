// The blanking of the callers search on every module of the corpus, as the
// parser stores it, against the search it is defined as.
#include <gtest/gtest.h>

#include "model/CorpusModules.h"
#include "model/ModuleParser.h"
#include "navigate/Callers.h"
#include "support/ReferenceRenderers.h"

TEST(CallersBlankingCorpus, EqualsTheDefinedSearchOnRealModules) {
    LUMO_REQUIRE_CORPUS();
    int modules = 0;
    for (const QString& f : lumo::test::corpusModuleFiles()) {
        const QString code = lumo::test::corpusModule(f);
        for (const bool einr : {false, true}) {
            lumo::Options o;
            o.reindentBlocks = einr;
            o.blankLineBeforeRoutines = true;
            qint32 counter = 0;
            const QString stored = lumo::parseModule(code, o, counter).text;
            ASSERT_EQ(lumo::blankTaggedSpans(stored), lumo::reference::blankTaggedSpans(stored)) << f.toStdString();
        }
        ++modules;
    }
    EXPECT_GT(modules, 10);
}
