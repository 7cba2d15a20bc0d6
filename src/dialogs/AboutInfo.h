#pragma once
// The texts of the about box: what it names and the system information it shows.
#include <QString>

namespace lumo {

struct AppState;

// Program name and version, a line on what it does.
QString aboutText(const AppState& state);
// Qt version, operating system, and where settings, working and temporary
// files are, one item a line (CR LF).
QString systemInformation(const AppState& state);

}  // namespace lumo
