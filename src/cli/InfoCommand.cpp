// "codelumo-cli info": where this edition keeps its files and settings, and
// the options in force.
#include <QFileInfo>
#include <QTextStream>

#include "base/AppState.h"
#include "base/OptionsStore.h"
#include "base/Settings.h"
#include "base/StartUp.h"
#include "cli/CliCommand.h"
#include "model/WorkingStore.h"

namespace {

int showInfo(const QStringList&) {
    using namespace lumo;
    initSharedState();
    const QString problem = settingsFileProblem();
    if (!problem.isEmpty()) {
        QTextStream(stderr) << problem << "\n";
        return 1;
    }
    Options& o = appState().options;
    loadOptions(o);
    const AppState& s = appState();
    const QString tmpl = WorkingStore::instance().templatePath();
    QTextStream out(stdout);
    out << s.titleText << " (" << s.hostCode << ")\n"
        << "Programmordner:  " << s.programFolder << "\n"
        << "Vorlage:         " << tmpl << (QFileInfo::exists(tmpl) ? "" : "  (fehlt)") << "\n"
        << "Temporär:        " << s.tempRoot << "\n"
        << "Einstellungen:   " << settingsLocation() << "\n"
        << "Projektordner:   " << o.projectFolder << "\n"
        << "Webseite:        " << (o.makerWebPage.isEmpty() ? QStringLiteral("(keine)") : o.makerWebPage) << "\n"
        << "Schrift:         " << encodeFont(o.fontName, o.fontSize) << ", Tabstopp " << o.tabStopMm << " mm\n"
        << "Einrücken " << encodeBool(o.reindentBlocks) << ", Leerzeilen entfernen " << encodeBool(o.removeBlankLines)
        << ", Routinen fett " << encodeBool(o.boldRoutineLines) << "\n";
    return 0;
}

lumo::cli::CliRegistration reg{{"info", "info", "              Ordner, Einstellungen und Optionen anzeigen", showInfo}};

}  // namespace
