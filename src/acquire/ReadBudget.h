#pragma once
// What a read may still cost. Every source the user chose at once (the
// documents and module folders of one connection of the document host, the
// files of one build) draws its text from one budget, so that no choice of
// many sources within their own limits adds up to more than one project
// may hold; package parts, only held while one document is read, have a
// budget per document.

#include <QString>

#include "base/Limits.h"
#include "base/ReadError.h"

namespace lumo {

struct ReadBudget {
    qint64 textLeft = kMaxDocumentText;
    qint64 partsLeft = kMaxPackageParts;
    // textLeft when the document being read began: what the sources before
    // it took, so that a refusal can say whose text was too much.
    qint64 textAtStart = kMaxDocumentText;
    // Module files draw from a budget of their own: exported text is not
    // packed, so a project of them may be larger than a document's.
    qint64 moduleTextLeft = kMaxSourceText;
    qint64 moduleTextLimit = kMaxSourceText;


    [[noreturn]] static void exceeded(const QString& what, qint64 limit) {
        throw ReadError(QStringLiteral("Die Datei wird nicht gelesen: %1 wäre größer als %2 MB, mehr als ein "
                                       "Dokument haben darf (die Datei ist beschädigt oder manipuliert).")
                            .arg(what)
                            .arg(limit / (1024 * 1024)));
    }
    void takePart(qint64 size, const QString& name) {
        if (size > partsLeft) exceeded(QStringLiteral("der Teil %1 des Pakets").arg(name), kMaxPackageParts);
        partsLeft -= size;
    }
    // The refusal when the sources read before take what this one needs.
    [[noreturn]] void exceededTogether() const { exceededTogether(kMaxDocumentText); }
    [[noreturn]] static void exceededTogether(qint64 limit) {
        throw ReadError(QStringLiteral("Die Quelle wird nicht gelesen: zusammen mit den vorher gelesenen Quellen "
                                       "wäre der Quelltext größer als %1 MB, mehr als ein Projekt haben darf.")
                            .arg(limit / (1024 * 1024)));
    }
    // Module files of size bytes in all: refused when beyond what is left.
    void takeModuleFiles(qint64 size) {
        if (size <= moduleTextLeft) {
            moduleTextLeft -= size;
            return;
        }
        if (moduleTextLeft < moduleTextLimit && size <= moduleTextLimit) exceededTogether(moduleTextLimit);
        throw ReadError(QStringLiteral("Die Moduldateien werden nicht gelesen: zusammen sind es %1, mehr als die "
                                       "%2 Quelltext, die ein Projekt haben darf.")
                            .arg(megabytes(size), megabytes(moduleTextLimit)));
    }
    // Rounded up, so that a size just over a limit never reads as the limit.
    static QString megabytes(qint64 size) {
        return QStringLiteral("%1 MB").arg((size + 1024 * 1024 - 1) / (1024 * 1024));
    }
};

}  // namespace lumo
