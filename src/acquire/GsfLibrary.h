#pragma once
// libgsf, and with it GObject, GIO, libxml2 and more, is loaded when the
// first Office file is read, not when a program starts: most runs read
// none, and loading those libraries cost about a quarter of every start.
// The program is linked against this file's stand-ins for the few libgsf
// and GObject functions it calls; each finds the real one on first use.
#include <QString>

namespace lumo {

// Loads the library once. False, with the loader's own words, when it
// cannot be loaded; then no libgsf function may be called.
bool loadGsfLibrary(QString* why);

}  // namespace lumo
