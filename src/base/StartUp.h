#pragma once
// The first steps of a run: the shared state before any window exists.
#include <QString>

namespace lumo {

// Where a run keeps its files. Empty fields take the platform's places: the
// folder of the shipped files (beside the executable, or the installed share
// folder), the per-user data folder (or $LUMO_DATA_DIR) and the per-user
// settings store (or the INI file $LUMO_SETTINGS_FILE).
struct StartupPaths {
    QString programFolder;  // taken as given, without the lookup
    QString dataFolder;    // TempRoot is this + "/TempDateien/"
    QString settingsFile;
};

// Fills appState(): host, settings name, title, folders, option defaults and
// the stored project folder. Creates TempRoot (errors ignored). Keeps appState().ui.
void initSharedState(const StartupPaths& paths = {});

}  // namespace lumo
