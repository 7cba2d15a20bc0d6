#include "navigate/ProjectScope.h"

#include <algorithm>

#include "model/Codes.h"
#include "model/WorkingStore.h"

namespace lumo {

QString foldedName(QStringView name) {
    return name.toString().toCaseFolded();
}

namespace {

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The column of the first whole-word `name` on lines from..to, from `fromColumn` on
// the first of them; the line is returned through `line`. 0 when there is none.
int columnOfName(const CodeLines& code, int from, int to, QStringView name, int& line, int fromColumn = 1) {
    for (int l = from; l <= to && l <= code.count(); ++l) {
        const QStringView s = code.line(l);
        qsizetype at = l == from ? fromColumn - 1 : 0;
        while ((at = s.indexOf(name, at, Qt::CaseInsensitive)) >= 0) {
            const qsizetype after = at + name.size();
            if ((at == 0 || !isNameChar(s[at - 1])) && (after >= s.size() || !isNameChar(s[after]))) {
                line = l;
                return int(at) + 1;
            }
            at = after;
        }
    }
    return 0;
}

// The byte offset of the start of line `line` (1-based), or the size.
qsizetype lineOffset(const QByteArray& text, int line) {
    qsizetype at = 0;
    for (int l = 1; l < line; ++l) {
        at = text.indexOf('\n', at);
        if (at < 0) return text.size();
        ++at;
    }
    return at;
}

}  // namespace

ProjectScope& projectScopeOf(WorkingStore& store) {
    static std::unique_ptr<ProjectScope> kept;
    static quint64 keptFor = 0;
    static QString keptPath;
    // A build in progress adds modules to the open store: its counters tell.
    static std::pair<int, qint32> keptCounters;
    const std::pair<int, qint32> counters{store.moduleCounter, store.routineCounter};
    if (!kept || keptFor != store.openings() || keptPath != store.databasePath() || keptCounters != counters) {
        kept.reset();
        kept = ProjectScope::read(store);
        keptFor = store.openings();
        keptPath = store.databasePath();
        keptCounters = counters;
    }
    return *kept;
}

std::unique_ptr<ProjectScope> ProjectScope::read(WorkingStore& store) {
    std::vector<ModuleRow> modules = modulesByNumber(store);
    std::vector<RoutineRow> routines;
    if (!modules.empty()) routines = routinesOfModulesByStart(store, modules.front().number, modules.back().number);
    std::vector<QByteArray> texts;
    QStringList unreadable;
    for (const ModuleRow& m : modules) {
        try {
            texts.push_back(store.readModuleBytes(m.number));
        } catch (const StoreError& e) {
            texts.emplace_back();
            unreadable << QString::fromUtf8(e.what());
        }
    }
    auto scope = of(std::move(modules), std::move(routines), std::move(texts));
    scope->unreadable_ = unreadable;
    return scope;
}

std::unique_ptr<ProjectScope> ProjectScope::of(std::vector<ModuleRow> modules, std::vector<RoutineRow> routines,
                                               std::vector<QByteArray> texts) {
    std::unique_ptr<ProjectScope> s(new ProjectScope);
    int last = 0;
    for (const ModuleRow& m : modules) last = std::max(last, m.number);
    s->modules_.assign(size_t(last), ModuleRow{});
    s->texts_.assign(size_t(last), QByteArray());
    for (size_t i = 0; i < modules.size(); ++i) {
        const int n = modules[i].number;
        if (n < 1) continue;
        s->modules_[size_t(n) - 1] = modules[i];
        if (i < texts.size()) s->texts_[size_t(n) - 1] = std::move(texts[i]);
    }
    s->routines_.assign(size_t(last), {});
    for (RoutineRow& r : routines)
        if (r.module >= 1 && r.module <= last) s->routines_[size_t(r.module) - 1].push_back(std::move(r));
    for (auto& list : s->routines_)
        std::stable_sort(list.begin(), list.end(), [](const RoutineRow& a, const RoutineRow& b) { return a.start < b.start; });
    s->code_.resize(size_t(last));
    s->index();
    return s;
}

void ProjectScope::index() {
    declared_.assign(modules_.size(), {});
    for (size_t mi = 0; mi < modules_.size(); ++mi) {
        const ModuleRow& m = modules_[mi];
        if (m.number == 0) continue;
        moduleByName_.insert(foldedName(m.name), m.number);
        const std::vector<RoutineRow>& routines = routines_[mi];
        for (size_t ri = 0; ri < routines.size(); ++ri) routineIndex_.insert(routines[ri].number, {m.number, ri});
        std::vector<PlacedDeclaration>& out = declared_[mi];
        // The declarations part lies above the first Sub, Function or Property.
        int firstProcedure = 0;
        for (const RoutineRow& r : routines)
            if (!isDeclaration(r.type) && r.start > 0) {
                firstProcedure = r.start;
                break;
            }
        const QByteArray& bytes = texts_[mi];
        if (!bytes.isEmpty()) {
            const qsizetype end = firstProcedure > 0 ? lineOffset(bytes, firstProcedure) : bytes.size();
            const QString part = QString::fromUtf8(bytes.constData(), end);
            const CodeLines partCode = codeLinesOf(part);
            for (Declaration& d : scanDeclarations(part, m.number, 0)) {
                int line = d.line;
                const int column = columnOfName(partCode, d.line, partCode.count(), d.name, line);
                // The name stands on the line where it is (a statement may go on).
                d.line = line;
                out.push_back({std::move(d), column});
            }
        }
        for (const RoutineRow& r : routines) {
            Declaration d{r.name, DeclarationKind::Routine, m.number, r.start, r.visibility != OpenPrivate};
            d.routine = r.number;
            out.push_back({std::move(d), 0});  // the column when the code is read
        }
        std::stable_sort(out.begin(), out.end(), [](const PlacedDeclaration& a, const PlacedDeclaration& b) {
            return a.declaration.line < b.declaration.line;
        });
        for (size_t i = 0; i < out.size(); ++i) byName_.insert(foldedName(out[i].declaration.name), {m.number, i});
    }
}

const ModuleRow* ProjectScope::module(int number) const {
    if (number < 1 || number > int(modules_.size()) || modules_[size_t(number) - 1].number == 0) return nullptr;
    return &modules_[size_t(number) - 1];
}

bool ProjectScope::isClassLike(int number) const {
    const ModuleRow* m = module(number);
    return m && m->type != ModStandard;
}

int ProjectScope::moduleNamed(QStringView name) const {
    return moduleByName_.value(foldedName(name), 0);
}

const std::vector<RoutineRow>& ProjectScope::routinesOf(int module) const {
    static const std::vector<RoutineRow> none;
    if (module < 1 || module > int(routines_.size())) return none;
    return routines_[size_t(module) - 1];
}

const RoutineRow* ProjectScope::routineAt(int module, int line) const {
    // As the covering-line lookup: the first routine by start whose lines hold it.
    for (const RoutineRow& r : routinesOf(module)) {
        if (r.start > line) break;
        if (r.start <= line && line <= std::max(r.start, r.end)) return &r;
    }
    return nullptr;
}

const RoutineRow* ProjectScope::routineNumbered(int number) const {
    const auto it = routineIndex_.constFind(number);
    if (it == routineIndex_.cend()) return nullptr;
    return &routines_[size_t(it->first) - 1][it->second];
}

int ProjectScope::headLastLine(const RoutineRow& r) {
    const CodeLines& c = code(r.module);
    int last = r.start;
    while (last < c.count() && continuesOnNextLine(c.line(last))) ++last;
    return last;
}

const QByteArray& ProjectScope::text(int module) const {
    static const QByteArray none;
    if (module < 1 || module > int(texts_.size())) return none;
    return texts_[size_t(module) - 1];
}

const CodeLines& ProjectScope::code(int module) {
    static const CodeLines none;
    if (module < 1 || module > int(code_.size())) return none;
    std::unique_ptr<CodeLines>& slot = code_[size_t(module) - 1];
    if (!slot) {
        slot = std::make_unique<CodeLines>(codeLinesOf(QString::fromUtf8(texts_[size_t(module) - 1])));
        // The routines' names get their columns now that the lines are known.
        for (PlacedDeclaration& p : declared_[size_t(module) - 1]) {
            if (p.declaration.kind != DeclarationKind::Routine || p.column > 0) continue;
            int line = p.declaration.line;
            const int head = [&] {
                int last = line;
                while (last < slot->count() && continuesOnNextLine(slot->line(last))) ++last;
                return last;
            }();
            // Past the words of the head's kind: "Property Get Get" is not met, "Sub Subtotal" is.
            p.column = columnOfName(*slot, line, head, p.declaration.name, line);
        }
    }
    return *slot;
}

void ProjectScope::forget(int module) {
    if (module < 1 || module > int(code_.size())) return;
    for (const RoutineRow& r : routinesOf(module)) locals_.erase(r.number);
    code_[size_t(module) - 1].reset();
}

std::vector<const PlacedDeclaration*> ProjectScope::moduleLevel(int module, QStringView name) const {
    std::vector<const PlacedDeclaration*> out;
    if (module < 1 || module > int(declared_.size())) return out;
    for (const PlacedDeclaration& p : declared_[size_t(module) - 1])
        if (sameName(p.declaration.name, name)) out.push_back(&p);
    return out;
}

std::vector<const PlacedDeclaration*> ProjectScope::everywhere(QStringView name) const {
    const QList<std::pair<int, size_t>> found = byName_.values(foldedName(name));
    std::vector<std::pair<int, size_t>> at(found.begin(), found.end());
    std::sort(at.begin(), at.end());
    std::vector<const PlacedDeclaration*> out;
    for (const auto& [m, i] : at) out.push_back(&declared_[size_t(m) - 1][i]);
    return out;
}

const std::vector<PlacedDeclaration>& ProjectScope::declarationsOf(int module) const {
    static const std::vector<PlacedDeclaration> none;
    if (module < 1 || module > int(declared_.size())) return none;
    return declared_[size_t(module) - 1];
}

const std::vector<LocalName>& ProjectScope::locals(const RoutineRow& r) {
    auto it = locals_.find(r.number);
    if (it == locals_.end()) it = locals_.emplace(r.number, routineLocals(code(r.module), r)).first;
    return it->second;
}

const LocalName* ProjectScope::localNamed(const RoutineRow& r, QStringView name) {
    const LocalName* reDimmed = nullptr;
    for (const LocalName& l : locals(r)) {
        if (!sameName(l.declaration.name, name)) continue;
        if (!l.byReDim) return &l;
        if (!reDimmed) reDimmed = &l;
    }
    // ReDim declares an array only where no other declaration of it is seen.
    if (reDimmed && !moduleLevel(r.module, name).empty()) return nullptr;
    return reDimmed;
}

}  // namespace lumo
