#pragma once
// The run-length compression of VBA module and dir streams: a signature byte
// followed by chunks of at most 4096 decompressed bytes each.
#include <cstddef>

#include <QByteArray>
#include <QString>

#include "base/Limits.h"

namespace lumo {

// Decompresses the container in data[0, size). Never reads outside that
// range. Returns false with a German reason in *error when the container is
// malformed; out then holds what was decoded before the fault. A last chunk
// cut short by the end of the stream is decoded as far as it goes; bytes
// after the last chunk (one that decompressed to less than 4096 bytes) are
// ignored.
bool decompressVba(const unsigned char* data, std::size_t size, QByteArray& out, QString* error,
                   std::size_t limit = kMaxDecompressedSize);

// Where module source starts in a module stream whose recorded text offset
// is wrong: the first compressed container there that begins with the
// literal "Attribut" (every module's source starts with its Attribute lines).
// Returns -1 when there is none.
qsizetype findSourceContainer(const unsigned char* data, std::size_t size);

// True when data[0, size) starts like a compressed container: the signature
// byte and a valid first chunk header.
bool looksLikeContainer(const unsigned char* data, std::size_t size);

}  // namespace lumo
