// HTML of real modules against the chain of replacements it is defined as.
#include <gtest/gtest.h>

#include "export/Html.h"
#include "model/CorpusModules.h"
#include "model/ModuleParser.h"
#include "support/ReferenceRenderers.h"

using lumo::Options;

TEST(HtmlCorpus, FragmentEqualsTheReplacementChainOnRealModules) {
    LUMO_REQUIRE_CORPUS();
    for (const QString& f : lumo::test::corpusModuleFiles()) {
        const QString code = lumo::test::corpusModule(f);
        for (int combo = 0; combo < 4; ++combo) {
            Options o;
            o.reindentBlocks = combo & 1;
            o.blankLineBeforeRoutines = true;
            o.boldRoutineLines = combo & 2;
            qint32 counter = 0;
            const QString stored = lumo::parseModule(code, o, counter).text;
            QString html = stored;
            lumo::taggedToHtml(html, o);
            ASSERT_EQ(html, lumo::reference::taggedToHtml(stored, o)) << f.toStdString() << " " << combo;
        }
    }
}
