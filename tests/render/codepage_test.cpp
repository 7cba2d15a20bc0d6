#include <gtest/gtest.h>

#include <iconv.h>

#include "render/CodePage.h"

namespace {

// Windows-1252 is decoded by a table of our own; every byte must read as the
// system's converter reads it, in both treatments of undefined bytes.
TEST(CodePage, Windows1252TableReadsEveryByteAsTheSystemConverter) {
    const iconv_t cd = iconv_open("UTF-16LE", "CP1252");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (const auto undefined : {lumo::UndefinedBytes::Replace, lumo::UndefinedBytes::KeepAsControl}) {
        const lumo::CodePageDecoder decoder(1252, undefined);
        QString all;
        for (int b = 0; b < 256; ++b) {
            char in = char(b), out[4];
            char *inPtr = &in, *outPtr = out;
            size_t inLeft = 1, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            QChar expected = undefined == lumo::UndefinedBytes::KeepAsControl && b >= 0x80 && b < 0xA0
                                 ? QChar(b) : QChar(0xFFFD);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
                expected = QChar(char16_t(uchar(out[0]) | uchar(out[1]) << 8));
            EXPECT_EQ(decoder.decode(&in, 1), QString(expected)) << "byte " << b;
            all += expected;
        }
        QByteArray bytes(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b) bytes[b] = char(b);
        EXPECT_EQ(decoder.decode(bytes), all);
    }
    iconv_close(cd);
}

}  // namespace
