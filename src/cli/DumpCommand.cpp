// codelumo-cli dump SOURCE: every component with its code as the VBA editor
// shows it; the quickest way to compare with another reader.
#include <QTextStream>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"

namespace {

int runDump(const QStringList& args) {
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "Aufruf: codelumo-cli dump QUELLE" << Qt::endl;
        return 2;
    }
    lumo::cli::ConsoleUi ui;
    lumo::DocumentHost host(&ui);
    host.open(args.first());
    lumo::OfficeConnection office = lumo::connectOffice(host);
    if (!office || office.app->projectCount() == 0) return 1;  // the reason is already on stderr
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    try {
        lumo::HostProject& project = office.app->project(1);
        if (project.protection()) {
            err << project.fileName() << ": Das VBA-Projekt ist für die Anzeige gesperrt." << Qt::endl;
            return 1;
        }
        const int count = project.componentCount();
        for (int i = 1; i <= count; ++i) {
            lumo::HostComponent& c = project.component(i);
            const int lines = c.countOfLines();
            out << "== " << c.name() << '\t' << c.type() << '\t' << lines << '\n';
            if (lines > 0) out << c.lines(1, lines).replace(QLatin1String("\r\n"), QLatin1String("\n")) << '\n';
        }
    } catch (const lumo::HostError& e) {
        out.flush();
        err << e.description() << Qt::endl;
        return 1;
    }
    return 0;
}

lumo::cli::CliRegistration reg{{"dump", "dump QUELLE      jede Komponente mit Typ, Zeilenzahl und Code ausgeben", runDump}};

}  // namespace
