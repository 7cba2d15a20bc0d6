#include "acquire/VbaDirStream.h"

#include "acquire/VbaProjectData.h"
#include "render/CodePage.h"

namespace lumo {

namespace {

// Record identifiers of the dir stream.
enum : std::uint16_t {
    kProjectSysKind = 0x0001,
    kProjectCodePage = 0x0003,
    kProjectName = 0x0004,
    kProjectVersion = 0x0009,
    kProjectModules = 0x000F,
    kDirTerminator = 0x0010,
    kModuleName = 0x0019,
    kModuleStreamName = 0x001A,
    kModuleTypeProcedural = 0x0021,
    kModuleTypeOther = 0x0022,
    kModuleTerminator = 0x002B,
    kModuleOffset = 0x0031,
    kModuleStreamNameUnicode = 0x0032,
    kModuleNameUnicode = 0x0047,
};

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

[[noreturn]] void corrupt(const QString& why) {
    throw ReadError(QStringLiteral("Das Verzeichnis des VBA-Projekts (dir) ist beschädigt: %1").arg(why));
}

}  // namespace

VbaDirInfo parseVbaDir(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const std::size_t size = std::size_t(bytes.size());
    if (size < 6 || (data[0] | (data[1] << 8)) != kProjectSysKind)
        corrupt(QStringLiteral("es beginnt nicht mit dem Eintrag für die Plattform."));

    VbaDirInfo info;
    VbaDirModule* current = nullptr;
    bool inModules = false;
    std::size_t pos = 0;
    while (pos + 6 <= size) {
        const std::uint16_t id = std::uint16_t(data[pos] | (data[pos + 1] << 8));
        std::uint32_t length = le32(data + pos + 2);
        pos += 6;
        if (id == kProjectVersion) {
            // Its length field holds a reserved 4, yet a 4-byte major and a
            // 2-byte minor version follow.
            length = 6;
        }
        if (length > size - pos)
            corrupt(QStringLiteral("ein Eintrag (Kennung 0x%1) ist länger als der Rest des Verzeichnisses.")
                        .arg(id, 4, 16, QLatin1Char('0')));
        const char* field = reinterpret_cast<const char*>(data + pos);
        pos += length;

        if (id == kDirTerminator) break;
        switch (id) {
        case kProjectCodePage:
            if (length >= 2 && !inModules) info.codePage = data[pos - length] | (data[pos - length + 1] << 8);
            break;
        case kProjectName:
            if (!inModules) info.projectName = QByteArray(field, length);
            break;
        case kProjectModules:
            inModules = true;
            break;
        case kModuleName:
            inModules = true;
            info.modules.emplace_back();
            current = &info.modules.back();
            current->name = QByteArray(field, length);
            break;
        case kModuleNameUnicode:
            if (current) current->unicodeName = decodeUtf16Le(field, length);
            break;
        case kModuleStreamName:
            if (current) current->streamName = QByteArray(field, length);
            break;
        case kModuleStreamNameUnicode:
            if (current) current->unicodeStreamName = decodeUtf16Le(field, length);
            break;
        case kModuleOffset:
            if (current && length >= 4) {
                current->textOffset = le32(data + pos - length);
                current->hasTextOffset = true;
            }
            break;
        case kModuleTypeProcedural:
            if (current) current->procedural = true;
            break;
        case kModuleTypeOther:
            if (current) current->procedural = false;
            break;
        case kModuleTerminator:
            current = nullptr;
            break;
        default:
            break;  // references, doc strings, help contexts, cookies: not needed
        }
    }
    return info;
}

}  // namespace lumo
