// "codelumo-cli diff": two versions of a project compared routine by
// routine; also git's external diff driver (seven words: path, then old
// file, hash and mode, new file, hash and mode).
#include <QDir>
#include <QRegularExpression>
#include <QTextStream>

#include "base/AppState.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "export/ComparedProject.h"
#include "export/DiffHtml.h"
#include "export/DiffReport.h"
#include "render/HtmlRenderer.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "diff [--ignore-case] [--stat | --html] ALT NEU";

// Exit statuses as diff has them.
constexpr int kEqual = 0, kDifferent = 1, kTrouble = 2;

// The seven words git gives an external diff driver: the mode words are six
// octal digits, or "." for a side that does not exist.
bool isGitCall(const QStringList& words) {
    static const QRegularExpression mode(QStringLiteral("^([0-7]{6}|\\.)$"));
    return words.size() == 7 && mode.match(words[3]).hasMatch() && mode.match(words[6]).hasMatch();
}

// One side; false after saying why. /dev/null (git's side of an added or
// deleted file) is a project without modules.
bool readSide(const QString& path, VbaProjectData& project, bool& complete) {
    if (path == QLatin1String("/dev/null")) return true;
    try {
        project = readComparedProject(path, appState().options);
    } catch (const ReadError& e) {
        printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), e.message()));
        return false;
    }
    for (const QString& p : project.problems) printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), p));
    complete = complete && project.problems.isEmpty();
    return true;
}

int runDiff(const QStringList& args) {
    DiffOptions options;
    bool stat = false, html = false;
    Arguments call;
    call.flag("ignore-case", options.ignoreCase).flag("stat", stat).flag("html", html);
    if (!call.read(args)) {
        printError(QStringLiteral("Unbekannte Option: ") + call.problemWord());
        usageError(kUsage);
        return kTrouble;
    }
    const QStringList words = call.words();
    const bool git = isGitCall(words);
    if ((!git && !call.hasWords(2)) || (stat && html)) {
        usageError(kUsage);
        return kTrouble;
    }
    if (!initCliState()) return kTrouble;
    const QString oldPath = git ? words[1] : words[0];
    const QString newPath = git ? words[4] : words[1];
    const QString oldLabel = git ? QStringLiteral("a/") + words[0] : QDir::toNativeSeparators(oldPath);
    const QString newLabel = git ? QStringLiteral("b/") + words[0] : QDir::toNativeSeparators(newPath);

    VbaProjectData before, after;
    bool complete = true;
    if (!readSide(oldPath, before, complete) || !readSide(newPath, after, complete)) return kTrouble;
    const ProjectDiff diff = compareProjects(before, after, options);

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    if (html) {
        try {
            out << diffHtmlPage(diff, oldLabel, newLabel, appState().options);
        } catch (const HtmlError& e) {
            printError(QString::fromUtf8(e.what()));
            return kTrouble;
        }
    } else if (stat) {
        out << diffStat(diff);
    } else if (!diff.equal() || git) {
        out << diffReport(diff, oldLabel, newLabel);
    }
    out.flush();
    // git stops at a driver that ends with anything but 0.
    if (git) return kEqual;
    if (!complete) return kTrouble;
    return diff.equal() ? kEqual : kDifferent;
}

CliRegistration reg{{"diff", kUsage,
                     "\n                    zwei Stände vergleichen (Dokument, Modulordner, exportierte Datei oder "
                     "gespeichertes\n"
                     "                    Projekt): Module und Routinen hinzugefügt, entfernt, geändert, je "
                     "Änderung ein Unified\n"
                     "                    Diff mit den Zeilennummern des Editors; --ignore-case: nur die "
                     "Schreibweise eines\n"
                     "                    Namens geändert zählt nicht; --stat nur Zahlen; --html Bericht in den "
                     "eigenen Farben.\n"
                     "                    Ende 0 gleich, 1 verschieden, 2 Fehler. Mit den sieben Wörtern von git "
                     "als externer\n"
                     "                    Diff-Treiber (diff.vba.command)",
                     runDiff}};

}  // namespace

}  // namespace lumo::cli
