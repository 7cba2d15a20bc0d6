#pragma once
// All hits of a search at once: where Search and Search from position step
// from hit to hit, this lists every one (module, line, the line's text) to
// jump to. The hits are those the stepping finds: the displayed code,
// case-insensitive, whole words by the code view's rule.
#include <functional>
#include <vector>

#include <QString>

#include "navigate/TextSearch.h"

namespace lumo {

class CodeWindow;
class Ui;

struct SearchHit {
    int module = 0;    // 0-based index of the code view, as CurrentModule
    int line = 0;      // 1-based
    int position = 0;  // of the hit in the view's text (a line break counting two); -1: by column
    int length = 0;
    QString text;      // the whole line
    int column = 0;    // 1-based, where position is -1 (found without the view's text)
    bool declaration = false;  // a reference list's declaring place
};

// A character that continues a word for the whole-word switch: letters of
// any alphabet, digits and "_", as the code view's find has it.
bool isSearchWordChar(QChar c);

// The hits of `what` in `text` (lines joined with CR LF), in text order;
// a hit begins after the previous one begins, so overlapping hits all count.
std::vector<SearchHit> hitsInText(const QString& text, const QString& what, bool wholeWord, int module);
// The same hits one by one, none kept: a module of millions of hits is
// listed within the memory its text takes.
void forEachHitInText(const QString& text, const QString& what, bool wholeWord, int module,
                      const std::function<void(const SearchHit&)>& take);

// The hits in the shown module or, with project search on, in every module
// from the first, each a step of the window's progress (none when stopped);
// `what` as the search box gives it (it is trimmed here).
std::vector<SearchHit> searchHits(CodeWindow& window, const QString& what, SearchSwitches switches);

// The command: refused in the zoom view as the search is; `boxText` gets
// the trimmed text back. Without a hit the user gets Search's warning and
// the list is empty; an empty text and a stopped search end without a word.
std::vector<SearchHit> allHitsCommand(CodeWindow& window, QString& boxText, SearchSwitches switches, Ui& ui);

// Shows the hit's module, selects the hit and lets the panels follow it, as
// a hit of Search does; the hit's line stands about a third down the view.
void goToHit(CodeWindow& window, const SearchHit& hit);

}  // namespace lumo
