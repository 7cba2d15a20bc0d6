#include "view/ProjectTree.h"

#include "model/WorkingStore.h"
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

int fillModuleTree(NodeTree& tree) {
    auto q = WorkingStore::instance().query(
        QStringLiteral("SELECT mod_typ, mod_name, mod_num FROM td_mod ORDER BY mod_typ, mod_name"));
    tree.setRedraw(false);
    tree.clear();
    int count = 0;
    while (q.next()) {
        tree.addNode({}, moduleKey(int(q.integer("mod_num"))), q.text("mod_name"),
                     QStringLiteral("M") + QString::number(q.integer("mod_typ")));
        ++count;
    }
    tree.setRedraw(true);
    return count;
}

void addRoutineNodes(NodeTree& tree) {
    auto q = WorkingStore::instance().query(QStringLiteral(
        "SELECT 'M' || mod_num AS mnum, 'R' || rou_num AS rnum, rou_name, "
        "'R' || rou_typ || 'O' || rou_open AS iflag FROM td_rout ORDER BY mod_num, rou_name"));
    tree.setRedraw(false);
    while (q.next()) tree.addNode(q.text("mnum"), q.text("rnum"), q.text("rou_name"), q.text("iflag"));
    tree.setRedraw(true);
}

void moduleSearchNode(NodeTree& tree, int moduleNumber) {
    auto q = WorkingStore::instance().query(
        QStringLiteral("SELECT mod_typ, mod_name, mod_num FROM td_mod WHERE mod_num = ?"), {qint64(moduleNumber)});
    if (q.next())
        tree.addNode({}, moduleKey(int(q.integer("mod_num"))), q.text("mod_name"),
                     QStringLiteral("M") + QString::number(q.integer("mod_typ")));
}

void expandAllNodes(NodeTree& tree) {
    tree.setRedraw(false);
    tree.expandAll();
    tree.setRedraw(true);
}

void highlightModuleNode(NodeTree& tree, ModuleTreeState& state) {
    if (!state.highlightedModuleKey.isEmpty()) tree.setNodeColors(state.highlightedModuleKey, kWhite, kBlack);
    const QString key = moduleKey(state.currentModule + 1);
    tree.setNodeColors(key, kBlack, kYellow);
    state.highlightedModuleKey = key;
}

}  // namespace lumo
