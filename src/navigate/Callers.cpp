#include "navigate/Callers.h"

#include <algorithm>
#include <vector>

#include "app/Ui.h"
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

// Writes spaces over the spans in a copy of the text it reads. An end tag
// outside every span keeps its characters, as any other text does.
class BlankingSink {
public:
    explicit BlankingSink(QString& out) : out_(out.data()) {}

    void text(QStringView s) {
        if (inside_) blank(s.size());
        pos_ += s.size();
    }

    void tag(TagKind kind) {
        if (inside_) {
            blank(kKeptTagLength);
            if (kind == awaited_) inside_ = false;
        } else if (opens(kind)) {
            inside_ = true;
            awaited_ = kind == TagKind::LineOpen ? TagKind::LineClose : TagKind::Close;
            blank(kKeptTagLength);
        }
        pos_ += kKeptTagLength;
    }

private:
    void blank(qsizetype n) { std::fill_n(out_ + pos_, n, QChar(u' ')); }

    QChar* out_;
    qsizetype pos_ = 0;
    bool inside_ = false;
    TagKind awaited_ = TagKind::Close;
};

// The routines of one module, in the order the covering-line lookup meets
// them: by first line, then by number.
class ModuleRoutines {
public:
    ModuleRoutines(WorkingStore& store, int moduleNumber) : rows_(routinesOfModule(store, moduleNumber)) {
        std::stable_sort(rows_.begin(), rows_.end(),
                         [](const RoutineRow& a, const RoutineRow& b) { return a.start < b.start; });
    }
    // The routine whose lines hold `line`, or nullptr.
    const RoutineRow* covering(int line) const {
        for (const RoutineRow& r : rows_) {
            if (r.start > line) break;
            if (r.end >= line) return &r;
        }
        return nullptr;
    }

private:
    std::vector<RoutineRow> rows_;
};

}  // namespace

QString blankTaggedSpans(const QString& tagged) {
    QString out = tagged;
    out.detach();
    BlankingSink sink(out);
    readTagged(tagged, sink);
    return out;
}

bool isCallerIdentChar(QChar c) {
    const char16_t u = c.unicode();
    if ((u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9')) return true;
    switch (u) {
    case u'ä': case u'ö': case u'ü': case u'ß': case u'_': case u';':
        return true;
    default:
        return false;
    }
}

bool collectCallers(NodeTree& tree, WorkingStore& store, const QString& name, int firstModule, int lastModule) {
    if (name.isEmpty()) return false;
    bool any = false;
    qint32 lastAdded = 0;
    for (int i = firstModule; i <= lastModule; ++i) {
        const QString text = blankTaggedSpans(store.readModuleText(i));
        const qsizetype n = text.size();
        std::optional<ModuleRoutines> routines;
        // Lines are counted as the search moves on, never from the start again.
        int line = 1;
        qsizetype counted = 0;
        for (qsizetype e = text.indexOf(name, 0, Qt::CaseSensitive); e >= 0;
             e = text.indexOf(name, e + 1, Qt::CaseSensitive)) {
            const qsizetype after = e + name.size();
            if (e > 0 && isCallerIdentChar(text.at(e - 1))) continue;
            if (after < n && isCallerIdentChar(text.at(after))) continue;
            line += int(std::count(text.constData() + counted, text.constData() + e, QChar(u'\r')));
            counted = e;
            if (!routines) {
                moduleSearchNode(tree, store, i);
                routines.emplace(store, i);
                any = true;
            }
            const RoutineRow* r = routines->covering(line);
            if (r && r->number != lastAdded) {
                tree.addNode(moduleKey(i), routineKey(r->number), r->name, routineImageKey(r->type, r->visibility));
                lastAdded = r->number;
            }
        }
    }
    return any;
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
