// The vector searches against the plain definitions, at every alignment
// and across the ends of their sixteen-byte steps.
#include <gtest/gtest.h>

#include <random>

#include "base/ByteSearch.h"

using namespace lumo;

TEST(ByteSearch, AgreesWithThePlainDefinitions) {
    std::mt19937 rng(1207);
    const char alphabet[] = "ab\r";
    for (int round = 0; round < 3000; ++round) {
        std::string hay(size_t(rng() % 70), ' ');
        for (char& c : hay) c = alphabet[rng() % 3];
        std::string needle(size_t(1 + rng() % 4), ' ');
        for (char& c : needle) c = alphabet[rng() % 2];
        std::vector<qsizetype> expected, found;
        for (size_t i = hay.find(needle); i != std::string::npos; i = hay.find(needle, i + 1)) expected.push_back(qsizetype(i));
        findAllOccurrences(QByteArrayView(hay.data(), qsizetype(hay.size())), QByteArrayView(needle.data(), qsizetype(needle.size())), found);
        ASSERT_EQ(found, expected) << hay << " / " << needle;
        const size_t from = hay.empty() ? 0 : rng() % hay.size();
        ASSERT_EQ(countByte(hay.data() + from, hay.data() + hay.size(), '\r'),
                  qsizetype(std::count(hay.begin() + qsizetype(from), hay.end(), '\r')));
    }
    std::vector<qsizetype> none;
    findAllOccurrences("abc", "", none);
    findAllOccurrences("ab", "abc", none);
    EXPECT_TRUE(none.empty());
}
