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

namespace {

// The letter and the number's digits, written straight into the key: a
// project's tree makes one for each of its many thousand nodes.
QString numberedKey(char16_t letter, int number) {
    if (number < 0) return QChar(letter) + QString::number(number);
    char16_t digits[10];
    int count = 0;
    for (unsigned rest = unsigned(number); count == 0 || rest > 0; rest /= 10) digits[count++] = char16_t(u'0' + rest % 10);
    QString key(count + 1, Qt::Uninitialized);
    QChar* out = key.data();
    out[0] = QChar(letter);
    for (int i = 0; i < count; ++i) out[i + 1] = QChar(digits[count - 1 - i]);
    return key;
}

}  // namespace

QString moduleKey(int moduleNumber) { return numberedKey(u'M', moduleNumber); }

QString routineKey(int routineNumber) { return numberedKey(u'R', routineNumber); }

namespace {

void addModules(NodeTree& tree, const std::vector<ModuleRow>& modules) {
    for (const ModuleRow& m : modules) tree.addNode({}, moduleKey(m.number), m.name, moduleImageKey(m.type));
}

void addRoutines(NodeTree& tree, const std::vector<RoutineRow>& routines, Progress& progress) {
    const int lastModule = routines.empty() ? 0 : routines.back().module;
    // The rows come by module, and a project has a handful of routine kinds:
    // parent keys and image keys are made once each, not once per routine.
    int module = 0;
    QString parent;
    QHash<quint64, QString> imageKeys;
    for (const RoutineRow& r : routines) {
        if (r.module != module || parent.isEmpty()) {
            module = r.module;
            parent = moduleKey(module);
            if (!progress.step(module, lastModule, {})) break;
        }
        const quint64 kind = (quint64(quint32(r.type)) << 32) | quint32(r.visibility);
        auto image = imageKeys.find(kind);
        if (image == imageKeys.end()) image = imageKeys.insert(kind, routineImageKey(r.type, r.visibility));
        tree.addNode(parent, routineKey(r.number), r.name, image.value());
    }
}

}  // namespace

int fillModuleTree(NodeTree& tree, WorkingStore& store) {
    const std::vector<ModuleRow> modules = modulesByTypeAndName(store);
    tree.setRedraw(false);
    tree.clear();
    addModules(tree, modules);
    tree.setRedraw(true);
    return int(modules.size());
}

void addRoutineNodes(NodeTree& tree, WorkingStore& store, Progress& progress) {
    const std::vector<RoutineRow> routines = routinesByModuleAndName(store);
    tree.setRedraw(false);
    addRoutines(tree, routines, progress);
    tree.setRedraw(true);
}

int fillProjectTree(NodeTree& tree, const ProjectRows& rows, Progress& progress) {
    // The modules wait outside the tree until their routines hang under
    // them, and all join it in one step.
    tree.setRedraw(false);
    tree.clear();
    addModules(tree, rows.modules);
    addRoutines(tree, rows.routines, progress);
    tree.setRedraw(true);
    return int(rows.modules.size());
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
