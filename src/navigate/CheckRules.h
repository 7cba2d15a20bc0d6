#pragma once
// The rules of "check" as data: each rule's id, what it finds, how serious
// a finding is and the limit it measures against; a rules file (INI, as the
// settings are written) switches rules off, changes their severity and
// limits. The rules marked exact give no finding on correct code.
#include <optional>
#include <span>
#include <vector>

#include <QString>

namespace lumo {

enum class Severity { Info = 0, Warning = 1, Error = 2 };

// "info", "warning", "error" (as the command line and rules file spell them).
const char* severityWord(Severity s);
std::optional<Severity> severityOfWord(QStringView word);

enum class RuleId {
    OptionExplicit,
    DeclareWithoutPtrSafe,
    UnusedPrivateRoutine,
    UnusedDeclaration,
    UnusedParameter,
    EmptyRoutine,
    ResumeNextNotReset,
    GoTo,
    UntypedVariable,
    RoutineTooLong,
    TooComplex,
    NestedTooDeep,
    RunsByItself,
    ReachesOutside,
    Obfuscation,
    AddressInString,
    Count
};
inline constexpr int kRuleCount = int(RuleId::Count);

struct RuleInfo {
    RuleId rule;
    const char* id;     // in findings, rules files and ignore comments
    const char* title;  // German, one line
    Severity severity;  // by default
    int limit;          // by default; 0 for a rule without one
    bool exact;         // no finding on correct code
    bool security;      // part of the security triage, not of the code rules
};

std::span<const RuleInfo> ruleTable();
const RuleInfo& ruleInfo(RuleId rule);
std::optional<RuleId> ruleOfId(QStringView id);

class CheckRules {
public:
    CheckRules();  // every rule on, with its defaults

    bool on(RuleId r) const { return settings_[size_t(r)].on; }
    Severity severity(RuleId r) const { return settings_[size_t(r)].severity; }
    int limit(RuleId r) const { return settings_[size_t(r)].limit; }
    void set(RuleId r, bool on, Severity severity, int limit);

    // Reads an INI text: one section per rule id, keys "aktiv" (ja/nein),
    // "stufe" (info/warning/error) and "grenze" (a whole number from 1).
    // Returns the German reason with the line for anything it does not
    // know; the rules are then as they were.
    QString read(const QString& iniText);

private:
    struct Setting {
        bool on = true;
        Severity severity = Severity::Warning;
        int limit = 0;
    };
    std::vector<Setting> settings_;
};

}  // namespace lumo
