// The hit list finds exactly what stepping with the code view's find finds.
#include <gtest/gtest.h>

#include "navigate/SearchHits.h"
#include "support/GuiApp.h"
#include "view/widgets/CodeView.h"

TEST(SearchHitsGui, TheListIsTheViewsStepping) {
    lumo::test::guiApp();
    lumo::CodeView v;
    v.setRtf(QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\plain\\f0 "
                            "Dim a: xDim Dim_ Dim2 Dim\\par \\'e4Dim (DIM) \\u946?Dim dim.\\par }"));
    for (const bool word : {false, true}) {
        std::vector<int> stepped;
        for (int at = v.find("dim", 0, word); at >= 0; at = v.find("dim", at + 1, word)) stepped.push_back(at);
        std::vector<int> listed;
        for (const lumo::SearchHit& h : lumo::hitsInText(v.text(), "dim", word, 0)) listed.push_back(h.position);
        EXPECT_EQ(listed, stepped) << word;
        EXPECT_EQ(listed.size(), word ? 4u : 9u);
    }
}
