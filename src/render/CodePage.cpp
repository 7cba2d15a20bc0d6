#include "render/CodePage.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace lumo {

namespace {

QByteArray iconvName(int codePage) {
    switch (codePage) {
    case 10000: return "MACINTOSH";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 936: return "GBK";
    case 950: return "BIG5";
    case 949: return "CP949";
    case 932: return "CP932";
    default: break;
    }
    if (codePage >= 28591 && codePage <= 28606) return "ISO-8859-" + QByteArray::number(codePage - 28590);
    return "CP" + QByteArray::number(codePage);
}

// Module text is nearly always plain ASCII; tested a few words at a time.
bool isAscii(const char* data, qsizetype size) {
    qsizetype i = 0;
    for (; i + 32 <= size; i += 32) {
        quint64 w[4];
        memcpy(w, data + i, sizeof w);
        if (((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ULL) != 0) return false;
    }
    for (; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
    return true;
}

}  // namespace

struct CodePageDecoder::Impl {
    enum class Kind { Iconv, Utf8, Utf16Le } kind = Kind::Iconv;
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
};

CodePageDecoder::CodePageDecoder(int codePage) : codePage_(codePage), impl_(std::make_unique<Impl>()) {
    if (codePage == 65001) {
        impl_->kind = Impl::Kind::Utf8;
        return;
    }
    if (codePage == 1200) {
        impl_->kind = Impl::Kind::Utf16Le;
        return;
    }
    impl_->cd = iconv_open("UTF-16LE", iconvName(codePage).constData());
    if (impl_->cd == reinterpret_cast<iconv_t>(-1)) {
        codePage_ = 1252;
        impl_->cd = iconv_open("UTF-16LE", "CP1252");
    }
}

CodePageDecoder::~CodePageDecoder() {
    if (impl_->cd != reinterpret_cast<iconv_t>(-1)) iconv_close(impl_->cd);
}

QString CodePageDecoder::decode(const char* data, qsizetype size) const {
    if (size <= 0) return {};
    if (isAscii(data, size)) return QString::fromLatin1(data, size);
    switch (impl_->kind) {
    case Impl::Kind::Utf8: return QString::fromUtf8(data, size);
    case Impl::Kind::Utf16Le: return decodeUtf16Le(data, size);
    case Impl::Kind::Iconv: break;
    }
    if (impl_->cd == reinterpret_cast<iconv_t>(-1)) return QString::fromLatin1(data, size);

    // Every code page here yields at most one UTF-16 unit per byte except the
    // rare surrogate pair; twice the input is always enough.
    QString result(size * 2 + 2, Qt::Uninitialized);
    char* in = const_cast<char*>(data);
    size_t inLeft = size_t(size);
    char* out = reinterpret_cast<char*>(result.data());
    size_t outLeft = size_t(result.size()) * 2;
    iconv(impl_->cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(impl_->cd, &in, &inLeft, &out, &outLeft) != size_t(-1)) break;
        if (errno == E2BIG || outLeft < 2) break;
        // EILSEQ or EINVAL (a lead byte at the end): one replacement character per bad byte.
        const char16_t replacement = 0xFFFD;
        memcpy(out, &replacement, 2);
        out += 2;
        outLeft -= 2;
        ++in;
        --inLeft;
        iconv(impl_->cd, nullptr, nullptr, nullptr, nullptr);
    }
    result.resize((out - reinterpret_cast<char*>(result.data())) / 2);
    return result;
}

QString decodeUtf16Le(const char* data, qsizetype size) {
    QString s(size / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i + 1 < size; i += 2)
        s[i / 2] = QChar(char16_t(static_cast<unsigned char>(data[i]) | (static_cast<unsigned char>(data[i + 1]) << 8)));
    return s;
}

}  // namespace lumo
