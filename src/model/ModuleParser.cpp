#include "model/ModuleParser.h"

#include <algorithm>

#include <QStringMatcher>

#include "model/ParseError.h"
#include "model/TagCode.h"
#include "model/Tags.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

constexpr int kPropertyPass = 99;

QString anchor(char kind, qint32 number) {
    return tags().marker + QLatin1Char('*') + QLatin1Char(kind) +
           QStringLiteral("%1").arg(number, 8, 10, QLatin1Char('0')) + QLatin1Char('|');
}

int passKind(const QString& keywordTag) {
    if (keywordTag == taggedKeyword(QStringLiteral("Sub"))) return RouSub;
    if (keywordTag == taggedKeyword(QStringLiteral("Function"))) return RouFunction;
    if (keywordTag == taggedKeyword(QStringLiteral("Property"))) return kPropertyPass;
    return 0;
}

// The head line without continuation tags, tabs and spaces: the name is then
// what follows the last "|" (the end of the last keyword tag) before the
// parameter list or the Lib keyword. Escape tags become marker characters
// again first, so that a "|" of theirs does not cut a name.
QString squeezed(QStringView line) {
    QString s = line.toString();
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

Head classifyHead(QStringView line, int kind) {
    static const QString declareTag = taggedKeyword(QStringLiteral("Declare"));
    static const QString getTag = taggedKeyword(QStringLiteral("Get"));
    static const QString setTag = taggedKeyword(QStringLiteral("Set"));
    static const QString letTag = taggedKeyword(QStringLiteral("Let"));
    Head h;
    if (line.contains(declareTag)) {
        h.declaration = true;
        h.type = kind + 10;
        return h;
    }
    h.type = kind;
    if (kind == kPropertyPass) {
        // Tested in this order; a later hit overrides an earlier one.
        h.type = 0;
        if (line.contains(getTag)) h.type = RouPropertyGet;
        if (line.contains(setTag)) h.type = RouPropertySet;
        if (line.contains(letTag)) h.type = RouPropertyLet;
        h.skip = h.type == 0;
    }
    return h;
}

int visibilityOf(QStringView line) {
    static const QString privateTag = taggedKeyword(QStringLiteral("Private"));
    static const QString friendTag = taggedKeyword(QStringLiteral("Friend"));
    int v = OpenPublic;
    if (line.contains(privateTag)) v = OpenPrivate;
    if (line.contains(friendTag)) v = OpenFriend;
    return v;
}

QString routineName(QStringView line, bool declaration, qsizetype lineIndex) {
    const QString s = squeezed(line);
    if (declaration) {
        const qsizetype cut = s.indexOf(tags().keyword + QLatin1String("Lib"));
        if (cut < 0) throw ParseError(QStringLiteral("Declare ohne Lib in Zeile %1").arg(lineIndex));
        return nameBefore(s, cut);
    }
    const qsizetype cut = s.indexOf(QLatin1Char('('));
    if (cut < 0) throw ParseError(QStringLiteral("Routinenkopf ohne \"(\" in Zeile %1").arg(lineIndex));
    return nameBefore(s, cut);
}

int physicalLines(QStringView line) {
    return int(line.count(tags().continuation)) + 1;
}

qsizetype lineEnd(const QChar* d, qsizetype n, qsizetype from) {
    for (qsizetype i = from; i + 1 < n; ++i)
        if (d[i] == u'\r' && d[i + 1] == u'\n') return i;
    return n;
}

// One walk shared by both variants; counter and found are null for display.
// Only the lines that hold the pass's keyword tag are looked at closely; the
// others are copied, with the routine body's tab when rer asks for it.
void routinePass(QString& text, const QString& keywordTag, const Options& options, qint32* counter,
                 std::vector<FoundRoutine>* found) {
    const QStringMatcher matcher(keywordTag);
    qsizetype hit = matcher.indexIn(text, 0);
    if (hit < 0) return;  // the text stays exactly as it was
    const int kind = passKind(keywordTag);
    const Tags& t = tags();
    static const QString exitTag = taggedKeyword(QStringLiteral("Exit"));
    const QString anchorStart = t.marker + QLatin1Char('*');
    const bool bodyTabs = options.einr && options.rer;

    const QChar* d = text.constData();
    const qsizetype n = text.size();
    QString out;
    out.reserve(n + n / 8 + 64);
    bool open = false;
    qsizetype a = 0;
    for (qsizetype lineIndex = 0;; ++lineIndex) {
        const qsizetype b = lineEnd(d, n, a);
        const QStringView line(d + a, b - a);
        QString changed;
        bool isChanged = false;
        if (hit >= 0 && hit < b) {
            hit = matcher.indexIn(text, b);
            if (!line.contains(exitTag)) {
                if (open) {
                    // The End line.
                    changed = t.lineOpen + line.toString() + t.lineClose;
                    if (counter) changed.prepend(anchor('E', *counter));
                    isChanged = true;
                    open = false;
                } else {
                    const Head head = classifyHead(line, kind);
                    qint32 number = 0;
                    if (counter) {
                        if (*counter >= kMaxRoutineNumber)
                            throw ParseError(QStringLiteral("Zu viele Routinen (mehr als 8 Stellen)"));
                        number = ++*counter;
                    }
                    if (!head.skip) {
                        if (counter) {
                            FoundRoutine r;
                            r.number = number;
                            r.type = head.type;
                            r.visibility = visibilityOf(line);
                            r.headLines = physicalLines(line);
                            r.name = routineName(line, head.declaration, lineIndex);
                            found->push_back(std::move(r));
                        }
                        open = !head.declaration;
                        changed = t.lineOpen + line.toString() + t.lineClose;
                        if (counter) changed.prepend(anchor('A', number));
                        if (options.rle) changed.prepend(QLatin1String("\r\n"));
                        isChanged = true;
                    }
                }
            }
        }
        const QStringView current = isChanged ? QStringView(changed) : line;
        // The empty remainder after the final line break is no line of the
        // code; a tab there would leave the text without its final break.
        const bool remainder = b == n && line.isEmpty();
        if (bodyTabs && open && !remainder) {
            const bool marked = counter ? current.startsWith(anchorStart) : current.startsWith(t.lineOpen);
            if (!marked) out += QLatin1Char('\t');
        }
        out += current;
        if (b >= n) break;
        out += QLatin1String("\r\n");
        a = b + 2;
    }
    text = std::move(out);
}

// Copies s into the output undoing the transient tags. Called per chunk.
class Untagger {
public:
    explicit Untagger(qsizetype capacity) {
        out_.resize(capacity + 16);
        w_ = out_.data();
    }
    // Appends s[from, to) with the tags undone; returns the number of line
    // breaks that a continuation put in.
    qsizetype put(const QChar* p, qsizetype from, qsizetype to) {
        qsizetype breaks = 0;
        qsizetype i = from;
        while (i < to) {
            const char16_t c = p[i].unicode();
            // The three transient tags: "|Ÿu| ", "|Ÿd|" and "Ÿ|?".
            if (c == u'|' && i + 3 < to && p[i + 1].unicode() == kMarkerChar && p[i + 3] == u'|' &&
                p[i + 2] == u'u' && i + 4 < to && p[i + 4] == u' ') {
                write(u"_\r\n", 3);
                ++breaks;
                i += 5;
            } else if (c == u'|' && i + 3 < to && p[i + 1].unicode() == kMarkerChar && p[i + 3] == u'|' &&
                       p[i + 2] == u'd') {
                write(u"\"\"", 2);
                i += 4;
            } else if (c == kMarkerChar && i + 2 < to && p[i + 1] == u'|' && p[i + 2] == u'?') {
                *w_++ = QChar(kMarkerChar);
                i += 3;
            } else {
                *w_++ = p[i++];
            }
        }
        return breaks;
    }
    void putRaw(QStringView s) {
        std::copy(s.begin(), s.end(), w_);
        w_ += s.size();
    }
    QString take() {
        out_.truncate(w_ - out_.constData());
        return std::move(out_);
    }

private:
    void write(const char16_t* s, int len) {
        for (int k = 0; k < len; ++k) *w_++ = QChar(s[k]);
    }
    QString out_;
    QChar* w_ = nullptr;
};

FoundRoutine* routineNumbered(std::vector<FoundRoutine>& routines, qint64 number) {
    const auto it = std::lower_bound(routines.begin(), routines.end(), number,
                                     [](const FoundRoutine& r, qint64 n) { return r.number < n; });
    return it != routines.end() && it->number == number ? &*it : nullptr;
}

}  // namespace

void parseRoutines(QString& text, const QString& keywordTag, const Options& options, qint32& routineCounter,
                   std::vector<FoundRoutine>& found) {
    routinePass(text, keywordTag, options, &routineCounter, &found);
}

void tagRoutineLines(QString& text, const QString& keywordTag, const Options& options) {
    routinePass(text, keywordTag, options, nullptr, nullptr);
}

// The anchors stand at the beginning of lines of the tagged text, where the
// source's own marker characters are still escape tags; so a source line can
// never pass for an anchor. The escape tags are undone in the same copy, the
// last of the transient tags, so that a marker character of the source can
// never form a continuation or doubled-quote tag with what follows it.
void finishModuleText(const QString& tagged, ParsedModule& module) {
    const QChar* d = tagged.constData();
    const qsizetype n = tagged.size();
    const QString anchorStart = tags().marker + QLatin1Char('*');
    // Continuations grow from 5 to 3 characters plus nothing: the text never grows.
    Untagger out(n);
    qsizetype line = 1;  // 1-based line of the output being written
    qsizetype a = std::min<qsizetype>(2, n);  // the leading line break is dropped
    while (a <= n) {
        qsizetype b = lineEnd(d, n, a);
        qsizetype from = a;
        if (b - a >= kAnchorLength && QStringView(d + a, 2) == anchorStart) {
            const qint64 number = QStringView(d + a + 3, 8).toLongLong();
            if (FoundRoutine* r = routineNumbered(module.routines, number)) {
                if (d[a + 2] == u'A') r->start = int(line);
                else r->end = int(line);
            }
            from = a + kAnchorLength;
        }
        line += out.put(d, from, b);
        if (b >= n) break;
        out.putRaw(u"\r\n");
        ++line;
        a = b + 2;
    }
    module.text = out.take();
    module.lineCount = int(line - 1);
    // A declaration has no End line: it ends with its last physical line.
    for (FoundRoutine& r : module.routines)
        if (r.type > 10) r.end = r.start + (r.headLines - 1);
}

QString finishFragmentText(const QString& tagged) {
    // The text ends with its wrapping line break, or with a continuation that
    // took it in; either way its last two characters go after the untagging.
    Untagger out(tagged.size());
    out.put(tagged.constData(), std::min<qsizetype>(2, tagged.size()), tagged.size());
    QString text = out.take();
    text.chop(std::min<qsizetype>(2, text.size()));
    return text;
}

ParsedModule parseModule(const QString& code, const Options& options, qint32& routineCounter) {
    static const QString passes[3] = {taggedKeyword(QStringLiteral("Sub")), taggedKeyword(QStringLiteral("Function")),
                                      taggedKeyword(QStringLiteral("Property"))};
    ParsedModule module;
    QString tagged = tagText(code, options);
    for (const QString& pass : passes) parseRoutines(tagged, pass, options, routineCounter, module.routines);
    finishModuleText(tagged, module);
    return module;
}

void storeModule(const ParsedModule& module, WorkingStore& store) {
    // Many rows per statement: a module of some thousand routines would
    // otherwise spend most of its time preparing statements.
    constexpr size_t kRowsPerStatement = 64;
    const auto& rows = module.routines;
    for (size_t first = 0; first < rows.size(); first += kRowsPerStatement) {
        const size_t last = std::min(rows.size(), first + kRowsPerStatement);
        QString sql = QStringLiteral(
            "INSERT INTO td_rout (rou_num, mod_num, rou_name, rou_typ, rou_open, anz_dec_zeilen, rou_start, "
            "rou_ende) VALUES ");
        SqlParams params;
        params.reserve((last - first) * 8);
        for (size_t k = first; k < last; ++k) {
            const FoundRoutine& r = rows[k];
            sql += k == first ? QStringLiteral("(?,?,?,?,?,?,?,?)") : QStringLiteral(",(?,?,?,?,?,?,?,?)");
            params.push_back(qint64(r.number));
            params.push_back(qint64(store.moduleCounter));
            params.push_back(r.name);
            params.push_back(qint64(r.type));
            params.push_back(qint64(r.visibility));
            params.push_back(qint64(r.headLines));
            params.push_back(r.start > 0 ? SqlValue(qint64(r.start)) : SqlValue());
            params.push_back(r.end > 0 ? SqlValue(qint64(r.end)) : SqlValue());
        }
        store.execute(sql, params);
    }
    store.execute(QStringLiteral("INSERT INTO td_mod (mod_num, mod_name, mod_typ, mod_zeilen) VALUES (?,?,?,?)"),
                  {qint64(store.moduleCounter), store.currentModuleName, qint64(store.currentModuleType),
                   qint64(module.lineCount)});
}

}  // namespace lumo
