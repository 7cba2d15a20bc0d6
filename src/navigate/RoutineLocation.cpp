#include "navigate/RoutineLocation.h"

#include <stdexcept>

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "navigate/CommentBlock.h"
#include "view/TextView.h"

namespace lumo {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
// A word ends at a blank; it also ends at the line end, or an empty or
// one-word line would select into the next line (and a zoom block ending on
// such a line would take the next line with it).
const QString kWordEnd = QStringLiteral(" \r\n");

// The bisection gives up after this many misses: only a line beyond the end
// of the text is never reached.
constexpr int kMaxMisses = 1000;

// x / 2 rounded to the nearest integer, halves to the even neighbour.
int halfToEven(int x) {
    const int k = x / 2;  // x is never negative
    if (x % 2 == 0) return k;
    return (k % 2 == 0) ? k : k + 1;
}

void stepBackOverOneLineBreak(TextView& view) {
    const QString text = view.text();
    int pos = view.selStart();
    if (pos > 0 && text.at(pos - 1) == QLatin1Char('\n')) --pos;
    if (pos > 0 && text.at(pos - 1) == QLatin1Char('\r')) --pos;
    view.setSelStart(pos);
}

// The line start of the caret's line, then its first word selected.
void selectFirstWord(TextView& view) {
    view.moveUpTo(kLineBreak, false, false);
    view.span(kWordEnd, true, true);
}

// The caret's line (1-based `line`) placed in view with the comment block
// above it. Lines above are read backwards from the caret's line start, as
// far as the block goes.
void revealWithComments(TextView& view, int line) {
    const QString text = view.text();
    int start = view.selStart();  // the line start, where selectFirstWord left it
    int startLine = line;
    auto lineText = [&](int n) -> QString {
        while (startLine > n && start > 0) {
            // back over one line break to the previous line's start
            int end = start;
            if (end > 0 && text.at(end - 1) == u'\n') --end;
            if (end > 0 && text.at(end - 1) == u'\r') --end;
            start = end > 0 ? int(text.lastIndexOf(u'\n', end - 1)) + 1 : 0;
            --startLine;
            if (startLine == n) return text.mid(start, end - start);
        }
        return QString();
    };
    view.revealLine(line - 1, commentBlockStart(lineText, line) - 1);
}

}  // namespace

void goToLine(TextView& view, int line) {
    const int length = view.length();
    int lo = 0;
    int hi = length;
    // Starting at the end makes the view scroll back up to the target, which
    // then appears at the top of the pane instead of the bottom.
    view.setSelStart(hi);
    int x = hi;
    int misses = 0;
    for (;;) {
        const int mid = halfToEven(x);
        const int l = view.lineOfPosition(mid);
        if (line == l + 1 || line == l) {
            view.setSelStart(mid);
            if (line == l) {
                // mid lies on the line after the target: back to the end of the
                // target. Only one line break is crossed; skipping every break
                // character would overshoot an empty target line.
                view.moveUpTo(kLineBreak, false, false);
                stepBackOverOneLineBreak(view);
            }
            selectFirstWord(view);
            revealWithComments(view, line);
            return;
        }
        if (++misses > kMaxMisses) {
            view.setSelStart(length);
            return;
        }
        if (line < l)
            hi = mid;
        else
            lo = mid;
        x = lo + hi;
    }
}

void markLineStart(TextView& view) {
    selectFirstWord(view);
}

void goToRoutine(TextView& view, WorkingStore& store, int routineNumber) {
    if (const auto r = routineByNumber(store, routineNumber)) goToLine(view, r->start);
}

bool zoomToRoutine(TextView& code, TextView& zoom, WorkingStore& store, int moduleNumber, int line, Ui& ui) {
    try {
        int first = 0;
        int last = 0;
        if (const auto r = routineCoveringLine(store, moduleNumber, line)) {
            first = r->start;
            last = r->end;
        } else {
            const auto end = declarationsEnd(store, moduleNumber);
            if (!end)
                throw std::runtime_error("Das Modul enthält keine Routinen, es gibt keinen Block zum Anzeigen.");
            first = 1;
            last = *end;
            // A module whose first routine starts on line 1 has no declarations
            // part; a selection of negative length would show garbage.
            if (last < first) throw std::runtime_error("Das Modul hat keinen Deklarationsteil.");
        }
        goToLine(code, first);
        const int p0 = code.selStart();
        goToLine(code, last);
        code.moveUpTo(kLineBreak, true, false);
        const int p1 = code.selStart();
        code.setSelStart(p0);
        code.setSelLength(p1 - p0);
        zoom.setRtf(code.selRtf());
        code.setSelLength(1);
        return true;
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()));
        return false;
    }
}

std::optional<RoutineHit> routineAtLine(WorkingStore& store, int line, int moduleNumber) {
    const auto r = routineCoveringLine(store, moduleNumber, line);
    if (!r) return std::nullopt;
    return RoutineHit{r->name, r->number, r->type, r->visibility};
}

QString routineNameAtLine(WorkingStore& store, int line, int moduleNumber) {
    const auto r = routineCoveringLine(store, moduleNumber, line);
    return r ? r->name : QString();
}

int keyNumber(const QString& key) {
    return key.mid(1).toInt();
}

CallerScope callerScope(const RoutineRow& asked) {
    if (isProperty(asked.type)) return CallerScope::Refused;
    return asked.visibility == OpenPrivate ? CallerScope::OwnModule : CallerScope::AllModules;
}

RoutineLookup routineByName(WorkingStore& store, const QString& name, int moduleNumber, Ui& ui) {
    try {
        const auto row = routineByNameInModule(store, name, moduleNumber);
        if (!row) {
            ui.message(QStringLiteral("Infos zu Routine nicht gefunden"), {}, MsgIcon::Warning);
            return {};
        }
        const CallerScope scope = callerScope(*row);
        if (scope == CallerScope::Refused) {
            ui.message(QStringLiteral("Property wird von der Routinensuche nicht unterstützt"), {}, MsgIcon::Warning);
            return {};
        }
        RoutineLookup r;
        r.routineNumber = row->number;
        r.result = scope == CallerScope::OwnModule ? 1 : 2;
        return r;
    } catch (const std::exception&) {
        ui.message(QStringLiteral("Routine nicht gefunden"));
        return {};
    }
}

std::optional<int> CaretTracker::changedLine(const TextView& view, bool codeShown) {
    if (!codeShown || view.length() == 0) return std::nullopt;
    const int line = view.lineOfPosition(view.selStart());
    if (line == lastStatusLine_) return std::nullopt;
    lastStatusLine_ = line;
    return line;
}

int CaretTracker::take(const TextView& view) {
    lastStatusLine_ = view.lineOfPosition(view.selStart());
    return lastStatusLine_;
}

}  // namespace lumo
