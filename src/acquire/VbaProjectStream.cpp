#include "acquire/VbaProjectStream.h"

#include "acquire/ModuleText.h"
#include "acquire/VbaProjectData.h"
#include "render/CodePage.h"

namespace lumo {

bool decryptVbaData(QByteArrayView hex, QByteArray& data) {
    data.clear();
    if (hex.size() < 6 || hex.size() % 2 != 0) return false;
    const QByteArray raw = QByteArray::fromHex(hex.toByteArray());
    if (raw.size() * 2 != hex.size() || raw.size() < 3) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(raw.constData());
    const qsizetype n = raw.size();

    const unsigned char seed = p[0];
    const unsigned char versionEnc = p[1];
    const unsigned char projKeyEnc = p[2];
    if ((seed ^ versionEnc) != 2) return false;
    unsigned char unencrypted1 = seed ^ projKeyEnc;
    unsigned char encrypted1 = projKeyEnc;
    unsigned char encrypted2 = versionEnc;
    qsizetype pos = 3;
    auto next = [&](unsigned char& out) {
        if (pos >= n) return false;
        const unsigned char enc = p[pos++];
        out = enc ^ static_cast<unsigned char>(encrypted2 + unencrypted1);
        encrypted2 = encrypted1;
        encrypted1 = enc;
        unencrypted1 = out;
        return true;
    };
    unsigned char b = 0;
    const int ignored = (seed & 6) / 2;
    for (int i = 0; i < ignored; ++i)
        if (!next(b)) return false;
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        if (!next(b)) return false;
        length |= std::uint32_t(b) << (8 * i);
    }
    if (length > std::uint32_t(n - pos)) return false;
    data.reserve(length);
    for (std::uint32_t i = 0; i < length; ++i) {
        if (!next(b)) return false;
        data.append(char(b));
    }
    return true;
}

VbaProjectInfo parseVbaProjectStream(const QByteArray& stream, const CodePageDecoder& decoder) {
    VbaProjectInfo info;
    const QStringList lines = splitSourceLines(decoder.decode(stream));
    for (const QString& line : lines) {
        // The module list and the protection values come before the first
        // section ([Host Extender Info], [Workspace]).
        if (line.startsWith(u'[')) break;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0) continue;
        const QStringView key = QStringView(line).left(eq).trimmed();
        QStringView value = QStringView(line).mid(eq + 1).trimmed();
        int type = 0;
        if (key.compare(u"Module", Qt::CaseInsensitive) == 0) type = VbaStandardModule;
        else if (key.compare(u"Class", Qt::CaseInsensitive) == 0) type = VbaClassModule;
        else if (key.compare(u"BaseClass", Qt::CaseInsensitive) == 0) type = VbaUserForm;
        else if (key.compare(u"Document", Qt::CaseInsensitive) == 0) {
            type = VbaDocumentModule;
            const qsizetype slash = value.indexOf(u'/');  // Document=ThisDocument/&H00000000
            if (slash >= 0) value = value.left(slash);
        } else if (key.compare(u"GC", Qt::CaseInsensitive) == 0) {
            if (value.startsWith(u'"')) value = value.mid(1);
            if (value.endsWith(u'"')) value.chop(1);
            QByteArray visibility;
            // 0x00 is "not visible": the project is locked for viewing.
            if (decryptVbaData(value.toLatin1(), visibility) && visibility.size() == 1 && visibility[0] == '\0')
                info.lockedForViewing = true;
            continue;
        }
        if (type != 0 && !value.isEmpty()) info.moduleTypes.insert(value.toString().toLower(), type);
    }
    return info;
}

}  // namespace lumo
