#include "acquire/ModuleFile.h"

#include <stdexcept>

#include "acquire/VbaProjectData.h"
#include "base/FileHelpers.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace lumo {

namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the code page equals Latin-1.
// Undefined bytes keep their C1 control character.
constexpr char16_t kHighRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar(b >= 0x80 && b < 0xA0 ? kHighRange[b - 0x80] : char16_t(b));
    }
    return out;
}

}  // namespace

int moduleTypeOfExtension(const QString& suffix) {
    const QString s = suffix.toLower();
    if (s == QLatin1String("cls")) return 3;
    if (s == QLatin1String("frm")) return 1;
    return 2;
}

QString moduleCodeFromBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = fromWindows1252(bytes);
    qsizetype from = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    // One pass over the text: every line end becomes CR LF, the last one is dropped.
    QString out;
    out.reserve(text.size() + text.size() / 16);
    const QChar* d = text.constData();
    const qsizetype n = text.size();
    qsizetype start = from;
    for (qsizetype i = from; i < n; ++i) {
        if (d[i] != u'\r' && d[i] != u'\n') continue;
        out.append(QStringView(d + start, i - start));
        if (d[i] == u'\r' && i + 1 < n && d[i + 1] == u'\n') ++i;
        start = i + 1;
        if (start < n) out.append(QLatin1String("\r\n"));
    }
    out.append(QStringView(d + start, n - start));
    return out;
}

ModuleSource readModuleFile(const QString& path) {
    const QFileInfo info(path);
    // Regular files only: a pipe would block the read, a device never end.
    if (!info.exists()) throw ReadError(QStringLiteral("Die Datei existiert nicht."));
    if (info.isDir()) throw ReadError(QStringLiteral("Das ist ein Ordner, keine Moduldatei."));
    if (!info.isFile()) throw ReadError(QStringLiteral("Das ist keine gewöhnliche Datei."));
    if (info.size() > kMaxModuleFileSize)
        throw ReadError(QStringLiteral("Die Datei ist größer als %1 MB und wird nicht als Modul gelesen.")
                            .arg(kMaxModuleFileSize / (1024 * 1024)));
    const QByteArray bytes = readRegularFile(path, kMaxModuleFileSize);
    if (bytes.contains('\0'))
        throw ReadError(QStringLiteral("Die Datei ist kein Modultext (sie enthält Binärdaten)."));
    ModuleSource m;
    m.name = info.completeBaseName();
    m.modTyp = moduleTypeOfExtension(info.suffix());
    m.code = moduleCodeFromBytes(bytes);
    return m;
}

}  // namespace lumo
