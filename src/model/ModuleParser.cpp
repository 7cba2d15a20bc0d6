#include "model/ModuleParser.h"

#include <QStringList>

#include "model/ParseError.h"
#include "model/Tags.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString anchor(char kind, qint32 number) {
    return tags().marker + QLatin1Char('*') + QLatin1Char(kind) +
           QStringLiteral("%1").arg(number, 8, 10, QLatin1Char('0')) + QLatin1Char('|');
}

int passKind(const QString& keywordTag) {
    if (keywordTag == taggedKeyword(QStringLiteral("Sub"))) return RouSub;
    if (keywordTag == taggedKeyword(QStringLiteral("Function"))) return RouFunction;
    if (keywordTag == taggedKeyword(QStringLiteral("Property"))) return 99;
    return 0;
}

// The head line without continuation tags, tabs and spaces: the name is then
// what follows the last "|" (the end of the last keyword tag) before the
// parameter list or the Lib keyword. Escape tags become marker characters
// again first, so that a "|" of theirs does not cut a name.
QString squeezed(const QString& line) {
    QString s = line;
    s.remove(tags().continuation);
    s.replace(tags().escape, tags().marker);
    s.remove(QLatin1Char('\t'));
    s.remove(QLatin1Char(' '));
    return s;
}

QString nameBefore(const QString& squeezedLine, qsizetype cut) {
    const QString rest = squeezedLine.left(cut);
    return rest.mid(rest.lastIndexOf(QLatin1Char('|')) + 1);
}

struct Head {
    int type = 0;
    bool skip = false;  // a Property line without Get, Let or Set
    bool declaration = false;
};

Head classifyHead(const QString& line, int kind) {
    Head h;
    if (line.contains(taggedKeyword(QStringLiteral("Declare")))) {
        h.declaration = true;
        h.type = kind + 10;
        return h;
    }
    h.type = kind;
    if (kind == 99) {
        h.type = 0;
        if (line.contains(taggedKeyword(QStringLiteral("Get")))) h.type = RouPropertyGet;
        if (line.contains(taggedKeyword(QStringLiteral("Set")))) h.type = RouPropertySet;
        if (line.contains(taggedKeyword(QStringLiteral("Let")))) h.type = RouPropertyLet;
        h.skip = h.type == 0;
    }
    return h;
}

int visibilityOf(const QString& line) {
    int v = OpenPublic;
    if (line.contains(taggedKeyword(QStringLiteral("Private")))) v = OpenPrivate;
    if (line.contains(taggedKeyword(QStringLiteral("Friend")))) v = OpenFriend;
    return v;
}

QString routineName(const QString& line, bool declaration, qsizetype lineIndex) {
    const QString s = squeezed(line);
    if (declaration) {
        const qsizetype cut = s.indexOf(tags().keyword + QLatin1String("Lib"));
        if (cut < 0)
            throw ParseError(QStringLiteral("Declare ohne Lib in Zeile %1").arg(lineIndex));
        return nameBefore(s, cut);
    }
    const qsizetype cut = s.indexOf(QLatin1Char('('));
    if (cut < 0)
        throw ParseError(QStringLiteral("Routinenkopf ohne \"(\" in Zeile %1").arg(lineIndex));
    return nameBefore(s, cut);
}

int physicalLines(const QString& line) {
    return int(line.count(tags().continuation)) + 1;
}

// The one walk shared by both variants; store is null for display only.
void routinePass(QString& text, const QString& keywordTag, const Options& options, WorkingStore* store) {
    const int kind = passKind(keywordTag);
    if (!text.contains(keywordTag)) return;
    const Tags& t = tags();
    const QString exitTag = taggedKeyword(QStringLiteral("Exit"));
    const QString anchorStart = t.marker + QLatin1Char('*');
    const bool bodyTabs = options.einr && options.rer;

    QStringList lines = text.split(kCrLf);
    bool open = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (line.contains(keywordTag) && !line.contains(exitTag)) {
            if (open) {
                line = t.lineOpen + line + t.lineClose;
                if (store) line.prepend(anchor('E', store->routineCounter));
                open = false;
            } else {
                const Head head = classifyHead(line, kind);
                qint32 number = 0;
                if (store) {
                    if (store->routineCounter >= kMaxRoutineNumber)
                        throw ParseError(QStringLiteral("Zu viele Routinen (mehr als 8 Stellen)"));
                    number = ++store->routineCounter;
                }
                if (!head.skip) {
                    QString name;
                    int visibility = OpenPublic;
                    int lineCount = 1;
                    if (store) {
                        visibility = visibilityOf(line);
                        lineCount = physicalLines(line);
                        name = routineName(line, head.declaration, i);
                    }
                    open = !head.declaration;
                    line = t.lineOpen + line + t.lineClose;
                    if (store) line.prepend(anchor('A', number));
                    if (options.rle) line.prepend(kCrLf);
                    if (store) {
                        store->execute(QStringLiteral(
                                           "INSERT INTO td_rout"
                                           "(rou_typ,rou_open,anz_dec_zeilen,rou_name,rou_num,mod_num) "
                                           "VALUES (?,?,?,?,?,?)"),
                                       {qint64(head.type), qint64(visibility), qint64(lineCount), name,
                                        qint64(number), qint64(store->moduleCounter)});
                    }
                }
            }
        }
        // The empty remainder after the final line break is no line of the
        // code; a tab there would leave the text without its final break.
        const bool remainder = i + 1 == lines.size() && line.isEmpty();
        if (bodyTabs && open && !remainder) {
            const bool marked = store ? line.startsWith(anchorStart) : line.startsWith(t.lineOpen);
            if (!marked) line.prepend(QLatin1Char('\t'));
        }
    }
    text = lines.join(kCrLf);
}

}  // namespace

void parseRoutines(QString& text, const QString& keywordTag, const Options& options, WorkingStore& store) {
    routinePass(text, keywordTag, options, &store);
}

void tagRoutineLines(QString& text, const QString& keywordTag, const Options& options) {
    routinePass(text, keywordTag, options, nullptr);
}

void storeModule(QString& text, WorkingStore& store) {
    const QString anchorStart = tags().marker + QLatin1Char('*');
    QStringList lines = text.split(kCrLf);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (!line.startsWith(anchorStart) || line.size() < kAnchorLength) continue;
        const qint64 number = line.mid(3, 8).toLongLong();
        const QString field = line.at(2) == QLatin1Char('A') ? QStringLiteral("rou_start") : QStringLiteral("rou_ende");
        store.execute(QStringLiteral("UPDATE td_rout SET %1 = ? WHERE rou_num = ?").arg(field),
                      {qint64(i + 1), number});
        line.remove(0, kAnchorLength);
    }
    store.execute(QStringLiteral("UPDATE td_rout SET rou_ende = rou_start + (anz_dec_zeilen - 1) "
                                 "WHERE rou_typ > 10 AND mod_num = ?"),
                  {qint64(store.moduleCounter)});
    store.execute(QStringLiteral("INSERT INTO td_mod (mod_num,mod_name,mod_typ,mod_zeilen) VALUES (?,?,?,?)"),
                  {qint64(store.moduleCounter), store.currentModuleName, qint64(store.currentModuleType),
                   qint64(lines.size() - 1)});
    text = lines.join(kCrLf);
}

}  // namespace lumo
