#include "navigate/Callers.h"

#include <algorithm>
#include <cstring>
#include <array>
#include <vector>

#include <QHash>

#include "base/ByteSearch.h"
#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/TaggedText.h"
#include "model/WorkingStore.h"
#include "navigate/NameResolver.h"
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
    SpanSink(std::vector<TaggedSpan>& spans, qsizetype tagLength) : spans_(spans), tagLength_(tagLength) {}

    void advance(qsizetype n) { pos_ += n; }

    void tag(TagKind kind) {
        if (inside_) {
            if (kind == awaited_) {
                spans_.push_back({begin_, pos_ + tagLength_});
                inside_ = false;
            }
        } else if (opens(kind)) {
            inside_ = true;
            begin_ = pos_;
            awaited_ = kind == TagKind::LineOpen ? TagKind::LineClose : TagKind::Close;
        }
        pos_ += tagLength_;
    }

    void finish() {
        if (inside_) spans_.push_back({begin_, pos_});
    }

private:
    std::vector<TaggedSpan>& spans_;
    const qsizetype tagLength_;
    qsizetype pos_ = 0;
    qsizetype begin_ = 0;
    bool inside_ = false;
    TagKind awaited_ = TagKind::Close;
};

// The spans of UTF-8 tagged text, in bytes.
std::vector<TaggedSpan> taggedSpansUtf8(QByteArrayView tagged) {
    std::vector<TaggedSpan> spans;
    SpanSink sink(spans, taglayout::kKeptTagBytes);
    readTaggedUtf8(tagged, sink);
    sink.finish();
    return spans;
}

// isCallerIdentChar on UTF-8: its letters beyond ASCII are all two bytes,
// C3 and one of these. A C3 is never the tail of another character, so the
// pair is that letter wherever it stands, as the decoder would read it.
bool isIdentTail(unsigned char b) {
    switch (b) {
    case 0xA4: case 0xB6: case 0xBC: case 0x84: case 0x96: case 0x9C: case 0x9F:
        return true;
    default:
        return false;
    }
}
bool isAsciiIdent(unsigned char b) { return b < 0x80 && isCallerIdentChar(QChar(b)); }
bool identCharEndsAt(const unsigned char* b, qsizetype end) {  // the character before b[end]
    if (end <= 0) return false;
    if (b[end - 1] < 0x80) return isAsciiIdent(b[end - 1]);
    return end >= 2 && b[end - 2] == 0xC3 && isIdentTail(b[end - 1]);
}
bool identCharStartsAt(const unsigned char* b, qsizetype n, qsizetype at) {
    if (at >= n) return false;
    if (b[at] < 0x80) return isAsciiIdent(b[at]);
    return b[at] == 0xC3 && at + 1 < n && isIdentTail(b[at + 1]);
}

// Reads module text `moduleNumber` and appends its reference lines when there are any.
void findReferences(WorkingStore& store, const QByteArray& name, int moduleNumber, bool keepText,
                    std::vector<ModuleReferences>& hits) {
    const QByteArray bytes = store.readModuleBytes(moduleNumber);
    ModuleReferences found{moduleNumber, referenceLines(bytes, name), {}};
    if (found.lines.empty()) return;
    if (keepText) found.text = QString::fromUtf8(bytes);
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
        routinesOfModulesByStart(store, moduleNumbersOf(hits));
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
            const RoutineRow* r = coveringRoutine(std::span(routine, moduleEnd), line);
            if (r && r->number != lastAdded) {
                tree.addNode(parent, routineKey(r->number), r->name, imageKey(*r));
                lastAdded = r->number;
            }
        }
        routine = moduleEnd;
    }
    return true;
}

}  // namespace

std::vector<TaggedSpan> taggedSpans(QStringView tagged) {
    std::vector<TaggedSpan> spans;
    SpanSink sink(spans, kKeptTagLength);
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

// The text is searched as if its tagged spans were blanked: an occurrence
// is a reference when it lies outside every span and its neighbours are no
// identifier characters. A neighbour inside a span needs no test of its
// own: every span begins and ends with "|" (or runs to the end of the
// text), which is no identifier character either. Line numbers count the
// line breaks of the text itself, those inside a span (a routine head or
// comment continued over several lines) included.
//
// The search runs on the stored UTF-8 bytes, never decoded: a character of
// the name comes from exactly its own bytes and a tag from its own five, so
// occurrences, spans and neighbours are where the decoded text has them.
std::vector<int> referenceLines(QByteArrayView tagged, QByteArrayView name) {
    std::vector<int> lines;
    const char* b = tagged.data();
    const qsizetype n = tagged.size();
    const qsizetype nameLength = name.size();
    if (nameLength == 0) return lines;
    std::vector<qsizetype> occurrences;
    findAllOccurrences(tagged, name, occurrences);
    // An occurrence inside a longer name is none, wherever it stands; most
    // are such, and without the others the spans need not be read at all.
    const auto* u = reinterpret_cast<const unsigned char*>(b);
    std::erase_if(occurrences, [&](qsizetype e) {
        return identCharEndsAt(u, e) || identCharStartsAt(u, n, e + nameLength);
    });
    if (occurrences.empty()) return lines;
    // Spans after the last occurrence cannot hold it: the text is read up to
    // there (a span open at that point runs to its end and so holds it).
    const std::vector<TaggedSpan> spans = taggedSpansUtf8(QByteArrayView(b, occurrences.back() + nameLength));
    size_t k = 0;  // the first span not ending before the occurrence
    int line = 1;
    qsizetype counted = 0;
    for (const qsizetype e : occurrences) {
        const qsizetype after = e + nameLength;
        while (k < spans.size() && spans[k].end <= e) ++k;
        if (k < spans.size() && spans[k].begin < after) continue;  // inside a span
        line += int(countByte(b + counted, b + e, '\r'));
        counted = e;
        lines.push_back(line);
    }
    return lines;
}

const RoutineRow* coveringRoutine(std::span<const RoutineRow> moduleRoutines, int line) {
    for (const RoutineRow& r : moduleRoutines) {
        if (r.start > line) break;
        if (r.end >= line) return &r;
    }
    return nullptr;
}

std::vector<int> moduleNumbersOf(const std::vector<ModuleReferences>& found) {
    std::vector<int> out;
    out.reserve(found.size());
    for (const ModuleReferences& m : found) out.push_back(m.module);
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
    const QByteArray nameUtf8 = name.toUtf8();
    // A module text that cannot be read costs its own references only: the
    // other modules are searched, then the failures are named.
    QStringList failures;
    for (int i = firstModule; i <= lastModule; ++i) {
        try {
            findReferences(store, nameUtf8, i, keepTexts, found);
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

std::vector<ModuleReferences> routineCalls(NameResolver& resolver, int routineNumber) {
    std::vector<ModuleReferences> out;
    for (const NameReference& r : resolver.calls(resolver.routineDeclaration(routineNumber))) {
        if (out.empty() || out.back().module != r.module) out.push_back({r.module, {}, {}});
        out.back().lines.push_back(r.line);
    }
    return out;
}

bool collectCallers(NodeTree& tree, WorkingStore& store, NameResolver& resolver, int routineNumber) {
    return addCallerNodes(tree, store, routineCalls(resolver, routineNumber));
}

CallersOutcome callersCommand(NodeTree& tree, WorkingStore& store, const QString& routineName, int currentModule,
                              int moduleCount, Ui& ui, int* searched) {
    (void)moduleCount;
    if (routineName.isEmpty()) return CallersOutcome::Stopped;
    const RoutineLookup lookup = routineByName(store, routineName, currentModule + 1, ui);
    if (lookup.result == 0) return CallersOutcome::Stopped;
    if (searched) *searched = lookup.routineNumber;
    tree.setRedraw(false);
    tree.clear();
    try {
        ProjectScope& scope = projectScopeOf(store);
        NameResolver resolver(scope);
        collectCallers(tree, store, resolver, lookup.routineNumber);
        // Modules whose text could not be read hold no callers that can be shown.
        if (!scope.unreadable().isEmpty()) throw StoreError(scope.unreadable().join(QStringLiteral("\r\n")).toStdString());
    } catch (const std::exception& e) {
        // What was found before the failure stays listed.
        ui.message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
    }
    tree.setRedraw(true);
    return tree.nodeCount() > 0 ? CallersOutcome::Found : CallersOutcome::NoneFound;
}

}  // namespace lumo
