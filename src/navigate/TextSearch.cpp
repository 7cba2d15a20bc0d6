#include "navigate/TextSearch.h"

#include "base/Ui.h"
#include "navigate/Definition.h"
#include "navigate/StoredTextSearch.h"
#include "view/CodeWindow.h"
#include "view/TextView.h"

namespace lumo {

namespace {

const QString kNotInModule = QStringLiteral("Der Suchtext\r\nwurde im Modul nicht gefunden .\r\n");
const QString kNotInProject = QStringLiteral("Der Suchtext wurde im gesamten Projekt nicht gefunden");
const QString kNotAfterPosition =
    QStringLiteral("Der Suchtext\r\nwurde ausgehend von  der letzten Position \r\nim Modul nicht gefunden .\r\n");
const QString kNotFound = QStringLiteral("Der Suchtext wurde nicht gefunden");

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The common start of both commands: the refusal in the zoom view, and the
// trimmed text, empty when there is nothing to search.
QString prepare(CodeWindow& window, QString& boxText, Ui& ui) {
    if (window.zoomOn()) {
        ui.message(zoomRefusal(), {}, MsgIcon::Information);
        return {};
    }
    boxText = trimmedSearchText(boxText);
    return boxText;
}

bool lacks(CodeWindow& window, int index, const QString& what, StoredTextSearch& search) {
    std::optional<bool> holds;
    if (const std::optional<QByteArray> stored = window.storedModuleText(index)) holds = search.holds(*stored);
    return holds ? !*holds : !window.moduleText(index).contains(what, Qt::CaseInsensitive);
}

bool findIn(CodeWindow& window, int index, const QString& what, int start, bool wholeWord, StoredTextSearch& search) {
    // A module whose text lacks the word is passed without making its view.
    if (index != window.currentModule() && lacks(window, index, what, search)) return false;
    TextView* view = window.codeView(index);
    return view && view->find(what, start, wholeWord) >= 0;
}

void showHit(CodeWindow& window, int index) {
    if (index != window.currentModule()) window.showModule(index);
    window.focusVisibleView();
    window.showCaretLocation();
}

void notFound(CodeWindow& window, const QString& warning, Ui& ui) {
    ui.message(warning, {}, MsgIcon::Warning);
    window.focusVisibleView();
}

}  // namespace

QString searchNotFoundMessage(bool project) {
    return project ? kNotInProject : kNotInModule;
}

QString trimmedSearchText(const QString& text) {
    qsizetype a = 0;
    qsizetype b = text.size();
    while (a < b && isBlank(text.at(a))) ++a;
    while (b > a && isBlank(text.at(b - 1))) --b;
    return text.mid(a, b - a);
}

void searchCommand(CodeWindow& window, QString& boxText, SearchSwitches switches, Ui& ui) {
    const QString what = prepare(window, boxText, ui);
    if (what.isEmpty()) return;
    StoredTextSearch search(what, false);
    if (!switches.project) {
        if (findIn(window, window.currentModule(), what, 0, switches.wholeWord, search))
            showHit(window, window.currentModule());
        else
            notFound(window, kNotInModule, ui);
        return;
    }
    // Always from the first module, whichever is shown.
    const int count = window.moduleCount();
    for (int i = 0; i < count; ++i) {
        if (!window.progress().step(i + 1, count, {})) return;
        if (findIn(window, i, what, 0, switches.wholeWord, search)) {
            showHit(window, i);
            return;
        }
    }
    notFound(window, kNotInProject, ui);
}

void searchFromPositionCommand(CodeWindow& window, QString& boxText, SearchSwitches switches, Ui& ui) {
    const QString what = prepare(window, boxText, ui);
    if (what.isEmpty()) return;
    StoredTextSearch search(what, false);
    const int current = window.currentModule();
    // One past the caret: a hit is selected from its start, so repeating the
    // command steps through every hit.
    const int from = window.visibleView().selStart() + 1;
    if (findIn(window, current, what, from, switches.wholeWord, search)) {
        showHit(window, current);
        return;
    }
    if (!switches.project) {
        notFound(window, kNotAfterPosition, ui);
        return;
    }
    // The modules after the shown one, then from the first round to the shown
    // one again, whose hits before the caret are thus found last.
    const int count = window.moduleCount();
    int done = 0;
    for (int i = current + 1; i < count; ++i) {
        if (!window.progress().step(++done, count, {})) return;
        if (findIn(window, i, what, 0, switches.wholeWord, search)) {
            showHit(window, i);
            return;
        }
    }
    for (int i = 0; i <= current; ++i) {
        if (!window.progress().step(++done, count, {})) return;
        if (findIn(window, i, what, 0, switches.wholeWord, search)) {
            showHit(window, i);
            return;
        }
    }
    notFound(window, kNotFound, ui);
}

std::optional<QString> selectionForSearch(CodeWindow& window) {
    TextView& view = window.visibleView();
    if (view.selLength() <= 0) return std::nullopt;
    return trimmedSearchText(view.selText());
}

}  // namespace lumo
