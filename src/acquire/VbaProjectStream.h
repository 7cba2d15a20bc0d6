#pragma once
// The text "PROJECT" stream beside the VBA storage: which modules are
// documents, classes or designers, and whether the project may be viewed.
#include <QByteArray>
#include <QHash>
#include <QString>

namespace lumo {

struct VbaProjectInfo {
    // Module name (folded to lower case) to editor component type (1, 2, 3, 100).
    QHash<QString, int> moduleTypes;
    bool lockedForViewing = false;
};

class CodePageDecoder;

// Never fails: a missing or damaged stream leaves the defaults (all modules
// known from the dir stream alone, project viewable).
VbaProjectInfo parseVbaProjectStream(const QByteArray& stream, const CodePageDecoder& decoder);

// Reverses the obfuscation of the CMG, DPB and GC values (hex text).
// Returns false when the text is no valid obfuscated block.
bool decryptVbaData(QByteArrayView hex, QByteArray& data);

}  // namespace lumo
