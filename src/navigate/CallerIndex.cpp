#include "navigate/CallerIndex.h"

#include <algorithm>
#include <array>

#include "base/ByteSearch.h"
#include "base/CaseFold.h"
#include "model/Codes.h"
#include "model/TaggedText.h"
#include "navigate/Callers.h"
#include "navigate/RoutineLocation.h"

namespace lumo {

namespace {

// What the reader makes of a character outside the spans: part of a name
// (isCallerIdentChar), a carriage return (a line counted), or neither.
// ASCII from a table, asked for every character.
enum CharClass : unsigned char { kOther, kNamePart, kReturn };
const std::array<CharClass, 128> kAsciiClass = [] {
    std::array<CharClass, 128> t{};
    for (char16_t u = 0; u < 128; ++u) t[u] = isCallerIdentChar(QChar(u)) ? kNamePart : kOther;
    t[u'\r'] = kReturn;
    return t;
}();

inline CharClass classOf(char16_t c) {
    if (c < 128) return kAsciiClass[c];
    return isCallerIdentChar(QChar(c)) ? kNamePart : kOther;
}

inline size_t hashOf(QStringView text) {
    size_t hash = 14695981039346656037ULL;
    for (const QChar c : text) hash = (hash ^ c.unicode()) * 1099511628211ULL;
    return hash;
}

}  // namespace

// The routines' names as written, each with its list in calls_: an open
// table of its own, as nearly every word of the code is looked up and most
// are no routine's name; a hash of the characters is cheaper than qHash's
// for words this short.
class CallerIndex::Names {
public:
    // Sized for its names at most a quarter full, so that a word that
    // names nothing meets an empty slot soon; a project repeats its
    // routines' names often (Class_Initialize), and a small table stays in
    // the processor's cache.
    explicit Names(const std::vector<RoutineRow>& routines) {
        slots_.resize(256);
        for (const RoutineRow& r : routines) {
            if (find(r.name) >= 0) continue;
            insert(r.name, int(count_++));
            if (4 * count_ > slots_.size()) grow();
        }
    }

    size_t count() const { return count_; }

    // The name's list, -1 for a word that names no routine.
    int find(QStringView word) const {
        const size_t mask = slots_.size() - 1;
        for (size_t at = hashOf(word) & mask;; at = (at + 1) & mask) {
            const Slot& slot = slots_[at];
            if (slot.list < 0) return -1;
            if (slot.name.size() == word.size() && std::equal(word.begin(), word.end(), slot.name.begin()))
                return slot.list;
        }
    }

private:
    struct Slot {
        QStringView name;  // in the routine rows
        int list = -1;
    };

    void insert(QStringView name, int list) {
        const size_t mask = slots_.size() - 1;
        size_t at = hashOf(name) & mask;
        while (slots_[at].list >= 0) at = (at + 1) & mask;
        slots_[at] = {name, list};
    }

    void grow() {
        std::vector<Slot> old(2 * slots_.size());
        old.swap(slots_);
        for (const Slot& slot : old)
            if (slot.list >= 0) insert(slot.name, slot.list);
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
};

CallerIndex::CallerIndex(const std::vector<RoutineRow>& routines)
    : routines_(routines), names_(std::make_unique<Names>(routines)) {
    calls_.resize(names_->count());
}

CallerIndex::~CallerIndex() = default;

void CallerIndex::addModule(int module, QStringView tagged) {
    ModuleReader r(*this, module);
    readTagged(tagged, r);
    r.finish();
}

void CallerIndex::ModuleReader::word(QStringView w, int line) {
    const int list = index_.names_->find(w);
    if (list >= 0) index_.calls_[size_t(list)].push_back({module_, line});
}

void CallerIndex::ModuleReader::text(QStringView s) {
    const char16_t* p = reinterpret_cast<const char16_t*>(s.data());
    const qsizetype n = s.size();
    if (inSpan_) {
        // Inside a span no word references: only its carriage returns count.
        for (qsizetype i = findLineBreak(p, 0, n); i < n; i = findLineBreak(p, i + 1, n))
            if (p[i] == u'\r') ++line_;
        return;
    }
    int line = line_;
    for (qsizetype i = 0; i < n;) {
        const CharClass c = classOf(p[i]);
        if (c != kNamePart) {
            line += c == kReturn;
            ++i;
            continue;
        }
        qsizetype e = i + 1;
        while (e < n && classOf(p[e]) == kNamePart) ++e;
        word(s.sliced(i, e - i), line);
        i = e;
    }
    line_ = line;
}

// The spans the caller search leaves out run from a keyword, comment,
// string or routine-line tag to its own end tag, whatever stands between.
// An end tag outside every span is text to the search, and its letter
// ("|n\u0178|", "|y\u0178|") a word of its own.
void CallerIndex::ModuleReader::tag(TagKind kind) {
    if (inSpan_) {
        if (kind == awaited_) inSpan_ = false;
        return;
    }
    switch (kind) {
    case TagKind::Comment:
    case TagKind::Keyword:
    case TagKind::String:
        inSpan_ = true;
        awaited_ = TagKind::Close;
        return;
    case TagKind::LineOpen:
        inSpan_ = true;
        awaited_ = TagKind::LineClose;
        return;
    case TagKind::Close: word(u"n", line_); return;
    case TagKind::LineClose: word(u"y", line_); return;
    }
}

// For each line read the routine covering it, worked out once: a routine
// called from many places would otherwise search its module's routines
// for every call. Filled routine by routine in their order, so that a line
// keeps the first whose lines hold it, as coveringRoutine answers.
void CallerIndex::ModuleReader::finish() {
    auto& covering = index_.covering_;
    if (covering.size() <= size_t(module_)) covering.resize(size_t(module_) + 1);
    std::vector<int>& lines = covering[size_t(module_)];
    lines.assign(size_t(line_) + 1, -1);
    for (const RoutineRow& r : index_.routinesOf(module_)) {
        const int last = std::min(r.end, line_);
        for (int line = std::max(r.start, 1); line <= last; ++line)
            if (lines[size_t(line)] < 0) lines[size_t(line)] = int(&r - index_.routines_.data());
    }
}

std::span<const RoutineRow> CallerIndex::routinesOf(int module) const {
    const auto from = std::lower_bound(routines_.begin(), routines_.end(), module,
                                       [](const RoutineRow& r, int m) { return r.module < m; });
    const auto to = std::upper_bound(from, routines_.end(), module,
                                     [](int m, const RoutineRow& r) { return m < r.module; });
    return {from, to};
}

inline const RoutineRow* CallerIndex::covering(int module, int line) const {
    if (size_t(module) < covering_.size()) {
        const std::vector<int>& lines = covering_[size_t(module)];
        if (line >= 1 && size_t(line) < lines.size())
            return lines[size_t(line)] < 0 ? nullptr : &routines_[size_t(lines[size_t(line)])];
    }
    return coveringRoutine(routinesOf(module), line);
}

std::optional<std::vector<IndexedCall>> CallerIndex::callers(const RoutineRow& routine) const {
    // Asked as the caller search asks its module for the name: the first
    // routine of that name there, names compared without regard to case.
    const RoutineRow* asked = &routine;
    for (const RoutineRow& r : routinesOf(routine.module))
        if (r.number < asked->number && sameIgnoringCase(r.name, routine.name)) asked = &r;
    const CallerScope scope = callerScope(*asked);
    if (scope == CallerScope::Refused) return std::nullopt;
    std::vector<IndexedCall> calls;
    const int list = names_->find(routine.name);
    if (list < 0) return calls;
    std::span<const std::pair<int, int>> found = calls_[size_t(list)];  // by module, then line
    if (scope == CallerScope::OwnModule) {
        const auto [from, to] = std::equal_range(found.begin(), found.end(), std::pair{routine.module, 0},
                                                 [](const auto& a, const auto& b) { return a.first < b.first; });
        found = std::span(from, to);
    }
    calls.reserve(found.size());
    int lastModule = 0, lastLine = 0;
    const std::vector<int>* lines = nullptr;  // covering_ of lastModule
    for (const auto& [module, line] : found) {
        if (module == lastModule && line == lastLine) continue;  // one entry per line
        if (module != lastModule)
            lines = size_t(module) < covering_.size() ? &covering_[size_t(module)] : nullptr;
        lastModule = module;
        lastLine = line;
        const RoutineRow* in = nullptr;
        if (lines && size_t(line) < lines->size()) {
            if (const int k = (*lines)[size_t(line)]; k >= 0) in = &routines_[size_t(k)];
        } else {
            in = covering(module, line);
        }
        calls.push_back({module, line, in});
    }
    return calls;
}

}  // namespace lumo
