#pragma once
// "check": the code rules, the security triage and the measures of a
// project, worked out from what the resolver knows of it, without widgets.
// The command line, the window's "Prüfen" and any other caller (a language
// server) ask this one function and get the same findings.
//
// The triage names what runs by itself and what reaches outside the
// document, with the call path between them; it is no verdict on malware.
#include <vector>

#include <QString>
#include <QStringList>

#include "base/Progress.h"
#include "navigate/CheckRules.h"
#include "navigate/CodeMetrics.h"
#include "navigate/ProjectScope.h"

namespace lumo {

struct Finding {
    RuleId rule = RuleId::OptionExplicit;
    Severity severity = Severity::Warning;
    int module = 0;  // mod_num
    QString moduleName;
    int line = 0;    // 1-based, in the module's code as shown
    int column = 0;  // 1-based
    int length = 0;  // of what the finding points at (0: the place only)
    QString routine;  // the routine around the place, "" outside every routine
    QString message;  // German
    // For a call that reaches outside: the routines from one that runs by
    // itself to the one holding the call ("Modul.Routine"), empty when none
    // of them leads there.
    QStringList callPath;
};

// Every finding of the rules switched on, by module, line, column and rule.
// A comment "'codelumo: ignore RULE" (several ids apart by commas; none: every
// rule) silences its line, on a routine's head line the whole routine.
// Stopped work (progress) gives what was found so far.
std::vector<Finding> checkProject(ProjectScope& scope, const CheckRules& rules, Progress& progress = noProgress());

struct MeasuredCode {
    int module = 0;
    QString moduleName;
    QString routine;  // "" for the module as a whole
    int line = 0;     // the routine's first line; 1 for a module
    Measures measures;
};

// Each module, followed by its routines (Declare statements left out).
std::vector<MeasuredCode> measureProject(ProjectScope& scope);

// What the security findings are and are not, in one German sentence.
QString securityNotice();

}  // namespace lumo
