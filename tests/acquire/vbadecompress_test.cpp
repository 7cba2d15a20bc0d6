#include <gtest/gtest.h>

#include "acquire/VbaDecompress.h"
#include "support/VbaFixture.h"

namespace {

using lumo::decompressVba;

bool run(const QByteArray& in, QByteArray& out, QString* error = nullptr, std::size_t limit = lumo::kMaxDecompressedSize) {
    return decompressVba(reinterpret_cast<const unsigned char*>(in.constData()), std::size_t(in.size()), out, error, limit);
}

TEST(VbaDecompress, DecodesTheFormatsWorkedExample) {
    // Literals, short and overlapping copy tokens in one chunk.
    const QByteArray in = QByteArray::fromHex(
        "012FB00023616161626364658266007061676869 6A0138086 16B6C00306D6E6F7006710270041072737475761077787 97A003C"
        "" /* spaces are ignored by fromHex */);
    QByteArray out;
    ASSERT_TRUE(run(in, out));
    EXPECT_EQ(out, "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa");
}

TEST(VbaDecompress, RawAndMultiChunkContainers) {
    QByteArray text;
    for (int i = 0; i < 10000; ++i) text.append(char('a' + i % 26));
    QByteArray out;
    ASSERT_TRUE(run(lumo::test::literalContainer(text), out));
    EXPECT_EQ(out, text);

    // An uncompressed chunk: flag bit clear, 4096 bytes copied as they are.
    QByteArray raw("\x01", 1);
    raw += lumo::test::le16(0x3000 | 4095);
    raw += text.left(4096);
    raw += lumo::test::literalContainer("tail").mid(1);
    ASSERT_TRUE(run(raw, out));
    EXPECT_EQ(out, text.left(4096) + "tail");
}

TEST(VbaDecompress, MalformedInputFailsWithoutReadingPastTheBuffer) {
    QByteArray out;
    QString why;
    EXPECT_FALSE(run(QByteArray(), out, &why));
    EXPECT_FALSE(run("\x02\x00\xB0", out, &why));
    EXPECT_TRUE(why.contains("Signatur"));

    // A copy token as the first token of a chunk has nothing to copy from.
    EXPECT_FALSE(run(QByteArray::fromHex("0103B0010000"), out, &why));
    EXPECT_TRUE(why.contains("beginnt mit einem Kopierbefehl"));

    // A copy token whose offset points before the chunk ("a" then offset 16).
    EXPECT_FALSE(run(QByteArray::fromHex("0104B0026100F0"), out, &why));
    EXPECT_TRUE(why.contains("vor den Anfang"));

    // A token cut in half by the end of the stream.
    EXPECT_FALSE(run(QByteArray::fromHex("0103B0026100"), out, &why));

    // A header whose signature bits are wrong in the first chunk.
    EXPECT_FALSE(run(QByteArray::fromHex("0103A00061"), out, &why));
    EXPECT_TRUE(why.contains("ungültigen Kopf"));
}

TEST(VbaDecompress, ChunksThatGrowTooLargeAreRefused) {
    // "a" then copies of length 18 (offset 1) far beyond 4096 bytes.
    QByteArray in("\x01", 1);
    QByteArray body;
    body.append(char(0xFE)).append('a');
    for (int i = 0; i < 7; ++i) body += lumo::test::le16(0x000F);
    for (int k = 0; k < 60; ++k) {
        body.append(char(0xFF));
        for (int i = 0; i < 8; ++i) body += lumo::test::le16(0x0FFF);
    }
    in += lumo::test::le16(0xB000 | unsigned(body.size() - 1)) + body;
    QByteArray out;
    QString why;
    EXPECT_FALSE(run(in, out, &why));
    EXPECT_TRUE(why.contains("4096")) << why.toStdString();
    EXPECT_LE(out.size(), 4096);

    // The overall limit holds across chunks.
    QByteArray big(20000, 'x');
    EXPECT_FALSE(run(lumo::test::literalContainer(big), out, &why, 8192));
    EXPECT_TRUE(why.contains("größer"));
    EXPECT_LE(out.size(), 8192);
}

TEST(VbaDecompress, BytesAfterTheLastShortChunkAreNotPartOfTheText) {
    QByteArray out;
    QString why;
    ASSERT_TRUE(run(lumo::test::literalContainer("Attribute") + QByteArray("\x00\x12\x34\x56", 4), out, &why));
    EXPECT_EQ(out, "Attribute");
    // After a full chunk more text must follow: a bad header there is damage.
    QByteArray full = lumo::test::literalContainer(QByteArray(4096, 'y')) + QByteArray("\x00\x00\x61", 3);
    EXPECT_FALSE(run(full, out, &why));
}

TEST(VbaDecompress, FindsTheSourceWhenTheRecordedOffsetIsWrong) {
    const QByteArray stream = QByteArray(100, '\0') + QByteArray("\x01\x10\x20", 3) +
                              lumo::test::literalContainer("Attribute VB_Name = \"X\"");
    const auto* p = reinterpret_cast<const unsigned char*>(stream.constData());
    EXPECT_EQ(lumo::findSourceContainer(p, std::size_t(stream.size())), 103);
    EXPECT_EQ(lumo::findSourceContainer(p, 103), -1);
}

}  // namespace
