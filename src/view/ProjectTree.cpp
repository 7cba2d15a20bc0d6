#include "view/ProjectTree.h"

#include <QHash>

#include "model/CodeDatabase.h"
#include "view/NodeTree.h"

namespace lumo {

namespace {
constexpr quint32 kWhite = 0xFFFFFF;
constexpr quint32 kBlack = 0x000000;
constexpr quint32 kYellow = 0xFFFF00;
}  // namespace

QString moduleKey(int moduleNumber) {
    return QStringLiteral("M") + QString::number(moduleNumber);
}

QString routineKey(int routineNumber) {
    return QStringLiteral("R") + QString::number(routineNumber);
}

int fillModuleTree(NodeTree& tree, WorkingStore& store) {
    const std::vector<ModuleRow> modules = modulesByTypeAndName(store);
    tree.setRedraw(false);
    tree.clear();
    for (const ModuleRow& m : modules) tree.addNode({}, moduleKey(m.number), m.name, moduleImageKey(m.type));
    tree.setRedraw(true);
    return int(modules.size());
}

void addRoutineNodes(NodeTree& tree, WorkingStore& store) {
    const std::vector<RoutineRow> routines = routinesByModuleAndName(store);
    tree.setRedraw(false);
    // The rows come by module, and a project has a handful of routine kinds:
    // parent keys and image keys are made once each, not once per routine.
    int module = 0;
    QString parent;
    QHash<quint64, QString> imageKeys;
    for (const RoutineRow& r : routines) {
        if (r.module != module || parent.isEmpty()) {
            module = r.module;
            parent = moduleKey(module);
        }
        const quint64 kind = (quint64(quint32(r.type)) << 32) | quint32(r.visibility);
        auto image = imageKeys.find(kind);
        if (image == imageKeys.end()) image = imageKeys.insert(kind, routineImageKey(r.type, r.visibility));
        tree.addNode(parent, routineKey(r.number), r.name, image.value());
    }
    tree.setRedraw(true);
}

void moduleSearchNode(NodeTree& tree, WorkingStore& store, int moduleNumber) {
    if (const auto m = moduleByNumber(store, moduleNumber))
        tree.addNode({}, moduleKey(m->number), m->name, moduleImageKey(m->type));
}

void expandAllNodes(NodeTree& tree) {
    tree.setRedraw(false);
    tree.expandAll();
    tree.setRedraw(true);
}

void highlightModuleNode(NodeTree& tree, ModuleTreeState& state, int currentModule) {
    if (!state.highlightedModuleKey.isEmpty()) tree.setNodeColors(state.highlightedModuleKey, kWhite, kBlack);
    const QString key = moduleKey(currentModule + 1);
    tree.setNodeColors(key, kBlack, kYellow);
    state.highlightedModuleKey = key;
}

}  // namespace lumo
