#pragma once
// The one QApplication of the GUI test program; every GUI test calls guiApp()
// first instead of making its own.
#include <QApplication>

namespace lumo::test {

inline QApplication& guiApp() {
    static int argc = 1;
    static char name[] = "lumo_gui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: a static QApplication would be torn down after Qt's
    // own globals (the input device registry) and crash the exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace lumo::test
