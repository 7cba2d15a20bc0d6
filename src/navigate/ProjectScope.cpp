#include "navigate/ProjectScope.h"

#include <algorithm>

#include "base/CaseFold.h"
#include "model/Codes.h"
#include "model/WorkingStore.h"
#include "navigate/NameSearch.h"

namespace lumo {

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

namespace {

bool byPlace(const PlacedDeclaration* a, const PlacedDeclaration* b) {
    return std::pair(a->declaration.module, a->declaration.line) < std::pair(b->declaration.module, b->declaration.line);
}

}  // namespace

void ProjectScope::index() {
    declared_.assign(modules_.size(), {});
    partEnd_.assign(modules_.size(), 0);
    partRead_.assign(modules_.size(), true);
    for (size_t mi = 0; mi < modules_.size(); ++mi) {
        const ModuleRow& m = modules_[mi];
        if (m.number == 0) continue;
        moduleByName_.emplace(m.name, m.number);
        const std::vector<RoutineRow>& routines = routines_[mi];
        for (size_t ri = 0; ri < routines.size(); ++ri) routineIndex_.insert(routines[ri].number, {m.number, ri});
        for (const RoutineRow& r : routines) {
            Declaration d{r.name, DeclarationKind::Routine, m.number, r.start, r.visibility != OpenPrivate};
            d.routine = r.number;
            declared_[mi].push_back({std::move(d), 0});  // the column when the code is read
            byName_[r.name].push_back(&declared_[mi].back());
        }
        // The declarations part lies above the first Sub, Function or Property.
        int firstProcedure = 0;
        for (const RoutineRow& r : routines)
            if (!isDeclaration(r.type) && r.start > 0) {
                firstProcedure = r.start;
                break;
            }
        const QByteArray& bytes = texts_[mi];
        partEnd_[mi] = firstProcedure > 0 ? lineOffset(bytes, firstProcedure) : bytes.size();
        if (partEnd_[mi] > 0) {
            partRead_[mi] = false;
            ++partsUnread_;
        }
    }
    for (auto& [name, list] : byName_) std::sort(list.begin(), list.end(), byPlace);
}

void ProjectScope::readPart(int module) {
    const size_t mi = size_t(module) - 1;
    if (partRead_[mi]) return;
    partRead_[mi] = true;
    --partsUnread_;
    const QByteArray part = texts_[mi].left(partEnd_[mi]);
    const CodeLines partCode(part);
    for (Declaration& d : scanDeclarations(QString::fromUtf8(part), module, 0)) {
        int line = d.line;
        const int column = columnOfName(partCode, d.line, partCode.count(), d.name, line);
        // The name stands on the line where it is (a statement may go on).
        d.line = line;
        declared_[mi].push_back({std::move(d), column});
        std::vector<const PlacedDeclaration*>& list = byName_[declared_[mi].back().declaration.name];
        const PlacedDeclaration* p = &declared_[mi].back();
        list.insert(std::upper_bound(list.begin(), list.end(), p, byPlace), p);
    }
}

void ProjectScope::readPartsHolding(QStringView name) {
    if (partsUnread_ == 0) return;
    const auto known = namesRead_.find(name);
    if (known != namesRead_.end()) return;
    const QByteArray nameUtf8 = name.toUtf8();
    for (size_t mi = 0; mi < modules_.size(); ++mi) {
        if (partRead_[mi]) continue;
        bool holds = false;
        const QByteArray& text = texts_[mi];
        forEachNameInBytes(text, nameUtf8, 0, partEnd_[mi], [&](qsizetype at) {
            if (!holds && !inTaggedLiteral(text, at)) holds = true;
        });
        if (holds) readPart(int(mi) + 1);
    }
    namesRead_.emplace(name.toString(), true);
}

const ModuleRow* ProjectScope::module(int number) const {
    if (number < 1 || number > int(modules_.size()) || modules_[size_t(number) - 1].number == 0) return nullptr;
    return &modules_[size_t(number) - 1];
}

bool ProjectScope::isClassLike(int number) const {
    const ModuleRow* m = module(number);
    return m && m->type != ModStandard;
}

size_t ProjectScope::FoldedHash::operator()(QStringView s) const {
    size_t h = 14695981039346656037ull;
    for (const QChar c : s) {
        char16_t u = c.unicode();
        if (u >= u'A' && u <= u'Z') u = char16_t(u + 32);
        else if (u >= 0x80) u = c.toCaseFolded().unicode();
        h = (h ^ u) * 1099511628211ull;
    }
    return h;
}

int ProjectScope::moduleNamed(QStringView name) const {
    const auto it = moduleByName_.find(name);
    return it == moduleByName_.end() ? 0 : it->second;
}

const std::vector<RoutineRow>& ProjectScope::routinesOf(int module) const {
    static const std::vector<RoutineRow> none;
    if (module < 1 || module > int(routines_.size())) return none;
    return routines_[size_t(module) - 1];
}

const RoutineRow* ProjectScope::routineAt(int module, int line) const {
    // Routines do not overlap: the last to start at or before the line is
    // the one whose lines may hold it. Found by bisection, as a module of
    // many thousand routines is asked for every name in it.
    const std::vector<RoutineRow>& routines = routinesOf(module);
    auto it = std::upper_bound(routines.begin(), routines.end(), line,
                               [](int l, const RoutineRow& r) { return l < r.start; });
    if (it == routines.begin()) return nullptr;
    const RoutineRow& r = *std::prev(it);
    return r.start > 0 && line <= std::max(r.start, r.end) ? &r : nullptr;
}

const RoutineRow* ProjectScope::routineNumbered(int number) const {
    const auto it = routineIndex_.constFind(number);
    if (it == routineIndex_.cend()) return nullptr;
    return &routines_[size_t(it->first) - 1][it->second];
}

int ProjectScope::headLastLine(const RoutineRow& r) {
    return lumo::headLastLine(code(r.module), r);
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
        slot = std::make_unique<CodeLines>(texts_[size_t(module) - 1]);
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
    localsNamed_.removeIf([module](const auto& it) { return it.value()->empty() || it.value()->front().declaration.module == module; });
    code_[size_t(module) - 1].reset();
}

std::span<const PlacedDeclaration* const> ProjectScope::moduleLevel(int module, QStringView name) {
    const std::span<const PlacedDeclaration* const> all = everywhere(name);
    const auto from = std::lower_bound(all.begin(), all.end(), module, [](const PlacedDeclaration* p, int m) {
        return p->declaration.module < m;
    });
    auto to = from;
    while (to != all.end() && (*to)->declaration.module == module) ++to;
    return all.subspan(size_t(from - all.begin()), size_t(to - from));
}

std::span<const PlacedDeclaration* const> ProjectScope::everywhere(QStringView name) {
    readPartsHolding(name);
    const auto it = byName_.find(name);
    if (it == byName_.end()) return {};
    return it->second;
}

std::vector<const PlacedDeclaration*> ProjectScope::declarationsOf(int module) {
    std::vector<const PlacedDeclaration*> out;
    if (module < 1 || module > int(declared_.size())) return out;
    readPart(module);
    for (const PlacedDeclaration& p : declared_[size_t(module) - 1]) out.push_back(&p);
    std::stable_sort(out.begin(), out.end(), byPlace);
    return out;
}

const std::vector<LocalName>& ProjectScope::locals(const RoutineRow& r) {
    auto it = locals_.find(r.number);
    if (it == locals_.end()) it = locals_.emplace(r.number, routineLocals(code(r.module), r)).first;
    return it->second;
}

std::vector<const LocalName*> ProjectScope::localsNamed(const RoutineRow& r, QStringView name) {
    std::vector<const LocalName*> out;
    // A routine read whole (a walk over every name) answers from its locals;
    // otherwise only the statements holding the name are read.
    if (const auto whole = locals_.find(r.number); whole != locals_.end()) {
        for (const LocalName& l : whole->second)
            if (l.declaration.name.compare(name, Qt::CaseInsensitive) == 0) out.push_back(&l);
        return out;
    }
    const QPair<int, QString> key{r.number, caseFolded(name)};
    auto it = localsNamed_.find(key);
    if (it == localsNamed_.end())
        it = localsNamed_.insert(key, std::make_shared<std::vector<LocalName>>(routineLocalsNamed(code(r.module), r, name)));
    for (const LocalName& l : **it) out.push_back(&l);
    return out;
}

void ProjectScope::readAllParts() {
    for (size_t mi = 0; mi < modules_.size(); ++mi)
        if (!partRead_[mi]) readPart(int(mi) + 1);
}

const LocalName* ProjectScope::localNamed(const RoutineRow& r, QStringView name) {
    const LocalName* reDimmed = nullptr;
    for (const LocalName* l : localsNamed(r, name)) {
        if (!l->byReDim) return l;
        if (!reDimmed) reDimmed = l;
    }
    // ReDim declares an array only where no other declaration of it is seen.
    if (reDimmed && !moduleLevel(r.module, name).empty()) return nullptr;
    return reDimmed;
}

}  // namespace lumo
