#include "acquire/ModuleFile.h"

#include <stdexcept>

#include "acquire/VbaProjectData.h"
#include "base/FileHelpers.h"

#include <QFile>
#include <QFileInfo>

#include "render/CodePage.h"

namespace lumo {

int moduleTypeOfExtension(const QString& suffix) {
    const QString s = suffix.toLower();
    if (s == QLatin1String("cls")) return 3;
    if (s == QLatin1String("frm")) return 1;
    return 2;
}

QString moduleCodeFromBytes(const QByteArray& bytes) {
    const QString text = decodeFileText(bytes);
    // One pass over the text: every line end becomes CR LF, the last one is dropped.
    QString out;
    out.reserve(text.size() + text.size() / 16);
    const QChar* d = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
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
