// The vector searches against the plain definitions, at every alignment
// and across the ends of their sixteen-byte steps.
#include <gtest/gtest.h>

#include <random>

#include <QString>

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

// Each vector search against its plain definition, at every start and length
// around the sixteen-byte steps, with the wanted units early, late and absent.
TEST(ByteSearch, VectorSearchesMatchTheirPlainDefinitions) {
    const std::u16string texts[] = {
        u"Sub A()\r\n    x = 1\r\nEnd Sub", u"ohne Zeilenende, aber länger als sechzehn Einheiten",
        u"\n", u"a|b||c" + std::u16string(40, u'x') + u"|", u"<p class=\"x\">Tom & Jerry</p> ÄÖÜ \x7f\x1f ~~~~~~~~~~~~~~~~",
        u"\xd83d\xde00 und \x8000 und \x20ac", std::u16string(33, u'r') + u"\r",
        u"Zeile eins\r\nZeile zwei mit mehr Text\r\n\r\nund \n allein, dann \r allein\r\n\n",
    };
    const AsciiStops stops = {u'"', u'&', u'<', u'>'};
    for (const std::u16string& text : texts) {
        const std::string bytes = QString::fromStdU16String(text).toStdString();
        const qsizetype n16 = qsizetype(text.size()), n8 = qsizetype(bytes.size());
        for (qsizetype from = 0; from <= n16; ++from)
            ASSERT_EQ(findLineBreak(text.data(), from, n16), plain::findLineBreak(text.data(), from, n16));
        for (const char byte : {'|', '\r', '~', char(0xC3)})
            for (qsizetype from = 0; from <= n8; ++from) {
                ASSERT_EQ(findByte(bytes.data(), from, n8, byte), plain::findByte(bytes.data(), from, n8, byte));
                ASSERT_EQ(findEitherByte(bytes.data(), from, n8, byte, 'x'),
                          plain::findEitherByte(bytes.data(), from, n8, byte, 'x'));
                ASSERT_EQ(findEitherPair(bytes.data(), from, n8, byte, 'x', 'x', '~'),
                          plain::findEitherPair(bytes.data(), from, n8, byte, 'x', 'x', '~'));
            }
        for (qsizetype from = 0; from <= n8; ++from) {
            ASSERT_EQ(onlyCrLfPairs(bytes.data() + from, n8 - from), plain::onlyCrLfPairs(bytes.data() + from, 0, n8 - from));
            ASSERT_EQ(findOutsidePrintableAscii(bytes.data(), from, n8), plain::findOutsidePrintableAscii(bytes.data(), from, n8));
        }
        for (qsizetype from = 0; from <= n16; ++from) {
            std::string fast(size_t(n16), '\0'), slow(size_t(n16), '\0');
            const qsizetype copied = copyPrintableAscii(text.data() + from, n16 - from, fast.data(), stops);
            ASSERT_EQ(copied, plain::copyPrintableAscii(text.data() + from, n16 - from, slow.data(), stops));
            ASSERT_EQ(fast, slow);
        }
        std::vector<qsizetype> fast, slow;
        findAllOccurrences(bytes, "|", fast);
        plain::findAllOccurrences(bytes, "|", 0, slow);
        EXPECT_EQ(fast, slow);
        EXPECT_EQ(countByte(bytes.data(), bytes.data() + n8, ' '), plain::countByte(bytes.data(), bytes.data() + n8, ' '));
    }
}
