// "codelumo-cli extract": every module of the sources as the VBA editor
// exports it, one file per module in a folder that a repository can keep.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTextStream>

#include "acquire/ProjectSource.h"
#include "acquire/ReadBudget.h"
#include "base/CaseFold.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "export/ExtractFolder.h"
#include "export/ModuleExport.h"
#include "render/CodePage.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "extract --out ORDNER QUELLE...";

bool writeFile(const QString& path, const QByteArray& bytes, QString* why) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly) && f.write(bytes) == bytes.size() && f.flush()) return true;
    *why = QStringLiteral("%1 kann nicht geschrieben werden: %2.").arg(path, germanSystemText(f.errorString()));
    return false;
}

int runExtract(const QStringList& args) {
    QString out;
    QStringList sources;
    if (int status = 0; !readOutAndSources(args, kUsage, out, sources, status)) return status;
    if (!initCliState()) return 1;

    // Everything is read before the folder is touched: a source that cannot
    // be read leaves it as it was.
    bool complete = true;
    std::vector<VbaModule> modules;
    QSet<QString> seen;
    ReadBudget budget;
    for (const QString& source : sources) {
        const QString shown = QDir::toNativeSeparators(source);
        VbaProjectData project;
        try {
            project = readProjectSource(source, budget);
        } catch (const ReadError& e) {
            printError(QStringLiteral("%1: %2").arg(shown, e.message()));
            return 1;
        }
        if (project.locked) {
            printError(QStringLiteral("%1: Das VBA-Projekt ist für die Anzeige gesperrt.").arg(shown));
            return 1;
        }
        for (const QString& p : project.problems) printError(QStringLiteral("%1: %2").arg(shown, p));
        complete = complete && project.problems.isEmpty();
        for (VbaModule& m : project.modules) {
            // One file per name: file systems that ignore case would merge
            // two, and one project never holds both.
            if (seen.contains(caseFolded(m.name))) {
                printError(QStringLiteral("%1: ein Modul namens »%2« gibt es schon; ausgelassen.").arg(shown, m.name));
                complete = false;
                continue;
            }
            seen.insert(caseFolded(m.name));
            modules.push_back(std::move(m));
        }
    }

    const int codePage = codePageInForce();
    QStringList inUtf8;
    const QString failed = replaceExtractFolder(out, [&](const QString& built, QString* why) {
        for (const VbaModule& m : modules) {
            bool utf8 = false;
            const QByteArray bytes = exportedModuleBytes(m, codePage, &utf8);
            if (utf8) inUtf8 << m.name;
            if (!writeFile(built + QLatin1Char('/') + exportFileName(m), bytes, why)) return false;
        }
        return true;
    });
    if (!failed.isEmpty()) {
        printError(failed);
        return 1;
    }
    for (const QString& name : inUtf8)
        printError(QStringLiteral("Modul %1: Zeichen, die es in der Codepage %2 nicht gibt; in UTF-8 geschrieben.")
                       .arg(name, nameOfCodePage(codePage)));
    QTextStream(stdout) << QDir::cleanPath(QFileInfo(out).absoluteFilePath()) << ": " << modules.size() << " Module\n";
    return complete ? 0 : 1;
}

CliRegistration reg{{"extract", kUsage,
                     "\n                    jedes Modul so ausgeben, wie der VBA-Editor es exportiert (.bas, .cls, "
                     ".frm mit\n"
                     "                    Kopfzeilen; von Formularen nur der Code, die Formulardaten (.frx) nicht), "
                     "in der\n"
                     "                    Codepage; ORDNER muss fehlen, leer sein oder von extract stammen",
                     runExtract}};

}  // namespace

}  // namespace lumo::cli
