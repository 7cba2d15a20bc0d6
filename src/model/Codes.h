#pragma once
// The codes stored in td_mod and td_rout, and the image keys the trees draw
// them with. Numbers as the stored projects hold them: never renumber.
#include <QString>

namespace lumo {

// mod_typ
enum ModuleType {
    ModUserForm = 1,
    ModStandard = 2,
    ModClass = 3,
    ModDocument = 5,
    ModOther = 32,
};

// rou_typ. An external declaration is the type of its kind plus the offset.
enum RoutineType {
    RouSub = 1,
    RouFunction = 2,
    RouPropertyLet = 3,
    RouPropertyGet = 4,
    RouPropertySet = 5,
    RouDeclareSub = 11,
    RouDeclareFunction = 12,
};
inline constexpr int kDeclarationOffset = 10;

inline constexpr int declarationOf(int routineType) { return routineType + kDeclarationOffset; }
inline constexpr bool isDeclaration(int routineType) { return routineType > kDeclarationOffset; }
inline constexpr bool isProperty(int routineType) {
    return routineType >= RouPropertyLet && routineType <= RouPropertySet;
}

// rou_open
enum Visibility { OpenPublic = 1, OpenPrivate = 2, OpenFriend = 3 };

// Image keys of the tree nodes: "M" + mod_typ, "R" + rou_typ + "O" + rou_open.
inline QString moduleImageKey(int moduleType) { return QStringLiteral("M") + QString::number(moduleType); }
inline QString routineImageKey(int routineType, int visibility) {
    return QStringLiteral("R") + QString::number(routineType) + QStringLiteral("O") + QString::number(visibility);
}

}  // namespace lumo
