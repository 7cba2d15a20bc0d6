// codelumo-cli dump SOURCE: every component with its code as the VBA editor
// shows it; the quickest way to compare with another reader.
#include <algorithm>

#include <QTextStream>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "app/TextHelpers.h"
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
            // In blocks of lines, so that a huge module is never copied whole.
            constexpr int kBlock = 4096;
            for (int from = 1; from <= lines; from += kBlock)
                out << lumo::replaceAll(c.lines(from, std::min(kBlock, lines - from + 1)), u"\r\n", u"\n") << '\n';
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
