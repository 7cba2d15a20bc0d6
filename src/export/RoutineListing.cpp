#include "export/RoutineListing.h"

#include <algorithm>
#include <vector>

#include <QHash>
#include <QSet>

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/TaggedText.h"
#include "model/WorkingStore.h"
#include "render/TaggedContent.h"

namespace lumo {

namespace {

struct TypeText {
    int moduleType;
    const char* text;
};

constexpr TypeText kModuleTypes[] = {
    {ModUserForm, "Userform"},
    {ModStandard, "Allgemeines Modul"},
    {ModClass, "Klassenmodul"},
    {ModDocument, "Document"},
};

QString moduleTypeName(int type) {
    for (const TypeText& t : kModuleTypes)
        if (t.moduleType == type) return QString::fromUtf8(t.text);
    return {};
}

// The code of tagged text without its comments.
class CodeOnly {
public:
    QString code;

    void text(QStringView s) {
        if (!inComment_) code += s;
    }
    void tag(TagKind kind) {
        if (kind == TagKind::Comment) inComment_ = true;
        else if (kind == TagKind::Close) inComment_ = false;
    }

private:
    bool inComment_ = false;
};

// Where each line of a text starts, found once per module: a routine's head
// is then cut out without counting lines from the text's beginning, which
// made a module of many routines cost the square of its size.
std::vector<qsizetype> lineStarts(const QString& text) {
    std::vector<qsizetype> starts{0};
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1)) starts.push_back(at + 1);
    return starts;
}

// Lines first..first+count-1 of a text, as one piece; `starts` as lineStarts
// gives them. Beyond the last line nothing; a piece running past it ends
// with the text.
QStringView linesOf(const QString& text, const std::vector<qsizetype>& starts, int first, int count) {
    const size_t from = size_t(std::max(first, 1) - 1);
    if (from >= starts.size()) return {};
    const size_t after = from + size_t(std::max(count, 1));
    const qsizetype end = after < starts.size() ? starts[after] - 1 : text.size();
    return QStringView(text).sliced(starts[from], end - starts[from]);
}

qsizetype wholeWordAt(const QString& text, const QString& word) {
    auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    for (qsizetype at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(word, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + word.size();
        if ((at == 0 || !isWordChar(text.at(at - 1))) && (end >= text.size() || !isWordChar(text.at(end)))) return at;
    }
    return -1;
}

}  // namespace

QString routineKindText(int routineType) {
    switch (routineType) {
    case RouSub: return QStringLiteral("Sub");
    case RouFunction: return QStringLiteral("Function");
    case RouPropertyLet: return QStringLiteral("Property Let");
    case RouPropertyGet: return QStringLiteral("Property Get");
    case RouPropertySet: return QStringLiteral("Property Set");
    case RouDeclareSub: return QStringLiteral("Declare Sub");
    case RouDeclareFunction: return QStringLiteral("Declare Function");
    default: return {};
    }
}

QString visibilityText(int visibility) {
    switch (visibility) {
    case OpenPrivate: return QStringLiteral("Private");
    case OpenFriend: return QStringLiteral("Friend");
    default: return QStringLiteral("Public");
    }
}

QString routineSignature(const QString& head, const QString& name) {
    CodeOnly sink;
    readTagged(head, sink);
    QString joined;
    for (QStringView line : taggedToText(sink.code).split(u'\n')) {
        line = line.trimmed();
        // A continued line ends in " _".
        if (line.endsWith(u'_') && (line.size() == 1 || line.at(line.size() - 2).isSpace()))
            line = line.chopped(1).trimmed();
        if (line.isEmpty()) continue;
        if (!joined.isEmpty()) joined += u' ';
        joined += line;
    }
    const qsizetype at = wholeWordAt(joined, name);
    return at < 0 ? joined : joined.mid(at);
}

QString routineListing(WorkingStore& store) {
    const std::vector<RoutineRow> routines = routinesByModuleAndName(store);
    QHash<int, std::vector<const RoutineRow*>> byModule;
    for (const RoutineRow& r : routines) byModule[r.module].push_back(&r);
    QString out;
    for (const ModuleRow& m : modulesByTypeAndName(store)) {
        out += m.name + u'\t' + moduleTypeName(m.type) + QStringLiteral("\r\n");
        QString text;
        std::vector<qsizetype> starts;
        bool read = false;
        QSet<QString> listed;  // folded name and type
        for (const RoutineRow* row : byModule.value(m.number)) {
            const RoutineRow& r = *row;
            if (isDeclaration(r.type)) {
                const QString key = r.name.toCaseFolded() + u'|' + QString::number(r.type);
                if (listed.contains(key)) continue;  // another #If branch of the same declaration
                listed.insert(key);
            }
            if (!read) {
                text = store.readModuleText(m.number);
                starts = lineStarts(text);
                read = true;
            }
            const QString head = linesOf(text, starts, r.start, r.headLines).toString();
            out += u'\t' + r.name + u'\t' + routineKindText(r.type) + u'\t' + visibilityText(r.visibility) + u'\t' +
                   routineSignature(head, r.name) + QStringLiteral("\r\n");
        }
    }
    return out;
}

void routineListingToClipboard(WorkingStore& store, Ui& ui, bool meld, const QString& title) {
    QString listing;
    try {
        listing = routineListing(store);
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
        return;
    }
    ui.clearClipboard();
    ui.setClipboardText(listing);
    if (meld) ui.message(QStringLiteral("Struktur in der Zwischenablage erstellt"), title, MsgIcon::Information);
}

}  // namespace lumo
