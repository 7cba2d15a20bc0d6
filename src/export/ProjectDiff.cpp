#include "export/ProjectDiff.h"

#include <unordered_map>

#include <dtl/dtl.hpp>

#include "acquire/OfficeListing.h"
#include "base/CaseFold.h"
#include "export/ModuleParts.h"

namespace lumo {

namespace {

// A line as compared: with ignoreCase, the code outside strings and
// comments folded, so that the editor's re-casing of a name is no change.
QString comparedLine(const QString& line, bool ignoreCase) {
    if (!ignoreCase) return line;
    QString out = line;
    bool inString = false;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c == u'"') inString = !inString;
        else if (!inString && c == u'\'') break;
        else if (!inString) out[i] = c.toCaseFolded();
    }
    return out;
}

// Lines as numbers, equal lines the same number: dtl then compares integers.
class LineIds {
public:
    explicit LineIds(bool ignoreCase) : ignoreCase_(ignoreCase) {}
    std::vector<int> of(const QStringList& lines, int first, int count) {
        std::vector<int> ids;
        ids.reserve(std::size_t(count));
        for (int i = first; i < first + count; ++i) {
            const auto [it, fresh] = ids_.try_emplace(comparedLine(lines[i], ignoreCase_), int(ids_.size()));
            ids.push_back(it->second);
        }
        return ids;
    }

private:
    bool ignoreCase_;
    std::unordered_map<QString, int> ids_;
};

constexpr int kContext = 3;

struct Side {
    const QStringList* lines = nullptr;
    int first = 0;
    int count = 0;
};

// The hunks of old against new, three lines of context as diff -u has them.
std::vector<DiffHunk> hunksOf(const Side& a, const Side& b, bool ignoreCase, int& added, int& removed) {
    LineIds ids(ignoreCase);
    const std::vector<int> x = ids.of(*a.lines, a.first, a.count);
    const std::vector<int> y = ids.of(*b.lines, b.first, b.count);
    dtl::Diff<int> diff(x, y);
    diff.onHuge();
    diff.compose();
    // The edit script: each element with its 1-based index on either side (0: not there).
    struct Step {
        char mark;
        long long oldIdx, newIdx;
    };
    std::vector<Step> steps;
    for (const auto& [elem, info] : diff.getSes().getSequence()) {
        const char mark = info.type == dtl::SES_ADD ? '+' : info.type == dtl::SES_DELETE ? '-' : ' ';
        steps.push_back({mark, info.beforeIdx, info.afterIdx});
    }
    std::vector<DiffHunk> hunks;
    const std::size_t n = steps.size();
    std::size_t i = 0;
    while (i < n) {
        while (i < n && steps[i].mark == ' ') ++i;
        if (i == n) break;
        // From kContext lines before the change to kContext after the last
        // change that lies within 2 * kContext of the one before.
        std::size_t from = i >= std::size_t(kContext) ? i - kContext : 0;
        for (std::size_t k = from; k < i; ++k)
            if (steps[k].mark != ' ') from = k + 1;
        std::size_t last = i;
        for (std::size_t k = i; k < n && k <= last + 2 * kContext; ++k)
            if (steps[k].mark != ' ') last = k;
        const std::size_t to = std::min(n, last + 1 + kContext);
        DiffHunk h;
        long long oldFirst = 0, newFirst = 0;
        for (std::size_t k = from; k < to; ++k) {
            const Step& s = steps[k];
            DiffLine line{s.mark, {}};
            if (s.mark != '+') {
                line.text = a.lines->at(a.first + int(s.oldIdx) - 1);
                if (oldFirst == 0) oldFirst = s.oldIdx;
                ++h.oldCount;
            }
            if (s.mark != '-') {
                line.text = b.lines->at(b.first + int(s.newIdx) - 1);  // the new spelling of a common line
                if (newFirst == 0) newFirst = s.newIdx;
                ++h.newCount;
            }
            if (s.mark == '+') ++added;
            if (s.mark == '-') ++removed;
            h.lines.push_back(std::move(line));
        }
        // A side without lines in the hunk is numbered by the line before it, as diff -u does.
        auto startOf = [](long long firstIdx, int count, int base, const std::vector<Step>& all, std::size_t at,
                          bool oldSide) {
            if (count > 0) return base + int(firstIdx);
            long long before = 0;
            for (std::size_t k = 0; k < at; ++k) before = std::max(before, oldSide ? all[k].oldIdx : all[k].newIdx);
            return before > 0 || base > 0 ? base + int(before) : 0;
        };
        h.oldStart = startOf(oldFirst, h.oldCount, a.first, steps, from, true);
        h.newStart = startOf(newFirst, h.newCount, b.first, steps, from, false);
        hunks.push_back(std::move(h));
        i = to;
    }
    return hunks;
}

bool sameLines(const QStringList& a, int aFirst, const QStringList& b, int bFirst, int count, bool ignoreCase) {
    for (int i = 0; i < count; ++i) {
        const QString& x = a[aFirst + i];
        const QString& y = b[bFirst + i];
        if (x == y) continue;
        if (!ignoreCase || comparedLine(x, true) != comparedLine(y, true)) return false;
    }
    return true;
}

void addPart(ModuleDiff& module, Change change, const ModulePart& what, const Side& a, const Side& b, bool ignoreCase) {
    PartDiff part{change, what.label(), what.kind.isEmpty(), hunksOf(a, b, ignoreCase, module.linesAdded, module.linesRemoved)};
    if (!part.hunks.empty()) module.parts.push_back(std::move(part));
}

// Every part of one side, whole: a module added or removed.
ModuleDiff wholeModule(const VbaModule& m, Change change) {
    ModuleDiff d;
    d.change = change;
    (change == Change::Added ? d.newName : d.oldName) = m.name;
    (change == Change::Added ? d.newType : d.oldType) = m.type;
    const QStringList lines = m.lines();
    const QStringList none;
    for (const ModulePart& p : moduleParts(lines)) {
        const Side whole{&lines, p.first, p.count};
        const Side empty{&none, 0, 0};
        if (p.count > 0)
            addPart(d, change, p, change == Change::Added ? empty : whole, change == Change::Added ? whole : empty,
                    false);
    }
    return d;
}

ModuleDiff changedModule(const VbaModule& before, const VbaModule& after, bool ignoreCase) {
    ModuleDiff d;
    d.oldName = before.name;
    d.newName = after.name;
    d.oldType = before.type;
    d.newType = after.type;
    const QStringList a = before.lines(), b = after.lines();
    const std::vector<ModulePart> pa = moduleParts(a), pb = moduleParts(b);
    std::unordered_map<QString, std::size_t> oldByKey;
    for (std::size_t i = 0; i < pa.size(); ++i) oldByKey.try_emplace(pa[i].key(), i);
    std::vector<bool> matched(pa.size(), false);
    for (const ModulePart& p : pb) {
        const Side newSide{&b, p.first, p.count};
        const auto it = oldByKey.find(p.key());
        if (it == oldByKey.end() || matched[it->second]) {
            addPart(d, Change::Added, p, Side{&a, 0, 0}, newSide, false);
            continue;
        }
        const ModulePart& o = pa[it->second];
        matched[it->second] = true;
        if (o.count == p.count && sameLines(a, o.first, b, p.first, p.count, ignoreCase)) continue;
        // The part's hunks are numbered in the old module where the old part lies.
        addPart(d, Change::Changed, p, Side{&a, o.first, o.count}, newSide, ignoreCase);
    }
    for (std::size_t i = 0; i < pa.size(); ++i)
        if (!matched[i] && pa[i].count > 0) addPart(d, Change::Removed, pa[i], Side{&a, pa[i].first, pa[i].count},
                                                    Side{&b, 0, 0}, false);
    return d;
}

bool sameModule(const VbaModule& a, const VbaModule& b, bool ignoreCase) {
    if (a.type != b.type) return false;
    if (a.name != b.name && !ignoreCase) return false;
    if (a.code.text() == b.code.text()) return true;
    return ignoreCase && a.code.lineCount() == b.code.lineCount() &&
           sameLines(a.lines(), 0, b.lines(), 0, a.code.lineCount(), true);
}

}  // namespace

QString componentTypeName(int type) {
    switch (type) {
    case VbaStandardModule: return QStringLiteral("Standardmodul");
    case VbaClassModule: return QStringLiteral("Klassenmodul");
    case VbaUserForm: return QStringLiteral("Formular");
    case VbaDocumentModule: return QStringLiteral("Dokumentmodul");
    default: return QStringLiteral("Komponente vom Typ %1").arg(type);
    }
}

ProjectDiff compareProjects(const VbaProjectData& before, const VbaProjectData& after, const DiffOptions& options) {
    ProjectDiff result;
    std::unordered_map<QString, std::size_t> oldByName;
    for (std::size_t i = 0; i < before.modules.size(); ++i) oldByName.try_emplace(caseFolded(before.modules[i].name), i);
    std::vector<bool> matched(before.modules.size(), false);
    for (const VbaModule& m : after.modules) {
        const auto it = oldByName.find(caseFolded(m.name));
        if (it == oldByName.end() || matched[it->second]) {
            if (holdsCode(m.code.text())) result.modules.push_back(wholeModule(m, Change::Added));
            continue;
        }
        matched[it->second] = true;
        const VbaModule& old = before.modules[it->second];
        if (sameModule(old, m, options.ignoreCase)) continue;
        ModuleDiff d = changedModule(old, m, options.ignoreCase);
        // Lines that only moved with their routine leave nothing to show.
        const bool renamed = old.name != m.name && !options.ignoreCase;
        if (!d.parts.empty() || d.oldType != d.newType || renamed) result.modules.push_back(std::move(d));
    }
    for (std::size_t i = 0; i < before.modules.size(); ++i)
        if (!matched[i] && holdsCode(before.modules[i].code.text())) result.modules.push_back(wholeModule(before.modules[i], Change::Removed));
    return result;
}

}  // namespace lumo
