#pragma once
// The help page "Code Lumo.html" beside the program, shown in the desktop's
// browser: the F1 key and the about box open it.
#include <QString>

namespace lumo {

class Ui;

// The page in the shipped files' folder (AppState::programFolder).
QString helpPageFile();

// Opens the page; says so when it is missing or cannot be shown.
void openHelpPage(Ui& ui);

}  // namespace lumo
