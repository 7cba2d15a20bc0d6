#include "base/HostTable.h"

namespace lumo {

HostRow hostRow(int kind) {
    for (const HostRow& row : kHostTable)
        if (row.kind == kind) return row;
    return {kind, "", ""};
}

}  // namespace lumo
