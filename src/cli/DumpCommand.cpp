// codelumo-cli dump SOURCE...: every component with its code as the VBA
// editor shows it; what a version-control system shows of a document.
#include <algorithm>

#include <QTextStream>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"

namespace {

// text with LF for CR LF, in slices: the stream converts whatever it is
// given at once, and one line may be a module's whole text.
void writeWithLf(QTextStream& out, QStringView text) {
    constexpr qsizetype kSlice = 64 * 1024;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype breakAt = text.indexOf(u"\r\n", from);
        const qsizetype end = breakAt < 0 ? text.size() : breakAt;
        for (qsizetype at = from; at < end; at += kSlice) out << text.sliced(at, std::min(kSlice, end - at));
        if (breakAt < 0) break;
        out << '\n';
        from = breakAt + 2;
    }
}

const char* const kUsage = "dump QUELLE...";

// Prints every component of one source; false when something of it could
// not be read or printed (said on standard error). A project the listing
// leaves out for having no code is still printed whole: a text converter
// wants every component, listed or not.
bool dumpSource(const QString& source, QTextStream& out, QTextStream& err) {
    lumo::cli::ConsoleUi ui;
    lumo::DocumentHost host(&ui);
    host.open(source);
    lumo::OfficeConnection office = lumo::connectOffice(host);
    if (!office || office.app->projectCount() == 0) return false;  // the reason is already on stderr
    try {
        lumo::HostProject& project = office.app->project(1);
        if (project.protection()) {
            out.flush();
            err << project.fileName() << ": Das VBA-Projekt ist für die Anzeige gesperrt." << Qt::endl;
            return false;
        }
        const int count = project.componentCount();
        for (int i = 1; i <= count; ++i) {
            lumo::HostComponent& c = project.component(i);
            const int lines = c.countOfLines();
            out << "== " << c.name() << '\t' << c.type() << '\t' << lines << '\n';
            // In blocks of lines, so that a huge module is never copied whole.
            constexpr int kBlock = 4096;
            for (int from = 1; from <= lines; from += kBlock) {
                writeWithLf(out, c.lines(from, std::min(kBlock, lines - from + 1)));
                out << '\n';
            }
        }
    } catch (const lumo::HostError& e) {
        out.flush();
        err << e.description() << Qt::endl;
        return false;
    }
    // Modules the reading left out were named on standard error.
    return host.failedDocuments().isEmpty() && host.partlyReadDocuments().isEmpty();
}

// Takes its words as they are: a source may have any name. One source is
// printed without a heading (what a version-control system shows of a
// document); several each under "### " and the source as given.
int runDump(const QStringList& args) {
    if (args.isEmpty()) return lumo::cli::usageError(kUsage);
    QTextStream err(stderr);
    if (!lumo::cli::initCliState()) return 1;
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    bool complete = true;
    for (const QString& source : args) {
        if (args.size() > 1) out << "### " << source << '\n';
        complete = dumpSource(source, out, err) && complete;
    }
    return complete ? 0 : 1;
}

lumo::cli::CliRegistration reg{{"dump", kUsage,
                                "   jede Komponente mit Typ, Zeilenzahl und Code ausgeben; mehrere Quellen\n"
                                "                    je unter einer Zeile \"### QUELLE\"",
                                runDump}};

}  // namespace
