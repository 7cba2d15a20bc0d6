#pragma once
// The folder chooser as every caller uses it: a title line, a start folder
// that is preselected when it exists, and the chosen folder's full path back.
#include <QString>

namespace lumo {

class Ui;

// The chosen folder without trailing separator (the root stays "/"), or ""
// when the user cancels.
QString browseForFolder(Ui& ui, const QString& title, const QString& startFolder);

}  // namespace lumo
