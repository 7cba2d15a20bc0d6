#include "export/SiteProject.h"

#include <algorithm>
#include <array>
#include <span>

#include <QRegularExpression>
#include <QSet>

#include "export/PageBytes.h"
#include "model/Codes.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"

namespace lumo {

namespace {

// The routine the caller tree lists for a line of a module: the first in
// order of first line whose lines hold it. Asked for lines in order, module
// by module: a routine that ends before one line ends before every later
// one, so the search goes on where it stopped.
class RoutineCover {
public:
    explicit RoutineCover(const std::vector<RoutineRow>& routines) : routines_(routines), at_(routines.begin()) {}

    QString at(int module, int line) {
        if (module != module_ || line < line_) {
            at_ = std::lower_bound(routines_.begin(), routines_.end(), module,
                                   [](const RoutineRow& row, int m) { return row.module < m; });
            module_ = module;
        }
        line_ = line;
        while (at_ != routines_.end() && at_->module == module && at_->start <= line && at_->end < line) ++at_;
        if (at_ != routines_.end() && at_->module == module && at_->start <= line) return at_->name;
        return {};
    }

private:
    const std::vector<RoutineRow>& routines_;
    std::vector<RoutineRow>::const_iterator at_;
    int module_ = 0;
    int line_ = 0;
};

// isCallerIdentChar, asked for every character of the project: ASCII from a table.
const std::array<bool, 128> kAsciiCallerIdent = [] {
    std::array<bool, 128> t{};
    for (char16_t u = 0; u < 128; ++u) t[u] = isCallerIdentChar(QChar(u));
    return t;
}();

inline bool callerIdentChar(QChar c) {
    return c.unicode() < 128 ? kAsciiCallerIdent[c.unicode()] : isCallerIdentChar(c);
}

// A name folded as the declarations compare names: ASCII here, the rest as QString folds it.
QString folded(QStringView word, char16_t (&buffer)[64]) {
    if (word.size() > qsizetype(std::size(buffer))) return word.toString().toCaseFolded();
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        if (c >= 0x80) return word.toString().toCaseFolded();
        buffer[i] = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    }
    return QString::fromRawData(reinterpret_cast<const QChar*>(buffer), word.size());
}

// The declaration a module offers for a name: a routine before anything
// else, otherwise the first by line.
template <class It>
It preferred(It from, It to) {
    const It routine = std::find_if(from, to, [](const Declaration* d) { return d->kind == DeclarationKind::Routine; });
    return routine != to ? routine : from;
}

}  // namespace

SiteProject::SiteProject(WorkingStore& store) {
    modules_ = modulesByNumber(store);
    if (!modules_.empty()) routines_ = routinesOfModulesByStart(store, modules_.front().number, modules_.back().number);
    texts_.resize(modules_.size());
    routineCounts_.resize(modules_.size());
    for (const ModuleRow& m : modules_) {
        pages_.push_back(modulePageName(m));
        pageBytes_.push_back(pages_.back().toUtf8());
        namesHtml_.push_back(escapedBytes(m.name));
    }
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
        if (!repeated_.contains(r.number)) ++routineCounts_[size_t(r.module) - 1];
        const int n = ++taken[key];
        const QString anchor = QStringLiteral("r-") + r.name + (n > 1 ? u'-' + QString::number(n) : QString());
        anchors_.push_back({anchor, escapedBytes(anchor)});
    }
    indexDefinitions(projectDeclarations(store, modules_, routines_, texts_));
    indexCalls();
}

// The answers of definitionCandidates, first of each: from a module that
// declares the name its own declaration, whatever its visibility; from any
// other the first module with a public routine of that name, else the
// first module of that name, else the first with another public
// declaration of it.
void SiteProject::indexDefinitions(const std::vector<Declaration>& declarations) {
    QHash<QString, std::vector<const Declaration*>> byName;  // by module, then line
    for (const Declaration& d : declarations) byName[d.name.toCaseFolded()].push_back(&d);
    targets_.reserve(byName.size());
    for (auto n = byName.cbegin(); n != byName.cend(); ++n) {
        const std::vector<const Declaration*>& all = n.value();
        Targets t;
        std::optional<std::pair<int, int>> routine, module, other;
        for (auto from = all.begin(); from != all.end();) {
            const int m = (*from)->module;
            const auto to = std::find_if(from, all.end(), [m](const Declaration* d) { return d->module != m; });
            const Declaration* own = *preferred(from, to);
            t.own.push_back({m, own->line});
            std::vector<const Declaration*> visible;
            std::copy_if(from, to, std::back_inserter(visible), [](const Declaration* d) { return d->isPublic; });
            if (!visible.empty()) {
                const Declaration* d = *preferred(visible.begin(), visible.end());
                auto& slot = d->kind == DeclarationKind::Routine  ? routine
                             : d->kind == DeclarationKind::Module ? module
                                                                  : other;
                if (!slot) slot = std::pair{m, d->line};
            }
            from = to;
        }
        t.elsewhere = routine ? routine : module ? module : other;
        targets_.insert(n.key(), std::move(t));
    }
}

size_t SiteProject::indexOf(const RoutineRow& routine) const {
    Q_ASSERT(&routine >= routines_.data() && &routine < routines_.data() + routines_.size());
    return size_t(&routine - routines_.data());
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
        size_t k = 0;  // the next span
        // Lines are counted only up to the words found, few of all.
        int line = 1;
        qsizetype counted = 0;
        for (qsizetype p = 0; p < n;) {
            if (k < spans.size() && spans[k].begin <= p) {
                p = std::max(p, spans[k++].end);
                continue;
            }
            const qsizetype stop = k < spans.size() ? spans[k].begin : n;
            while (p < stop && !callerIdentChar(t[p])) ++p;
            if (p == stop) continue;
            qsizetype e = p + 1;
            while (e < n && callerIdentChar(t[e])) ++e;
            const QStringView word(t + p, e - p);
            if (hashes.contains(qHash(word)) && names.contains(word.toString())) {
                line += int(std::count(t + counted, t + p, QChar(u'\r')));
                counted = p;
                references_[word.toString()].push_back({modules_[i].number, line});
            }
            p = e;
        }
    }
}

std::optional<std::pair<int, int>> SiteProject::definition(QStringView name, int module) const {
    char16_t buffer[64];
    const auto t = targets_.constFind(folded(name, buffer));
    if (t == targets_.cend()) return std::nullopt;
    const auto& own = t->own;
    const auto at = std::lower_bound(own.begin(), own.end(), module,
                                     [](const std::pair<int, int>& o, int m) { return o.first < m; });
    if (at != own.end() && at->first == module) return *at;
    return t->elsewhere;
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
    RoutineCover cover(routines_);
    for (const auto& [module, line] : refs.value()) {
        if (onlyOwn && module != routine.module) continue;
        if (module == lastModule && line == lastLine) continue;  // one entry per line
        lastModule = module;
        lastLine = line;
        calls.push_back({module, line, cover.at(module, line)});
    }
    return calls;
}

QString modulePageName(const ModuleRow& module) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    const QString part = plain.match(module.name).hasMatch() ? module.name : QString::number(module.number);
    return QStringLiteral("modul-") + part + QStringLiteral(".html");
}

}  // namespace lumo
