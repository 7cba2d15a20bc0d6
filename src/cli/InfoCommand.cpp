// "codelumo-cli info": where this edition keeps its files and settings, and
// the options in force.
#include <QFileInfo>
#include <QTextStream>

#include "base/AppState.h"
#include "base/OptionsStore.h"
#include "base/Settings.h"
#include "base/StartUp.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "model/WorkingStore.h"
#include "render/CodePage.h"

namespace {

int showInfo(const QStringList&) {
    using namespace lumo;
    if (!cli::initCliState()) return 1;
    const Options& o = appState().options;
    const int codePage = codePageOfName(o.codePage);
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
        << ", Routinen fett " << encodeBool(o.boldRoutineLines) << "\n"
        << "Codepage:        "
        << (codePage != 0 ? o.codePage
                          : o.codePage + QStringLiteral(" (unbekannt; es gilt ") + nameOfCodePage(codePageInForce()) + ')')
        << " (für Moduldateien und Dateinamen, die kein UTF-8 sind)\n";
    return 0;
}

lumo::cli::CliRegistration reg{{"info", "info", "              Ordner, Einstellungen und Optionen anzeigen", showInfo}};

}  // namespace
