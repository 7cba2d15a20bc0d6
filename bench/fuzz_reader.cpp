// libFuzzer target over the Office reader: whole containers through libgsf
// and our VBA storage reading, and the same bytes taken as a compressed
// container, a dir stream, a PROJECT stream and an exported module.
// Built only with -DLUMO_FUZZ=ON and clang (see bench/CMakeLists.txt).
#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QString>

#include "acquire/ModuleText.h"
#include "acquire/OfficeReader.h"
#include "acquire/VbaDecompress.h"
#include "acquire/VbaDirStream.h"
#include "acquire/VbaProjectStream.h"
#include "render/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        lumo::readOfficeBytes(QByteArray(bytes));
    } catch (const lumo::ReadError&) {
    }

    QByteArray out;
    QString why;
    lumo::decompressVba(data, size, out, &why, 1 << 20);
    try {
        lumo::parseVbaDir(out);
    } catch (const lumo::ReadError&) {
    }
    try {
        lumo::parseVbaDir(bytes);
    } catch (const lumo::ReadError&) {
    }
    static const lumo::CodePageDecoder decoder(1252);
    lumo::parseVbaProjectStream(bytes, decoder);
    const QString text = decoder.decode(bytes);
    lumo::parseExportedSource(text);
    lumo::editorLines(text);
    lumo::findSourceContainer(data, size);
    return 0;
}
