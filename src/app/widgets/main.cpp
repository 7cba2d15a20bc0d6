// codelumo: the desktop program. Command line: documents or folders of
// exported modules to open, and "/a" for the compact window.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/widgets/MainWindow.h"
#include "base/AppState.h"
#include "base/StartUp.h"
#include "base/widgets/QtUi.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Lets the desktop pair the window with the menu entry codelumo.desktop
    // (its icon and name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("codelumo"));
    // Qt's own dialogs (file chooser, input box) in German like the rest of
    // the program, when the translations are installed.
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtGerman);
    lumo::initSharedState();
    lumo::QtUi ui;
    lumo::appState().ui = &ui;
    lumo::MainWindow window;
    ui.setOwner(&window);
    window.loadMainWindow(QApplication::arguments().mid(1));
    const int rc = QApplication::exec();
    lumo::appState().ui = nullptr;
    return rc;
}
