// codelumo-cli list SOURCE...: the list of projects and components, as the
// window's tree would show it.
#include <QTextStream>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "base/HostTable.h"
#include "base/TextHelpers.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"

namespace {

int runList(const QStringList& args) {
    if (!lumo::cli::initCliState()) return 1;
    lumo::cli::ConsoleUi ui;
    lumo::DocumentHost host(&ui);
    for (const QString& a : args) host.open(a);
    lumo::AppTree tree;
    int officeVersion = 0;
    const bool ok = lumo::listOfficeProjects(host, tree, officeVersion, ui);
    QTextStream out(stdout);
    for (const lumo::AppNode& n : tree) {
        if (!n.parentKey.isEmpty()) out << '\t';
        out << lumo::visibleControls(n.key) << '\t' << lumo::visibleControls(n.text) << '\t' << n.imageKey << '\n';
    }
    const QString explanation = lumo::refreshExplanation(ok, tree, officeVersion, QString::fromLatin1(lumo::hostRow(LUMO_HOST_KIND).name), true);
    if (!explanation.isEmpty()) out << lumo::visibleControls(lumo::replaceAll(explanation, u"\r\n", u"\n")) << '\n';
    out.flush();
    // Anything left out was named on standard error; the listing is then incomplete.
    return tree.empty() || !host.lastReport().isEmpty() ? 1 : 0;
}

lumo::cli::CliRegistration reg{{"list", "list QUELLE...", "   Projekte und Module von Dokumenten oder Modulordnern auflisten",
                                runList}};

}  // namespace
