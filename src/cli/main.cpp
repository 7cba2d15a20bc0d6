// codelumo-cli: the headless entry. One subcommand per file (CliCommand.h).
#include <cstdio>

#include <QTextStream>

#include "cli/CliCommand.h"
#include "cli/CliState.h"

namespace lumo::cli {

std::vector<CliCommand>& commands() {
    static std::vector<CliCommand> all;
    return all;
}

}  // namespace lumo::cli

// No application object: nothing here needs an event loop, and making one
// (locale, plug-in paths, the event dispatcher) costs about a millisecond of
// every run, a seventh of reading a small document.
int main(int argc, char** argv) {
    QTextStream err(stderr);
    QString problem;
    QStringList args = lumo::cli::takeGlobalOptions(argc, argv, &problem);
    if (!problem.isEmpty()) {
        err << problem << "\n";
        return 2;
    }
    if (args.isEmpty() || args.first() == "help" || args.first() == "--help") {
        QTextStream out(stdout);
        out << "codelumo-cli: Word Code Lumo ohne Fenster\n";
        for (const auto& c : lumo::cli::commands()) out << "  codelumo-cli " << c.usage << c.about << "\n";
        out << "  Vor oder nach jedem Befehl: --codepage NAME  Codepage für Moduldateien und Dateinamen, die kein "
               "UTF-8 sind\n"
               "                    (windows-1252, windows-1250, shift_jis, ...; sonst die Einstellung »codepage«)\n";
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const auto& c : lumo::cli::commands())
        if (name == QLatin1String(c.name)) return c.run(args);
    err << "Unbekannter Befehl: " << name << "\n";
    return 2;
}
