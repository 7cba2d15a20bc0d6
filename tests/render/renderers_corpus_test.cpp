// The renderers of tagged text on real modules, against the replacement
// chains they are defined as.
#include <gtest/gtest.h>

#include "model/CorpusModules.h"
#include "model/ModuleParser.h"
#include "render/RtfRenderer.h"
#include "support/ReferenceRenderers.h"

using lumo::Options;

TEST(RtfRendererCorpus, BodyEqualsTheReplacementChainOnRealModules) {
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
            QString body = stored;
            lumo::taggedToRtf(body, o);
            ASSERT_EQ(body, lumo::reference::taggedToRtf(stored, o)) << f.toStdString() << " " << combo;
        }
    }
}
