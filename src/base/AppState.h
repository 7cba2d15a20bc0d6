#pragma once
// The shared state of one run: fixed at start-up, read everywhere.
#include <QString>

#include "base/Options.h"

namespace lumo {

class Ui;


struct AppState {
    int hostKind = LUMO_HOST_KIND;
    QString hostName;         // "Word"
    QString hostCode;         // "QDL"
    QString settingsAppName;  // "RX_Lumo\Co_Lum_Word"
    QString titleText;        // "Word Code Lumo 1.0"
    QString programFolder;    // folder of the template and the help page, with trailing "/" (ProgramFolder.h)
    QString settingsFile;     // "" = the platform's per-user store; else this INI file (tests, portable use)
    QString tempRoot;         // per-user writable folder + "TempDateien/"
    QString workFolder;       // always ends with "/"
    QString runFolder;        // ends with "/"; never moves once made
    Options options;
    bool exportModuleHeadings = true;
    Ui* ui = nullptr;         // the UI interface every command talks through
};

// The one process-wide instance.
AppState& appState();

}  // namespace lumo
