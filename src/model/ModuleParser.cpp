#include "model/ModuleParser.h"

#include <algorithm>
#include <limits>

#include <QStringMatcher>

#include "model/ParseError.h"
#include "model/TagCode.h"
#include "model/Tags.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

constexpr int kPropertyPass = 99;

// Writes the 12 characters of an anchor: marker, "*", kind, 8 digits, "|".
void putAnchor(QString& out, char kind, qint32 number) {
    QChar a[kAnchorLength] = {QChar(kMarkerChar), QChar(u'*'), QChar(char16_t(kind))};
    for (int k = 10; k >= 3; --k) {
        a[k] = QChar(char16_t(u'0' + number % 10));
        number /= 10;
    }
    a[11] = QChar(u'|');
    out.append(a, kAnchorLength);
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
    QString s;
    s.reserve(line.size());
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = line[i];
        if (taglayout::continuationAt(line.data(), n, i)) {
            i += kContinuationTagLength;
        } else if (taglayout::escapeAt(line.data(), n, i)) {
            s += c;
            i += 3;
        } else {
            if (c != u' ' && c != u'\t') s += c;
            ++i;
        }
    }
    return s;
}

// A routine may be named like a word of the keyword list (Random, Binary,
// Access): the name is then a tagged keyword itself, standing right after the
// word that introduces it, and nothing follows the last "|".
QString keywordAsName(const QString& rest) {
    const Tags& t = tags();
    if (!rest.endsWith(t.close)) return {};
    const QString inner = rest.chopped(t.close.size());
    const qsizetype k = inner.lastIndexOf(t.keyword);
    if (k < 0) return {};
    const QString before = inner.left(k);
    for (const char* head : {"Sub", "Function", "Get", "Let", "Set"})
        if (before.endsWith(taggedKeyword(QLatin1String(head)))) return inner.mid(k + t.keyword.size());
    return {};
}

QString nameBefore(const QString& squeezedLine, qsizetype cut) {
    const QString rest = squeezedLine.left(cut);
    const QString name = rest.mid(rest.lastIndexOf(QLatin1Char('|')) + 1);
    return name.isEmpty() ? keywordAsName(rest) : name;
}

// The tagged keywords of one line that decide what kind of line it is, and
// its continuation tags, found in one walk over the line. A line holds the
// tagged word W when keyword tag, W and close tag stand there in a row.
struct LineWords {
    bool exit = false, declare = false, get = false, set = false, let = false;
    bool isPrivate = false, isFriend = false;
    int continuations = 0;
};

LineWords wordsOf(QStringView line) {
    LineWords w;
    const QChar* p = line.data();
    const qsizetype n = line.size();
    for (qsizetype i = 0; i + 3 < n; ++i) {
        if (p[i] != u'|') continue;
        if (taglayout::continuationAt(p, n, i)) {
            ++w.continuations;
            i += kContinuationTagLength - 1;
            continue;
        }
        qsizetype start = 0, length = 0;
        if (!taglayout::taggedWordAt(p, n, i, start, length)) continue;
        const QStringView word(p + start, length);
        if (word == QLatin1String("Exit")) w.exit = true;
        else if (word == QLatin1String("Declare")) w.declare = true;
        else if (word == QLatin1String("Get")) w.get = true;
        else if (word == QLatin1String("Set")) w.set = true;
        else if (word == QLatin1String("Let")) w.let = true;
        else if (word == QLatin1String("Private")) w.isPrivate = true;
        else if (word == QLatin1String("Friend")) w.isFriend = true;
    }
    return w;
}

struct Head {
    int type = 0;
    bool skip = false;  // a Property line without Get, Let or Set
    bool declaration = false;
};

Head classifyHead(const LineWords& words, int kind) {
    Head h;
    if (words.declare) {
        h.declaration = true;
        h.type = declarationOf(kind);
        return h;
    }
    h.type = kind;
    if (kind == kPropertyPass) {
        // Tested in this order; a later hit overrides an earlier one.
        h.type = 0;
        if (words.get) h.type = RouPropertyGet;
        if (words.set) h.type = RouPropertySet;
        if (words.let) h.type = RouPropertyLet;
        h.skip = h.type == 0;
    }
    return h;
}

int visibilityOf(const LineWords& words) {
    int v = OpenPublic;
    if (words.isPrivate) v = OpenPrivate;
    if (words.isFriend) v = OpenFriend;  // tested after Private, so it wins
    return v;
}

// The physical line of the text at which the line lineIndex (counted from the
// wrapping line break, so 1 for the first line of the module) begins: each
// continuation before it stands for one more line.
int physicalLine(const QChar* d, qsizetype lineStart, qsizetype lineIndex) {
    qsizetype line = lineIndex;
    for (qsizetype i = 0; i < lineStart; ++i)
        if (d[i] == u'|' && taglayout::continuationAt(d, lineStart, i)) ++line;
    return int(std::min<qsizetype>(line, std::numeric_limits<int>::max()));
}

// The line is the one at lineStart of text; its physical line is counted
// only for the error, which would cost a walk over the text before it.
QString routineName(QStringView line, bool declaration, const QChar* text, qsizetype lineStart, qsizetype lineIndex) {
    const QString s = squeezed(line);
    if (declaration) {
        const qsizetype cut = s.indexOf(tags().keyword + QLatin1String("Lib"));
        if (cut < 0)
            throw ParseError(QStringLiteral("Declare ohne Lib"), physicalLine(text, lineStart, lineIndex));
        return nameBefore(s, cut);
    }
    const qsizetype cut = s.indexOf(QLatin1Char('('));
    if (cut < 0)
        throw ParseError(QStringLiteral("Routinenkopf ohne \"(\""), physicalLine(text, lineStart, lineIndex));
    return nameBefore(s, cut);
}

// The End of the pass's kind in a line (tagged End, the pass's keyword tag,
// only blanks or continuations between), and whether a colon stands right
// before one of them: then the line is a whole routine, head and End.
struct EndOfKind {
    bool any = false;
    bool afterColon = false;
};

EndOfKind endOfKindIn(QStringView line, QStringView keywordTag) {
    EndOfKind e;
    const QChar* p = line.data();
    const qsizetype n = line.size();
    QChar lastSignificant;
    auto skipBlanks = [&](qsizetype i) {
        while (i < n) {
            if (p[i] == u' ' || p[i] == u'\t') ++i;
            else if (taglayout::continuationAt(p, n, i)) i += kContinuationTagLength;
            else break;
        }
        return i;
    };
    for (qsizetype i = skipBlanks(0); i < n; i = skipBlanks(i)) {
        qsizetype start = 0, length = 0;
        if (p[i] == u'|' && taglayout::taggedWordAt(p, n, i, start, length)) {
            const qsizetype after = start + length + kKeptTagLength;
            if (QStringView(p + start, length) == QLatin1String("End") &&
                line.sliced(skipBlanks(after)).startsWith(keywordTag)) {
                e.any = true;
                if (lastSignificant == u':') e.afterColon = true;
            }
            lastSignificant = p[after - 1];
            i = after;
        } else {
            lastSignificant = p[i++];
        }
    }
    return e;
}

// What a line between two heads of one routine is: a conditional-compilation
// #If, an #Else or #ElseIf, another line that is no code (blank, a comment,
// #End If or #Const), or code.
enum class BetweenHeads { If, Else, NoCode, Code };

BetweenHeads betweenHeads(QStringView line) {
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i == line.size()) return BetweenHeads::NoCode;
    TagKind kind;
    if (taglayout::keptTagAt(line.data(), line.size(), i, kind) && kind == TagKind::Comment) return BetweenHeads::NoCode;
    if (line[i] != u'#') return BetweenHeads::Code;
    qsizetype e = i + 1;
    while (e < line.size() && (line[e].isLetterOrNumber() || line[e] == u'_')) ++e;
    const QStringView word = line.sliced(i + 1, e - i - 1);
    if (word.compare(QLatin1String("If"), Qt::CaseInsensitive) == 0) return BetweenHeads::If;
    for (const char* branch : {"ElseIf", "Else"})
        if (word.compare(QLatin1String(branch), Qt::CaseInsensitive) == 0) return BetweenHeads::Else;
    return BetweenHeads::NoCode;
}

const char* kindWord(int kind) {
    return kind == RouSub ? "Sub" : kind == RouFunction ? "Function" : "Property";
}

qsizetype lineEnd(const QChar* d, qsizetype n, qsizetype from) {
    const QStringView all(d, n);
    for (qsizetype i = all.indexOf(u'\r', from); i >= 0 && i + 1 < n; i = all.indexOf(u'\r', i + 1))
        if (d[i + 1] == u'\n') return i;
    return n;
}

// Appends to a buffer that grows by doubling, without QString's per-call checks.
class TextWriter {
public:
    explicit TextWriter(qsizetype capacity) {
        buf_.resize(capacity);
        w_ = buf_.data();
        end_ = w_ + buf_.size();
    }
    void put(QChar c) {
        if (w_ == end_) grow(1);
        *w_++ = c;
    }
    void put(QStringView s) {
        if (end_ - w_ < s.size()) grow(s.size());
        std::copy(s.begin(), s.end(), w_);
        w_ += s.size();
    }
    QString take() {
        buf_.truncate(w_ - buf_.constData());
        return std::move(buf_);
    }

private:
    void grow(qsizetype need) {
        const qsizetype used = w_ - buf_.constData();
        buf_.resize(std::max(2 * buf_.size(), used + need + 1024));
        w_ = buf_.data() + used;
        end_ = buf_.data() + buf_.size();
    }
    QString buf_;
    QChar* w_ = nullptr;
    QChar* end_ = nullptr;
};

// One walk shared by both variants; counter and found are null for display.
// Only the lines that hold the pass's keyword tag are looked at closely; the
// others are copied, with the routine body's tab when rer asks for it.
// With faults (module mode only) the walk reads on where the code cannot be
// split: a head without name, an End without head and a head never closed
// are recorded there instead of ending the parse, and the routines around
// them are kept.
void routinePass(QString& text, const QString& keywordTag, const Options& options, qint32* counter,
                 std::vector<FoundRoutine>* found, std::vector<ParseFault>* faults = nullptr) {
    const QStringMatcher matcher(keywordTag);
    qsizetype hit = matcher.indexIn(text, 0);
    if (hit < 0) return;  // the text stays exactly as it was
    const int kind = passKind(keywordTag);
    const Tags& t = tags();
    const QString anchorStart = t.marker + QLatin1Char('*');
    const bool bodyTabs = options.reindentBlocks && options.indentRoutineBodies;

    const QChar* d = text.constData();
    const qsizetype n = text.size();
    TextWriter out(n + n / 8 + 64);
    bool open = false;
    // Since the last head of the open routine: a conditional-compilation
    // branch, a line of code, an #Else or #ElseIf. A head after a branch and
    // no code, or after an #Else, is another head of the same routine (its
    // 32- and 64-bit forms, each with its own declarations).
    bool branchSeen = false;
    bool codeSeen = false;
    bool elseSeen = false;
    qsizetype openStart = 0, openIndex = 0;  // where the open routine's head line is
    const auto noEnd = [&] {
        faults->push_back({QStringLiteral("Routinenkopf ohne \"End %1\"").arg(QLatin1String(kindWord(kind))),
                           physicalLine(d, openStart, openIndex)});
    };
    qsizetype a = 0;
    for (qsizetype lineIndex = 0;; ++lineIndex) {
        const qsizetype b = lineEnd(d, n, a);
        const QStringView line(d + a, b - a);
        QString changed;
        bool isChanged = false;
        bool isHead = false;         // a head or End line: no code between heads
        bool isAlternative = false;  // another head of the open routine: no body tab
        if (hit >= 0 && hit < b) {
            hit = matcher.indexIn(text, b);
            const LineWords words = wordsOf(line);
            // A head or End line of an earlier pass ("Property Get X(): End
            // Function"): marked again, it would keep a stray anchor in the
            // text and lose the earlier routine its lines. Not a line of
            // this pass; when numbering, a fault of the code.
            const bool earlierPass = counter ? line.startsWith(anchorStart) : line.startsWith(t.lineOpen);
            if (earlierPass && counter) {
                const QString reason = QStringLiteral("\"%1\" in einer Zeile, die schon eine andere Routine "
                                                      "beginnt oder beendet")
                                           .arg(QLatin1String(kindWord(kind)));
                if (!faults) throw ParseError(reason, physicalLine(d, a, lineIndex));
                faults->push_back({reason, physicalLine(d, a, lineIndex)});
            }
            if (!words.exit && !earlierPass) {
                bool asHead = !open;
                if (open) {
                    const bool candidate = (branchSeen && !codeSeen) || elseSeen;
                    const bool holdsEnd = (candidate || faults) && endOfKindIn(line, keywordTag).any;
                    const bool alternative = candidate && !holdsEnd;
                    if (faults && !alternative && !holdsEnd) {
                        // Another head: the open routine was never closed.
                        noEnd();
                        open = false;
                        asHead = true;
                    } else {
                        changed.reserve(line.size() + kAnchorLength + 8);
                        if (alternative) {
                            branchSeen = codeSeen = elseSeen = false;
                            isAlternative = true;
                        } else {
                            // The End line.
                            if (counter) putAnchor(changed, 'E', *counter);
                            open = false;
                        }
                        changed += t.lineOpen;
                        changed += line;
                        changed += t.lineClose;
                        isChanged = isHead = true;
                    }
                }
                if (asHead) {
                    const Head head = classifyHead(words, kind);
                    bool faulty = false;
                    if (faults) {
                        const EndOfKind end = endOfKindIn(line, keywordTag);
                        QString reason;
                        if (end.any && !end.afterColon && !head.declaration) {
                            reason = QStringLiteral("\"End %1\" ohne Routinenkopf").arg(QLatin1String(kindWord(kind)));
                        } else if (!head.skip) {
                            try {
                                routineName(line, head.declaration, d, a, lineIndex);
                            } catch (const ParseError& e) {
                                reason = e.reason();
                            }
                        }
                        if (!reason.isEmpty()) {
                            faults->push_back({reason, physicalLine(d, a, lineIndex)});
                            faulty = true;
                        }
                    }
                    // A line that is no head after all draws no number: the
                    // numbers stay those of the routines stored, without gaps.
                    qint32 number = 0;
                    if (counter && !faulty && !head.skip) {
                        if (*counter >= kMaxRoutineNumber)
                            throw ParseError(QStringLiteral("Zu viele Routinen (mehr als 8 Stellen)"),
                                             physicalLine(d, a, lineIndex));
                        number = ++*counter;
                    }
                    if (!head.skip && !faulty) {
                        if (counter) {
                            FoundRoutine r;
                            r.number = number;
                            r.type = head.type;
                            r.visibility = visibilityOf(words);
                            r.headLines = words.continuations + 1;
                            r.name = routineName(line, head.declaration, d, a, lineIndex);
                            found->push_back(std::move(r));
                        }
                        const bool oneLine = !head.declaration && endOfKindIn(line, keywordTag).afterColon;
                        open = !head.declaration && !oneLine;
                        branchSeen = codeSeen = elseSeen = false;
                        openStart = a;
                        openIndex = lineIndex;
                        changed.reserve(line.size() + kAnchorLength + 10);
                        if (options.blankLineBeforeRoutines) changed += QLatin1String("\r\n");
                        if (counter) putAnchor(changed, oneLine ? 'B' : 'A', number);
                        changed += t.lineOpen;
                        changed += line;
                        changed += t.lineClose;
                        isChanged = isHead = true;
                    }
                }
            }
        }
        if (open && !isHead && (!codeSeen || !elseSeen)) {
            const BetweenHeads kindOfLine = betweenHeads(line);
            if (kindOfLine == BetweenHeads::If) branchSeen = true;
            else if (kindOfLine == BetweenHeads::Else) branchSeen = elseSeen = true;
            else if (kindOfLine == BetweenHeads::Code) codeSeen = true;
        }
        const QStringView current = isChanged ? QStringView(changed) : line;
        // The empty remainder after the final line break is no line of the
        // code; a tab there would leave the text without its final break.
        const bool remainder = b == n && line.isEmpty();
        if (bodyTabs && open && !remainder) {
            const bool marked = counter ? current.startsWith(anchorStart) : current.startsWith(t.lineOpen);
            if (!marked && !isAlternative) out.put(QChar(u'\t'));
        }
        out.put(current);
        if (b >= n) break;
        out.put(QStringView(u"\r\n"));
        a = b + 2;
    }
    if (faults && open) noEnd();
    text = out.take();
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
            // The three transient tags.
            if (c == u'|' && taglayout::continuationAt(p, to, i)) {
                write(u"_\r\n", 3);
                ++breaks;
                i += kContinuationTagLength;
            } else if (c == u'|' && taglayout::doubleQuoteAt(p, to, i)) {
                write(u"\"\"", 2);
                i += 4;
            } else if (c == kMarkerChar && taglayout::escapeAt(p, to, i)) {
                // The stored form "Ÿ?" can never be part of a tag, so source
                // text shaped like one stays text (TaggedText.h).
                write(u"\u0178?", 2);
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
// never pass for an anchor. In the same copy each escape tag becomes the
// stored escape "Ÿ?" (its readers show the marker character alone), so that
// a marker character of the source can never form a tag with what stands
// around it.
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
                // A: head, E: End, B: both on one line.
                if (d[a + 2] != u'E') r->start = int(line);
                if (d[a + 2] != u'A') r->end = int(line);
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
        if (isDeclaration(r.type)) r.end = r.start + (r.headLines - 1);
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

namespace {

ParsedModule parseWith(const QString& code, const Options& options, qint32& routineCounter,
                       std::vector<ParseFault>* faults = nullptr) {
    static const QString passes[3] = {taggedKeyword(QStringLiteral("Sub")), taggedKeyword(QStringLiteral("Function")),
                                      taggedKeyword(QStringLiteral("Property"))};
    ParsedModule module;
    QString tagged = tagText(code, options);
    for (const QString& pass : passes)
        routinePass(tagged, pass, options, &routineCounter, &module.routines, faults);
    finishModuleText(tagged, module);
    return module;
}

// Blank lines taken out (leer) or put in by an earlier pass (rle) shift the
// lines the passes count; without them the same fault is met on the line of
// the module as the user sees it in the editor.
bool linesShift(const Options& options) { return options.blankLineBeforeRoutines || options.removeBlankLines; }

Options withoutShift(const Options& options) {
    Options plain = options;
    plain.blankLineBeforeRoutines = false;
    plain.removeBlankLines = false;
    return plain;
}

}  // namespace

ParsedModule parseModule(const QString& code, const Options& options, qint32& routineCounter) {
    const qint32 counterBefore = routineCounter;
    try {
        return parseWith(code, options, routineCounter);
    } catch (const ParseError& e) {
        if (e.line() == 0 || !linesShift(options)) throw;
        qint32 scratch = counterBefore;
        try {
            parseWith(code, withoutShift(options), scratch);
        } catch (const ParseError& again) {
            if (again.line() > 0) throw ParseError(e.reason(), again.line());
        }
        throw;
    }
}

ParsedModule parseModuleAsFarAsPossible(const QString& code, const Options& options, qint32& routineCounter,
                                        std::vector<ParseFault>& faults) {
    const qint32 counterBefore = routineCounter;
    faults.clear();
    ParsedModule module = parseWith(code, options, routineCounter, &faults);
    if (linesShift(options) && !faults.empty()) {
        qint32 scratch = counterBefore;
        std::vector<ParseFault> plain;
        parseWith(code, withoutShift(options), scratch, &plain);
        if (plain.size() == faults.size()) faults = std::move(plain);
    }
    std::stable_sort(faults.begin(), faults.end(),
                     [](const ParseFault& x, const ParseFault& y) { return x.line < y.line; });
    return module;
}

void storeModule(const ParsedModule& module, WorkingStore& store) {
    insertModule(store, ModuleRow{store.moduleCounter, store.currentModuleName, store.currentModuleType, module.lineCount},
                 module.routines);
}

}  // namespace lumo
