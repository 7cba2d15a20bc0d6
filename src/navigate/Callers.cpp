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

// The nodes for the calls found: a module node before the first call of
// its module, then each routine covering a call line once (the one added
// last is not added again).
bool addCallerNodes(NodeTree& tree, ProjectScope& scope, const std::vector<ModuleReferences>& hits) {
    if (hits.empty()) return false;
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
        if (const ModuleRow* m = scope.module(h.module)) tree.addNode({}, parent, m->name, moduleImageKey(m->type));
        const std::vector<RoutineRow>& routines = scope.routinesOf(h.module);
        for (const int line : h.lines) {
            const RoutineRow* r = coveringRoutine(routines, line);
            if (!r || r->number == lastAdded) continue;
            tree.addNode(parent, routineKey(r->number), r->name, imageKey(*r));
            lastAdded = r->number;
        }
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

std::vector<ModuleReferences> routineCalls(NameResolver& resolver, int routineNumber) {
    std::vector<ModuleReferences> out;
    for (const NameReference& r : resolver.calls(resolver.routineDeclaration(routineNumber))) {
        if (out.empty() || out.back().module != r.module) out.push_back({r.module, {}, {}});
        out.back().lines.push_back(r.line);
    }
    return out;
}

bool collectCallers(NodeTree& tree, WorkingStore& store, NameResolver& resolver, int routineNumber) {
    (void)store;
    return addCallerNodes(tree, resolver.scope(), routineCalls(resolver, routineNumber));
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
