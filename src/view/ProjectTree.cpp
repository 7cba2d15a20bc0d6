#include "view/ProjectTree.h"

#include <algorithm>
#include <climits>
#include <utility>

#include <QHash>

#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
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

// A project's routines as nodes, each made from its row only when the tree
// needs it: most modules of a large project are never opened. Rows come by
// module; a module's rows are put in name order when first needed, unless
// they come so.
class RoutineNodes : public NodeSource {
public:
    RoutineNodes(std::vector<RoutineRow> rows, bool namesSorted) : rows_(std::move(rows)) {
        for (size_t i = 0; i < rows_.size(); ++i)
            if (i == 0 || rows_[i].module != rows_[i - 1].module) starts_.push_back(i);
        sorted_.assign(starts_.size(), namesSorted);
    }
    const std::vector<RoutineRow>& rows() const { return rows_; }

    QString key(int at) const override { return routineKey(row(at).number); }
    QString text(int at) const override { return row(at).name; }
    QString imageKey(int at) const override {
        // A project has a handful of routine kinds: each picture key is made once.
        const RoutineRow& r = row(at);
        const quint64 kind = (quint64(quint32(r.type)) << 32) | quint32(r.visibility);
        auto image = images_.constFind(kind);
        if (image == images_.cend()) image = images_.insert(kind, routineImageKey(r.type, r.visibility));
        return image.value();
    }
    int find(const QString& key) const override {
        if (key.size() < 2 || key.front() != u'R') return -1;
        bool ok = false;
        const int number = QStringView(key).mid(1).toInt(&ok);
        if (!ok || routineKey(number) != key) return -1;
        // Which module holds which number is worked out when first asked, not when the project opens.
        if (byNumber_.size() != rows_.size()) {
            byNumber_.clear();
            byNumber_.reserve(rows_.size());
            for (size_t run = 0; run < starts_.size(); ++run)
                for (size_t i = starts_[run]; i < end(run); ++i) byNumber_.emplace_back(rows_[i].number, int(run));
            std::sort(byNumber_.begin(), byNumber_.end());
        }
        const auto found = std::lower_bound(byNumber_.begin(), byNumber_.end(), std::pair{number, INT_MIN});
        if (found == byNumber_.end() || found->first != number) return -1;
        const size_t run = size_t(found->second);
        sortRun(run);
        for (size_t i = starts_[run]; i < end(run); ++i)
            if (rows_[i].number == number) return int(i);
        return -1;
    }

private:
    size_t end(size_t run) const { return run + 1 < starts_.size() ? starts_[run + 1] : rows_.size(); }
    void sortRun(size_t run) const {
        if (sorted_[run]) return;
        sortModuleRoutines(rows_, starts_[run], end(run));
        sorted_[run] = true;
    }
    const RoutineRow& row(int at) const {
        const auto next = std::upper_bound(starts_.begin(), starts_.end(), size_t(at));
        sortRun(size_t(next - starts_.begin()) - 1);
        return rows_[size_t(at)];
    }

    mutable std::vector<RoutineRow> rows_;  // put in name order module by module
    std::vector<size_t> starts_;            // where each module's rows begin
    mutable std::vector<bool> sorted_;      // of each module: its rows in name order
    mutable QHash<quint64, QString> images_;
    mutable std::vector<std::pair<int, int>> byNumber_;  // routine number, its module's place in starts_
};

void addRoutines(NodeTree& tree, std::vector<RoutineRow> routines, bool namesSorted, Progress& progress) {
    const auto source = std::make_shared<RoutineNodes>(std::move(routines), namesSorted);
    const std::vector<RoutineRow>& rows = source->rows();
    const int lastModule = rows.empty() ? 0 : rows.back().module;
    // The rows come by module: each module's run goes under its node at once.
    for (size_t first = 0; first < rows.size();) {
        const int module = rows[first].module;
        size_t last = first + 1;
        while (last < rows.size() && rows[last].module == module) ++last;
        if (!progress.step(module, lastModule, {})) break;
        tree.addNodesLater(moduleKey(module), source, int(first), int(last));
        first = last;
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
    std::vector<RoutineRow> routines = routinesByModuleAndName(store);
    tree.setRedraw(false);
    addRoutines(tree, std::move(routines), true, progress);
    tree.setRedraw(true);
}

int fillProjectTree(NodeTree& tree, const ProjectRows& rows, Progress& progress) {
    // The modules join the tree in one step, their routines when needed.
    tree.setRedraw(false);
    tree.clear();
    addModules(tree, rows.modules);
    addRoutines(tree, rows.routines, rows.namesSorted, progress);
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
