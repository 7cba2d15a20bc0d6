#include "navigate/Callers.h"

#include <algorithm>
#include <cstring>
#include <array>
#include <vector>

#include <QHash>

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/TaggedText.h"
#include "model/WorkingStore.h"
#include "navigate/RoutineLocation.h"
#include "view/NodeTree.h"
#include "view/ProjectTree.h"

namespace lumo {

namespace {

bool opens(TagKind kind) {
    return kind == TagKind::Comment || kind == TagKind::Keyword || kind == TagKind::String ||
           kind == TagKind::LineOpen;
}

// Collects the spans from an opening tag to its matching end tag. An end
// tag outside every span is text, as any other character there.
class SpanSink {
public:
    explicit SpanSink(std::vector<TaggedSpan>& spans) : spans_(spans) {}

    void advance(qsizetype n) { pos_ += n; }

    void tag(TagKind kind) {
        if (inside_) {
            if (kind == awaited_) {
                spans_.push_back({begin_, pos_ + kKeptTagLength});
                inside_ = false;
            }
        } else if (opens(kind)) {
            inside_ = true;
            begin_ = pos_;
            awaited_ = kind == TagKind::LineOpen ? TagKind::LineClose : TagKind::Close;
        }
        pos_ += kKeptTagLength;
    }

    void finish() {
        if (inside_) spans_.push_back({begin_, pos_});
    }

private:
    std::vector<TaggedSpan>& spans_;
    qsizetype pos_ = 0;
    qsizetype begin_ = 0;
    bool inside_ = false;
    TagKind awaited_ = TagKind::Close;
};

// Case-sensitive search for one name (Horspool): a module text is searched
// with steps of about the name's length instead of one character.
class NameFinder {
public:
    explicit NameFinder(const QString& name) : name_(name) {
        const qsizetype m = name_.size();
        skip_.fill(m);
        for (qsizetype i = 0; i + 1 < m; ++i) skip_[name_.at(i).unicode() & 0xFF] = m - 1 - i;
    }
    qsizetype length() const { return name_.size(); }
    // The first occurrence at or after `from`, or -1.
    qsizetype find(QStringView text, qsizetype from) const {
        const qsizetype m = name_.size();
        const qsizetype n = text.size();
        const QChar* t = text.data();
        const QChar* p = name_.constData();
        const char16_t last = p[m - 1].unicode();
        for (qsizetype i = from; i + m <= n;) {
            const char16_t c = t[i + m - 1].unicode();
            if (c == last && std::equal(p, p + m - 1, t + i)) return i;
            i += skip_[c & 0xFF];
        }
        return -1;
    }

private:
    QString name_;
    std::array<qsizetype, 256> skip_{};
};

// Counted on the plain code units, which the compiler can do many at a time.
int countCarriageReturns(const QChar* from, const QChar* to) {
    const char16_t* p = reinterpret_cast<const char16_t*>(from);
    const char16_t* end = reinterpret_cast<const char16_t*>(to);
    int n = 0;
    for (; p < end; ++p) n += *p == u'\r';
    return n;
}

// Reads module text `moduleNumber` and searches it as if its tagged spans
// were blanked: an occurrence is a reference when it lies outside every
// span and its neighbours are no identifier characters. A neighbour inside
// a span needs no test of its own: every span begins and ends with "|" (or
// runs to the end of the text), which is no identifier character either.
// Line numbers count the line breaks of the text itself, those inside a
// span (a routine head or comment continued over several lines) included.
// Appends the reference lines when there are any.
void findReferences(WorkingStore& store, const NameFinder& finder, const QByteArray& nameUtf8, int moduleNumber,
                    bool keepText, std::vector<ModuleReferences>& hits) {
    const qsizetype nameLength = finder.length();
    // Most modules do not hold the name at all, which their UTF-8 tells as
    // well as their text would: only the others are decoded. (A character
    // of the name comes from exactly its own bytes, so no occurrence is lost.)
    const QByteArray bytes = store.readModuleBytes(moduleNumber);
    const char* b = bytes.constData();
    const size_t size = size_t(bytes.size());
    const char* last = nullptr;
    for (const char* at = b; (at = static_cast<const char*>(memmem(at, size - size_t(at - b), nameUtf8.constData(),
                                                                   size_t(nameUtf8.size())))) != nullptr;
         ++at)
        last = at;
    if (!last) return;
    // Without the text to keep, nothing after the last occurrence is needed
    // but the character following it (at most 4 bytes): a cut sequence there
    // decodes to no identifier character, as the end of the text would.
    const qsizetype used = keepText ? bytes.size()
                                    : std::min<qsizetype>(bytes.size(), (last - b) + nameUtf8.size() + 4);
    const QString text = QString::fromUtf8(b, used);
    std::vector<qsizetype> occurrences;
    for (qsizetype e = finder.find(text, 0); e >= 0; e = finder.find(text, e + 1)) occurrences.push_back(e);
    if (occurrences.empty()) return;  // most modules: no need to find the spans
    const qsizetype n = text.size();
    // Spans after the last occurrence cannot hold it: the text is read up to
    // there (a span open at that point runs to its end and so holds it).
    const std::vector<TaggedSpan> spans =
        taggedSpans(QStringView(text).left(std::min(n, occurrences.back() + nameLength)));
    const QChar* t = text.constData();
    ModuleReferences found{moduleNumber, {}, {}};
    size_t k = 0;  // the first span not ending before the occurrence
    int line = 1;
    qsizetype counted = 0;
    for (const qsizetype e : occurrences) {
        const qsizetype after = e + nameLength;
        while (k < spans.size() && spans[k].end <= e) ++k;
        if (k < spans.size() && spans[k].begin < after) continue;  // inside a span
        if (e > 0 && isCallerIdentChar(t[e - 1])) continue;
        if (after < n && isCallerIdentChar(t[after])) continue;
        line += countCarriageReturns(t + counted, t + e);
        counted = e;
        found.lines.push_back(line);
    }
    if (found.lines.empty()) return;
    if (keepText) found.text = text;
    hits.push_back(std::move(found));
}

// The nodes for the references found: a module node before the first
// reference of its module, then each routine covering a reference line once
// (the one added last is not added again). The routines and module rows are
// read in one statement each, not once per reference.
bool addCallerNodes(NodeTree& tree, WorkingStore& store, const std::vector<ModuleReferences>& hits) {
    if (hits.empty()) return false;
    std::vector<ModuleRow> modules = modulesByNumber(store);
    const std::vector<RoutineRow> routines =
        routinesOfModulesByStart(store, hits.front().module, hits.back().module);
    auto routine = routines.begin();
    qint32 lastAdded = 0;
    // A project has a handful of routine kinds; their image keys are made once.
    QHash<int, QString> imageKeys;
    auto imageKey = [&imageKeys](const RoutineRow& r) {
        const int code = r.type * 16 + r.visibility;
        auto it = imageKeys.find(code);
        if (it == imageKeys.end()) it = imageKeys.insert(code, routineImageKey(r.type, r.visibility));
        return it.value();
    };
    for (const ModuleReferences& h : hits) {
        const QString parent = moduleKey(h.module);
        const auto m = std::lower_bound(modules.begin(), modules.end(), h.module,
                                        [](const ModuleRow& row, int number) { return row.number < number; });
        if (m != modules.end() && m->number == h.module) tree.addNode({}, parent, m->name, moduleImageKey(m->type));
        while (routine != routines.end() && routine->module < h.module) ++routine;
        auto moduleEnd = routine;
        while (moduleEnd != routines.end() && moduleEnd->module == h.module) ++moduleEnd;
        for (const int line : h.lines) {
            // The first routine, in the order of the covering-line lookup, whose lines hold the reference.
            for (auto r = routine; r != moduleEnd && r->start <= line; ++r) {
                if (r->end < line) continue;
                if (r->number != lastAdded) {
                    tree.addNode(parent, routineKey(r->number), r->name, imageKey(*r));
                    lastAdded = r->number;
                }
                break;
            }
        }
        routine = moduleEnd;
    }
    return true;
}

}  // namespace

std::vector<TaggedSpan> taggedSpans(QStringView tagged) {
    std::vector<TaggedSpan> spans;
    SpanSink sink(spans);
    readTagged(tagged, sink);
    sink.finish();
    return spans;
}

QString blankTaggedSpans(const QString& tagged) {
    QString out = tagged;
    QChar* p = out.data();
    for (const TaggedSpan& s : taggedSpans(tagged)) std::fill(p + s.begin, p + s.end, QChar(u' '));
    return out;
}

bool isCallerIdentChar(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')) return true;
    switch (u) {
    case u'ä': case u'ö': case u'ü': case u'Ä': case u'Ö': case u'Ü': case u'ß': case u'_':
        return true;
    default:
        return false;
    }
}

void findReferenceLines(WorkingStore& store, const QString& name, int firstModule, int lastModule,
                        std::vector<ModuleReferences>& found, bool keepTexts) {
    if (name.isEmpty()) return;
    const NameFinder finder(name);
    const QByteArray nameUtf8 = name.toUtf8();
    // A module text that cannot be read costs its own references only: the
    // other modules are searched, then the failures are named.
    QStringList failures;
    for (int i = firstModule; i <= lastModule; ++i) {
        try {
            findReferences(store, finder, nameUtf8, i, keepTexts, found);
        } catch (const StoreError& e) {
            failures << QString::fromUtf8(e.what());
        }
    }
    if (!failures.isEmpty()) throw StoreError(failures.join(QStringLiteral("\r\n")).toStdString());
}

bool collectCallers(NodeTree& tree, WorkingStore& store, const QString& name, int firstModule, int lastModule) {
    if (name.isEmpty()) return false;
    std::vector<ModuleReferences> hits;
    try {
        findReferenceLines(store, name, firstModule, lastModule, hits, false);
    } catch (const StoreError&) {
        // The modules that could be read keep their nodes.
        addCallerNodes(tree, store, hits);
        throw;
    }
    return addCallerNodes(tree, store, hits);
}

CallersOutcome callersCommand(NodeTree& tree, WorkingStore& store, const QString& routineName, int currentModule,
                              int moduleCount, Ui& ui) {
    if (routineName.isEmpty()) return CallersOutcome::Stopped;
    const RoutineLookup lookup = routineByName(store, routineName, currentModule + 1, ui);
    if (lookup.result == 0) return CallersOutcome::Stopped;
    const int first = lookup.result == 1 ? currentModule + 1 : 1;
    const int last = lookup.result == 1 ? currentModule + 1 : moduleCount;
    tree.setRedraw(false);
    tree.clear();
    try {
        collectCallers(tree, store, routineName, first, last);
    } catch (const std::exception& e) {
        // What was found before the failure stays listed.
        ui.message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
    }
    tree.setRedraw(true);
    return tree.nodeCount() > 0 ? CallersOutcome::Found : CallersOutcome::NoneFound;
}

}  // namespace lumo
