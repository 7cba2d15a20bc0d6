// "codelumo-cli check": the code rules, the security triage and the
// measures of each source, each read as a project of its own (a document, a
// folder of exported modules, a module file, a stored project), so that a
// share of many documents can be checked by many runs and their lines
// joined. Exit status: 0 nothing at the --fail-on level, 1 something, 2 a
// source that could not be read (named; the others are checked).
#include <cerrno>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "cli/SourceBuild.h"
#include "export/FindingReports.h"
#include "model/WorkingStore.h"
#include "navigate/Checks.h"

namespace lumo::cli {

namespace {

const char* const kUsage =
    "check [--format text|json|sarif|junit] [--fail-on info|warning|error] [--rules DATEI] [--metrics] QUELLE...";

enum class Format { Text, Json, Sarif, JUnit, Csv };

bool isStoredProject(const QString& path) {
    return QFileInfo(path).isDir() && QFileInfo::exists(path + QStringLiteral("/DivuRuvi.mdb"));
}

void write(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

// Opens `source` as the project in the working store: a stored project as
// it is, anything else built into `scratch` first. False after saying why;
// complete says whether the build left anything out.
bool openSource(const QString& source, const QString& scratch, bool& complete) {
    complete = true;
    if (isStoredProject(source)) {
        appState().workFolder = QDir(source).absolutePath() + QLatin1Char('/');
    } else {
        if (!templateAvailable()) return false;
        SourceRead read;
        if (!readSources({source}, nullptr, read)) return false;
        std::vector<LeftOutModule> leftOut;
        if (!buildInto(scratch, read.plan, leftOut)) return false;
        complete = read.complete(leftOut);
    }
    openStoredProject();
    return true;
}

struct Checked {
    bool read = false;
    bool complete = true;
};

// One source: its findings (or measures) into `checked` / `measured`.
Checked checkSource(const QString& source, const CheckRules& rules, bool metrics, CheckedSource& checked,
                    MeasuredSource& measured) {
    Checked result;
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/codelumo-check-XXXXXX"));
    if (!scratch.isValid()) {
        printError(QStringLiteral("Für das Projekt kann kein temporärer Ordner angelegt werden: %1.").arg(scratch.errorString()));
        return result;
    }
    WorkingStore& store = WorkingStore::instance();
    try {
        if (!openSource(source, scratch.path(), result.complete)) {
            store.closeWorkingDatabase();
            return result;
        }
        std::unique_ptr<ProjectScope> scope = ProjectScope::read(store);
        for (const QString& u : scope->unreadable()) printError(u);
        if (!scope->unreadable().isEmpty()) result.complete = false;
        if (metrics) measured.measures = measureProject(*scope);
        else checked.findings = checkProject(*scope, rules);
        result.read = true;
    } catch (const std::exception& e) {
        printError(QStringLiteral("%1: %2").arg(source, germanSystemText(QString::fromUtf8(e.what()))));
    }
    store.closeWorkingDatabase();
    return result;
}

int runCheck(const QStringList& args) {
    QString format;
    QString failOnWord = QStringLiteral("error");
    QString rulesFile;
    bool metrics = false;
    Arguments call;
    call.text("format", format).text("fail-on", failOnWord).text("rules", rulesFile).flag("metrics", metrics);
    if (!call.read(args)) {
        if (call.problem() == Arguments::Problem::MissingValue)
            printError(call.problemWord() + QStringLiteral(" braucht einen Wert"));
        else
            printError(QStringLiteral("Unbekannte Option: ") + call.problemWord());
        usageError(kUsage);
        return 2;
    }
    const QStringList sources = call.words();
    if (sources.isEmpty() || !call.hasWords(sources.size())) {
        printError(QStringLiteral("Keine Quelle angegeben."));
        usageError(kUsage);
        return 2;
    }
    if (format.isEmpty()) format = metrics ? QStringLiteral("json") : QStringLiteral("text");
    const QStringList formats = metrics ? QStringList{"json", "csv"} : QStringList{"text", "json", "sarif", "junit"};
    if (!formats.contains(format)) {
        printError(QStringLiteral("--format %1 gibt es %2 nicht; möglich: %3")
                       .arg(format, metrics ? QStringLiteral("mit --metrics") : QStringLiteral("hier"), formats.join(u", ")));
        return 2;
    }
    const std::optional<Severity> failOn = severityOfWord(failOnWord);
    if (!failOn) {
        printError(QStringLiteral("--fail-on ist info, warning oder error, nicht »%1«").arg(failOnWord));
        return 2;
    }
    CheckRules rules;
    if (!rulesFile.isEmpty()) {
        QFile f(rulesFile);
        if (!f.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("Die Regeldatei %1 kann nicht gelesen werden: %2.")
                           .arg(QDir::toNativeSeparators(rulesFile), systemErrorText(errno)));
            return 2;
        }
        const QString why = rules.read(QString::fromUtf8(f.readAll()));
        if (!why.isEmpty()) {
            printError(QStringLiteral("Regeldatei %1, %2").arg(QDir::toNativeSeparators(rulesFile), why));
            return 2;
        }
    }
    if (!initCliState()) return 2;

    bool trouble = false;
    bool failed = false;
    bool security = false;
    QStringList unreadable;
    std::vector<CheckedSource> all;
    bool firstCsv = true;
    for (const QString& source : sources) {
        CheckedSource checked{source, {}};
        MeasuredSource measured{source, {}};
        const Checked result = checkSource(source, rules, metrics, checked, measured);
        if (!result.read) {
            unreadable << QStringLiteral("%1: nicht geprüft").arg(source);
            printError(QStringLiteral("%1: nicht geprüft").arg(QDir::toNativeSeparators(source)));
            trouble = true;
            continue;
        }
        if (!result.complete) trouble = true;
        if (metrics) {
            write(format == u"csv" ? measuresAsCsv(measured, firstCsv) : measuresAsJsonLines(measured));
            firstCsv = false;
            continue;
        }
        for (const Finding& f : checked.findings) {
            if (f.severity >= *failOn) failed = true;
            if (ruleInfo(f.rule).security) security = true;
        }
        if (format == u"text") write(findingsAsText(checked));
        else if (format == u"json") write(findingsAsJsonLines(checked));
        else all.push_back(std::move(checked));
    }
    if (format == u"sarif") write(findingsAsSarif(all, rules, unreadable));
    else if (format == u"junit") write(findingsAsJUnit(all, *failOn, unreadable));
    if (security && format == u"text") printError(securityNotice());
    return trouble ? 2 : failed ? 1 : 0;
}

CliRegistration reg{{"check", kUsage,
                     "\n                    Code prüfen: Regeln (Option Explicit, PtrSafe, Unbenutztes, GoTo, ...), "
                     "Sicherheitsübersicht\n"
                     "                    (was von selbst läuft, was nach außen reicht) und mit --metrics Maße je "
                     "Modul und Routine\n"
                     "                    (--format json|csv); Ende 0 ohne Befund ab --fail-on (Vorgabe error), 1 "
                     "mit, 2 bei Quellen,\n"
                     "                    die nicht gelesen werden konnten",
                     runCheck}};

}  // namespace

}  // namespace lumo::cli
