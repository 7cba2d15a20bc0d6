#pragma once
// The one QApplication of the GUI test program; every GUI test calls guiApp()
// first instead of making its own.
#include <QApplication>

namespace lumo::test {

inline QApplication& guiApp() {
    static int argc = 1;
    static char name[] = "lumo_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace lumo::test
