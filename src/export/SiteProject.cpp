#include "export/SiteProject.h"

#include <algorithm>
#include <array>
#include <span>

#include <QRegularExpression>
#include <QSet>

#include "model/Codes.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "navigate/Definition.h"

namespace lumo {

namespace {

// The routine the caller tree lists for a line of a module: the first in
// order of first line whose lines hold it.
QString coveringRoutine(const std::vector<RoutineRow>& routines, int module, int line) {
    auto r = std::lower_bound(routines.begin(), routines.end(), module,
                              [](const RoutineRow& row, int m) { return row.module < m; });
    for (; r != routines.end() && r->module == module && r->start <= line; ++r)
        if (r->end >= line) return r->name;
    return {};
}

// isCallerIdentChar, asked for every character of the project: ASCII from a table.
const std::array<bool, 128> kAsciiCallerIdent = [] {
    std::array<bool, 128> t{};
    for (char16_t u = 0; u < 128; ++u) t[u] = isCallerIdentChar(QChar(u));
    return t;
}();

inline bool callerIdentChar(QChar c) {
    return c.unicode() < 128 ? kAsciiCallerIdent[c.unicode()] : isCallerIdentChar(c);
}

// The hash of a word folded to one case, as names compare.
size_t foldedHash(QStringView word) {
    constexpr qsizetype kShort = 64;
    if (word.size() > kShort) return qHash(word.toString().toCaseFolded());
    char16_t folded[kShort];
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        folded[i] = c < 0x80 ? ((c >= u'A' && c <= u'Z') ? c + 32 : c) : QChar::toCaseFolded(c);
    }
    return qHash(QStringView(folded, word.size()));
}

}  // namespace

bool SiteProject::mayBeDeclared(QStringView word) const { return declaredHashes_.contains(foldedHash(word)); }

SiteProject::SiteProject(WorkingStore& store) {
    modules_ = modulesByNumber(store);
    if (!modules_.empty()) routines_ = routinesOfModulesByStart(store, modules_.front().number, modules_.back().number);
    texts_.resize(modules_.size());
    for (const ModuleRow& m : modules_) pages_.push_back(modulePageName(m));
    for (size_t i = 0; i < modules_.size(); ++i) {
        try {
            texts_[i] = store.readModuleText(modules_[i].number);
        } catch (const StoreError& e) {
            unreadable_ << QStringLiteral("%1: %2").arg(modules_[i].name, QString::fromUtf8(e.what()));
        }
    }
    QHash<QString, int> taken;  // "module/folded name" -> routines of that name so far
    QSet<QString> declared;    // "module/type/folded name" of external declarations
    for (const RoutineRow& r : routines_) {
        const QString key = QString::number(r.module) + u'/' + r.name.toCaseFolded();
        if (isDeclaration(r.type)) {
            const QString d = QString::number(r.type) + u'/' + key;
            if (declared.contains(d)) repeated_.insert(r.number);
            else declared.insert(d);
        }
        const int n = ++taken[key];
        anchors_.insert(r.number, QStringLiteral("r-") + r.name + (n > 1 ? u'-' + QString::number(n) : QString()));
    }
    declarations_ = DeclarationIndex::ofProject(store, texts_);
    for (const Declaration& d : declarations_.all()) declaredHashes_.insert(foldedHash(d.name));
    indexCalls();
}

const QString& SiteProject::text(int module) const {
    static const QString none;
    return module >= 1 && size_t(module) <= texts_.size() ? texts_[size_t(module) - 1] : none;
}

// One pass over every text: each word outside comments, strings, keywords
// and routine lines that is a routine's name, compared as the caller search
// compares (case and all, whole words by its own letters).
void SiteProject::indexCalls() {
    QSet<QString> names;
    // Most words are no routine's name: their hash alone tells, without a copy of the word.
    QSet<size_t> hashes;
    for (const RoutineRow& r : routines_) {
        names.insert(r.name);
        hashes.insert(qHash(QStringView(r.name)));
    }
    for (size_t i = 0; i < texts_.size(); ++i) {
        const QString& text = texts_[i];
        const QChar* t = text.constData();
        const qsizetype n = text.size();
        const std::vector<TaggedSpan> spans = taggedSpans(text);
        size_t k = 0;
        int line = 1;
        for (qsizetype p = 0; p < n;) {
            while (k < spans.size() && spans[k].end <= p) ++k;
            if (k < spans.size() && spans[k].begin <= p) {
                for (qsizetype q = p; q < spans[k].end; ++q) line += t[q] == u'\r';
                p = spans[k].end;
                continue;
            }
            if (!callerIdentChar(t[p])) {
                line += t[p] == u'\r';
                ++p;
                continue;
            }
            qsizetype e = p;
            while (e < n && callerIdentChar(t[e])) ++e;
            const QStringView word(t + p, e - p);
            if (hashes.contains(qHash(word)) && names.contains(word.toString()))
                references_[word.toString()].push_back({modules_[i].number, line});
            p = e;
        }
    }
}

std::optional<std::pair<int, int>> SiteProject::definition(const QString& name, int module) const {
    // A name leads to the same place from every module that does not declare
    // it itself (most words of a project are declared nowhere at module
    // level): that answer is looked up once per name, the others per module.
    auto known = known_.find(name);
    if (known == known_.end()) {
        Known k;
        for (const Declaration& d : declarations_.named(name)) k.declaredIn.insert(d.module);
        if (!k.declaredIn.isEmpty()) k.elsewhere = firstCandidate(name, 0);
        known = known_.insert(name, k);
    }
    if (!known->declaredIn.contains(module)) return known->elsewhere;
    return firstCandidate(name, module);
}

std::optional<std::pair<int, int>> SiteProject::firstCandidate(const QString& name, int module) const {
    const std::vector<DefinitionTarget> all = definitionCandidates(declarations_, name, module);
    if (all.empty()) return std::nullopt;
    return std::pair{all.front().moduleNumber, all.front().line};
}

std::optional<std::vector<SiteCall>> SiteProject::callers(const RoutineRow& routine) const {
    // The caller search takes the first routine of the name in its module
    // (names compare without regard to case there) and searches a Private
    // one only in that module.
    const RoutineRow* asked = &routine;
    const auto [from, to] = std::equal_range(routines_.begin(), routines_.end(), routine,
                                             [](const RoutineRow& a, const RoutineRow& b) { return a.module < b.module; });
    for (const RoutineRow& r : std::span(from, to))
        if (r.number < asked->number &&
            r.name.compare(routine.name, Qt::CaseInsensitive) == 0)
            asked = &r;
    if (isProperty(asked->type)) return std::nullopt;
    const bool onlyOwn = asked->visibility == OpenPrivate;
    std::vector<SiteCall> calls;
    const auto refs = references_.constFind(routine.name);
    if (refs == references_.cend()) return calls;
    int lastModule = 0, lastLine = 0;
    for (const auto& [module, line] : refs.value()) {
        if (onlyOwn && module != routine.module) continue;
        if (module == lastModule && line == lastLine) continue;  // one entry per line
        lastModule = module;
        lastLine = line;
        calls.push_back({module, line, coveringRoutine(routines_, module, line)});
    }
    return calls;
}

QString modulePageName(const ModuleRow& module) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    const QString part = plain.match(module.name).hasMatch() ? module.name : QString::number(module.number);
    return QStringLiteral("modul-") + part + QStringLiteral(".html");
}

}  // namespace lumo
