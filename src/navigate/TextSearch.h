#pragma once
// Text search in the shown module or, with project search on, in every
// module: from the top (Search, F3) or from the caret (Search from
// position, Ctrl+F3). The code views' own find is used, so the search is
// case-insensitive and sees the displayed code. A hit becomes the selection
// and the status panels follow it.
#include <optional>

#include <QString>

namespace lumo {

class CodeWindow;
class Ui;

struct SearchSwitches {
    bool project = false;    // every module, in the order they were read
    bool wholeWord = false;  // the view's whole-word rule
};

// The search text as the box keeps it: without leading and trailing blanks.
QString trimmedSearchText(const QString& text);

// Both commands; `boxText` is the search box's content and gets the
// trimmed text back. An empty text is ignored without a word.
void searchCommand(CodeWindow& window, QString& boxText, SearchSwitches switches, Ui& ui);
void searchFromPositionCommand(CodeWindow& window, QString& boxText, SearchSwitches switches, Ui& ui);

// The warning of Search when nothing is found, in the module or in the project.
QString searchNotFoundMessage(bool project);

// The selection of the visible view, trimmed, for the search box; nothing
// when there is no selection.
std::optional<QString> selectionForSearch(CodeWindow& window);

}  // namespace lumo
