#pragma once
// A module's lines as the VBA editor shows them, taken apart into what a
// reviewer compares: the declarations part and each routine with the
// comments and blank lines above it (as the editor counts them to the
// routine that follows), the lines after the last End to the last routine.
#include <vector>

#include <QString>
#include <QStringList>

namespace lumo {

struct ModulePart {
    QString kind;   // "Sub", "Function", "Property Get", ...; empty for the declarations part
    QString name;   // as written in the head; empty for the declarations part
    int first = 0;  // 0-based index of its first line in the module
    int count = 0;
    // "Sub Name", or "(Deklarationen)".
    QString label() const;
    // What a part is matched by in the other version: kind and name without regard to case.
    QString key() const;
};

// The declarations part first (also when empty), then the routines in the
// order of their lines.
std::vector<ModulePart> moduleParts(const QStringList& lines);

}  // namespace lumo
