#include "export/RoutineListing.h"

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

// Lines first..first+count-1 of a text, as one piece.
QStringView linesOf(const QString& text, int first, int count) {
    qsizetype start = 0;
    for (int l = 1; l < first && start >= 0; ++l) {
        start = text.indexOf(u'\n', start);
        if (start >= 0) ++start;
    }
    if (start < 0) return {};
    qsizetype end = start;
    for (int l = 0; l < count && end >= 0; ++l) {
        end = text.indexOf(u'\n', l == 0 ? end : end + 1);
    }
    if (end < 0) end = text.size();
    return QStringView(text).sliced(start, end - start);
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
                read = true;
            }
            const QString head = linesOf(text, r.start, std::max(1, r.headLines)).toString();
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
