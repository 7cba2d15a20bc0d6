// codelumo-cli: the headless entry. One subcommand per file (CliCommand.h).
#include <cstdio>

#include <QCoreApplication>
#include <QTextStream>

#include "cli/CliCommand.h"

namespace lumo::cli {

std::vector<CliCommand>& commands() {
    static std::vector<CliCommand> all;
    return all;
}

}  // namespace lumo::cli

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == "help" || args.first() == "--help") {
        QTextStream out(stdout);
        out << "codelumo-cli: Word Code Lumo ohne Fenster\n";
        for (const auto& c : lumo::cli::commands()) out << "  codelumo-cli " << c.usage << c.about << "\n";
        return args.isEmpty() ? 2 : 0;
    }
    const QString name = args.takeFirst();
    for (const auto& c : lumo::cli::commands())
        if (name == QLatin1String(c.name)) return c.run(args);
    err << "Unbekannter Befehl: " << name << "\n";
    return 2;
}
