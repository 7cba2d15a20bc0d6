#include "navigate/SearchHits.h"

#include <algorithm>

#include "base/Ui.h"
#include "navigate/Definition.h"
#include "navigate/RoutineLocation.h"
#include "navigate/StoredTextSearch.h"
#include "view/CodeWindow.h"
#include "view/TextView.h"

namespace lumo {

bool isSearchWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

std::vector<SearchHit> hitsInText(const QString& text, const QString& what, bool wholeWord, int module) {
    std::vector<SearchHit> hits;
    forEachHitInText(text, what, wholeWord, module, [&hits](const SearchHit& h) { hits.push_back(h); });
    return hits;
}

void forEachHitInText(const QString& text, const QString& what, bool wholeWord, int module,
                      const std::function<void(const SearchHit&)>& take) {
    if (what.isEmpty()) return;
    const qsizetype n = text.size();
    int line = 1;
    qsizetype lineStart = 0;  // of `line`
    for (qsizetype at = text.indexOf(what, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(what, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + what.size();
        if (wholeWord && ((at > 0 && isSearchWordChar(text.at(at - 1))) || (end < n && isSearchWordChar(text.at(end)))))
            continue;
        for (qsizetype nl = text.indexOf(QLatin1String("\r\n"), lineStart); nl >= 0 && nl < at;
             nl = text.indexOf(QLatin1String("\r\n"), lineStart)) {
            ++line;
            lineStart = nl + 2;
        }
        qsizetype lineEnd = text.indexOf(QLatin1String("\r\n"), lineStart);
        if (lineEnd < 0) lineEnd = n;
        take({module, line, int(at), int(what.size()), text.mid(lineStart, lineEnd - lineStart)});
    }
}

std::vector<SearchHit> searchHits(CodeWindow& window, const QString& what, SearchSwitches switches) {
    const QString trimmed = trimmedSearchText(what);
    std::vector<SearchHit> hits;
    const int first = switches.project ? 0 : window.currentModule();
    const int last = switches.project ? window.moduleCount() - 1 : window.currentModule();
    if (trimmed.isEmpty()) return hits;
    StoredTextSearch search(trimmed, switches.wholeWord);
    for (int i = first; i <= last; ++i) {
        if (switches.project && !window.progress().step(i + 1, last + 1, {})) return {};
        std::optional<std::vector<SearchHit>> more;
        if (const std::optional<QByteArray> stored = window.storedModuleText(i)) more = search.hits(*stored, i);
        if (!more) more = hitsInText(window.moduleText(i), trimmed, switches.wholeWord, i);
        hits.insert(hits.end(), std::make_move_iterator(more->begin()), std::make_move_iterator(more->end()));
    }
    return hits;
}

std::vector<SearchHit> allHitsCommand(CodeWindow& window, QString& boxText, SearchSwitches switches, Ui& ui) {
    if (window.zoomOn()) {
        ui.message(zoomRefusal(), {}, MsgIcon::Information);
        return {};
    }
    boxText = trimmedSearchText(boxText);
    if (boxText.isEmpty()) return {};
    std::vector<SearchHit> hits = searchHits(window, boxText, switches);
    if (hits.empty() && !window.progress().stopped()) {
        ui.message(searchNotFoundMessage(switches.project), {}, MsgIcon::Warning);
        window.focusVisibleView();
    }
    return hits;
}

void goToHit(CodeWindow& window, const SearchHit& hit) {
    if (hit.module != window.currentModule()) window.showModule(hit.module);
    TextView& view = window.visibleView();
    if (hit.position >= 0) {
        view.setSelStart(hit.position);
    } else {
        goToLine(view, hit.line);
        view.moveUpTo(QStringLiteral("\r\n"), false, false);
        view.setSelStart(view.selStart() + std::max(hit.column - 1, 0));
    }
    view.setSelLength(hit.length);
    view.revealLine(hit.line - 1, hit.line - 1);
    window.focusVisibleView();
    window.showCaretLocation();
}

}  // namespace lumo
