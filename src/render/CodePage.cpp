#include "render/CodePage.h"

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <iconv.h>

#include <QStringDecoder>

#include "base/AppState.h"

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

// Windows-1252 between 0x80 and 0x9F, as the system's converter reads it
// (0 where it has no character). Nearly every module is in this code page:
// decoding it here spares each run loading two converter modules.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

QString decodeWindows1252(const char* data, qsizetype size, UndefinedBytes undefined) {
    QString result(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        char16_t unit = byte;
        if (byte >= 0x80 && byte < 0xA0) {
            unit = kWindows1252High[byte - 0x80];
            if (unit == 0) unit = undefined == UndefinedBytes::KeepAsControl ? char16_t(byte) : u'\uFFFD';
        }
        out[i] = unit;
    }
    return result;
}

}  // namespace

struct CodePageDecoder::Impl {
    enum class Kind { Iconv, Utf8, Utf16Le, Windows1252 } kind = Kind::Iconv;
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
};

CodePageDecoder::CodePageDecoder(int codePage, UndefinedBytes undefined)
    : codePage_(codePage), undefined_(undefined), impl_(std::make_unique<Impl>()) {
    if (codePage == 65001) {
        impl_->kind = Impl::Kind::Utf8;
        return;
    }
    if (codePage == 1200) {
        impl_->kind = Impl::Kind::Utf16Le;
        return;
    }
    if (codePage == 1252) {
        impl_->kind = Impl::Kind::Windows1252;
        return;
    }
    impl_->cd = iconv_open("UTF-16LE", iconvName(codePage).constData());
    if (impl_->cd == reinterpret_cast<iconv_t>(-1)) {
        codePage_ = 1252;
        impl_->kind = Impl::Kind::Windows1252;
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
    case Impl::Kind::Windows1252: return decodeWindows1252(data, size, undefined_);
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
        const auto bad = static_cast<unsigned char>(*in);
        const char16_t replacement =
            undefined_ == UndefinedBytes::KeepAsControl && bad >= 0x80 && bad < 0xA0 ? char16_t(bad) : u'\uFFFD';
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

namespace {

struct NamedCodePage {
    const char* name;
    int number;
};
// Names beside "windows-N", "cpN" and "iso-8859-N"; the Japanese, Chinese
// and Korean names stand for Windows' own supersets, which the files use.
constexpr NamedCodePage kNames[] = {
    {"utf-8", 65001},      {"shift_jis", 932}, {"sjis", 932},       {"ms932", 932},   {"windows-31j", 932},
    {"gbk", 936},          {"gb2312", 936},    {"big5", 950},       {"euc-kr", 949},  {"ks_c_5601-1987", 949},
    {"koi8-r", 20866},     {"koi8-u", 21866},  {"macintosh", 10000}, {"us-ascii", 20127}, {"ascii", 20127},
};

bool decodable(int codePage) {
    if (codePage == 65001 || codePage == 1252) return true;
    const iconv_t cd = iconv_open("UTF-16LE", iconvName(codePage).constData());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv_close(cd);
    return true;
}

}  // namespace

int codePageOfName(const QString& name) {
    const QString n = name.trimmed().toLower();
    int number = 0;
    for (const NamedCodePage& c : kNames)
        if (n == QLatin1String(c.name)) number = c.number;
    bool ok = false;
    if (number == 0) {
        for (const char* prefix : {"windows-", "cp", ""}) {
            if (!n.startsWith(QLatin1String(prefix))) continue;
            const int value = n.mid(qsizetype(qstrlen(prefix))).toInt(&ok);
            if (ok && value > 0) number = value;
            break;
        }
    }
    if (number == 0 && n.startsWith(QLatin1String("iso-8859-"))) {
        const int part = n.mid(9).toInt(&ok);
        if (ok && part >= 1 && part <= 16) number = 28590 + part;
    }
    // Only code pages that describe text: not UTF-16 (1200), not an EBCDIC one.
    if (number == 1200 || number == 1201 || number <= 0 || number > 65535) return 0;
    return decodable(number) ? number : 0;
}

QString nameOfCodePage(int codePage) {
    if (codePage >= 1250 && codePage <= 1258) return QStringLiteral("windows-%1").arg(codePage);
    if (codePage > 28590 && codePage <= 28606) return QStringLiteral("iso-8859-%1").arg(codePage - 28590);
    for (const NamedCodePage& c : kNames)
        if (c.number == codePage) return QString::fromLatin1(c.name);
    return QStringLiteral("cp%1").arg(codePage);
}

int codePageInForce() {
    const int number = codePageOfName(appState().options.codePage);
    return number != 0 ? number : 1252;
}

bool encodeInCodePage(QStringView text, int codePage, QByteArray& out) {
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        out = text.toLatin1();
        return true;
    }
    if (codePage == 65001) {
        out = text.toUtf8();
        return true;
    }
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    if (codePage == 1252) {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u >= 0x80 && u < 0xA0 && kWindows1252High[u - 0x80] == 0)) {
                bytes.append(char(u));
                continue;
            }
            const char16_t* hit = std::find(std::begin(kWindows1252High), std::end(kWindows1252High), u);
            if (u == 0 || hit == std::end(kWindows1252High)) return false;
            bytes.append(char(0x80 + (hit - std::begin(kWindows1252High))));
        }
        out = std::move(bytes);
        return true;
    }
    const iconv_t cd = iconv_open(iconvName(codePage).constData(), "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    bytes.resize(text.size() * 4 + 4);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
    size_t inLeft = size_t(text.size()) * 2;
    char* to = bytes.data();
    size_t toLeft = size_t(bytes.size());
    const bool ok = iconv(cd, &in, &inLeft, &to, &toLeft) != size_t(-1) && inLeft == 0;
    iconv_close(cd);
    if (!ok) return false;
    bytes.resize(to - bytes.data());
    out = std::move(bytes);
    return true;
}

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return !utf8.hasError();
}

QString decodeFileText(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.sliced(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    // One decoder per code page, made when first needed.
    static std::unique_ptr<CodePageDecoder> decoder;
    const int codePage = codePageInForce();
    if (!decoder || decoder->codePage() != codePage)
        decoder = std::make_unique<CodePageDecoder>(codePage, UndefinedBytes::KeepAsControl);
    return decoder->decode(bytes.data(), bytes.size());
}

QString decodeUtf16Le(const char* data, qsizetype size) {
    QString s(size / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i + 1 < size; i += 2)
        s[i / 2] = QChar(char16_t(static_cast<unsigned char>(data[i]) | (static_cast<unsigned char>(data[i + 1]) << 8)));
    return s;
}

}  // namespace lumo
