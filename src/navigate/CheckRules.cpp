#include "navigate/CheckRules.h"

#include <QStringList>

namespace lumo {

namespace {

using S = Severity;
using R = RuleId;

// Ordered as RuleId.
const RuleInfo kRules[] = {
    {R::OptionExplicit, "option-explicit", "Modul ohne Option Explicit", S::Warning, 0, true, false},
    {R::DeclareWithoutPtrSafe, "declare-ohne-ptrsafe", "Declare ohne PtrSafe (bricht unter 64-Bit-Office)",
     S::Error, 0, true, false},
    {R::UnusedPrivateRoutine, "private-routine-unbenutzt", "Private Routine wird nirgends aufgerufen", S::Warning,
     0, true, false},
    {R::UnusedDeclaration, "deklaration-unbenutzt", "Variable oder Konstante wird nie verwendet", S::Warning, 0,
     true, false},
    {R::UnusedParameter, "parameter-unbenutzt", "Parameter wird nie verwendet", S::Info, 0, false, false},
    {R::EmptyRoutine, "routine-leer", "Routine ohne Code", S::Info, 0, false, false},
    {R::ResumeNextNotReset, "on-error-resume-next", "On Error Resume Next wird in der Routine nicht zurückgesetzt",
     S::Warning, 0, false, false},
    {R::GoTo, "goto", "GoTo außer On Error GoTo", S::Info, 0, false, false},
    {R::UntypedVariable, "variable-ohne-typ", "Variable ohne Typ", S::Info, 0, false, false},
    {R::RoutineTooLong, "routine-zu-lang", "Routine länger als die Grenze (Zeilen)", S::Info, 150, false, false},
    {R::TooComplex, "komplexitaet", "Zyklomatische Komplexität über der Grenze", S::Warning, 20, false, false},
    {R::NestedTooDeep, "verschachtelung", "Verschachtelung tiefer als die Grenze", S::Info, 5, false, false},
    {R::RunsByItself, "autostart", "Routine läuft von selbst (beim Öffnen, Schließen, Starten)", S::Warning, 0,
     false, true},
    {R::ReachesOutside, "aussenaufruf", "Aufruf, der aus dem Dokument hinausreicht", S::Warning, 0, false, true},
    {R::Obfuscation, "verschleierung", "Merkmal verschleierten Codes", S::Warning, 6, false, true},
    {R::AddressInString, "adresse-im-text", "Adresse in einer Zeichenkette (URL, IP, Programm)", S::Info, 0, false,
     true},
};
static_assert(std::size(kRules) == size_t(RuleId::Count));

bool yesNo(QStringView v, bool& out) {
    const QString w = v.toString().toLower();
    if (w == u"ja" || w == u"1" || w == u"true" || w == u"an") out = true;
    else if (w == u"nein" || w == u"0" || w == u"false" || w == u"aus") out = false;
    else return false;
    return true;
}

}  // namespace

const char* severityWord(Severity s) {
    switch (s) {
    case Severity::Info: return "info";
    case Severity::Warning: return "warning";
    case Severity::Error: return "error";
    }
    return "info";
}

std::optional<Severity> severityOfWord(QStringView word) {
    for (Severity s : {Severity::Info, Severity::Warning, Severity::Error})
        if (word.compare(QLatin1String(severityWord(s)), Qt::CaseInsensitive) == 0) return s;
    return std::nullopt;
}

std::span<const RuleInfo> ruleTable() { return kRules; }
const RuleInfo& ruleInfo(RuleId rule) { return kRules[size_t(rule)]; }

std::optional<RuleId> ruleOfId(QStringView id) {
    for (const RuleInfo& r : kRules)
        if (id.compare(QLatin1String(r.id), Qt::CaseInsensitive) == 0) return r.rule;
    return std::nullopt;
}

CheckRules::CheckRules() {
    for (const RuleInfo& r : kRules) settings_.push_back({true, r.severity, r.limit});
}

void CheckRules::set(RuleId r, bool on, Severity severity, int limit) { settings_[size_t(r)] = {on, severity, limit}; }

QString CheckRules::read(const QString& iniText) {
    std::vector<Setting> read = settings_;
    std::optional<RuleId> rule;
    const QStringList lines = iniText.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        const QString at = QStringLiteral("Zeile %1: ").arg(i + 1);
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#')) continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']')) return at + QStringLiteral("Abschnitt ohne »]«");
            const QString id = line.mid(1, line.size() - 2).trimmed();
            rule = ruleOfId(id);
            if (!rule) return at + QStringLiteral("unbekannte Regel »%1«").arg(id);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) return at + QStringLiteral("»Schlüssel=Wert« erwartet");
        if (!rule) return at + QStringLiteral("Schlüssel vor dem ersten Abschnitt [Regel]");
        const QString key = line.left(eq).trimmed().toLower();
        const QString value = line.mid(eq + 1).trimmed();
        Setting& s = read[size_t(*rule)];
        if (key == u"aktiv") {
            if (!yesNo(value, s.on)) return at + QStringLiteral("»aktiv« ist ja oder nein, nicht »%1«").arg(value);
        } else if (key == u"stufe") {
            const std::optional<Severity> sev = severityOfWord(value);
            if (!sev) return at + QStringLiteral("»stufe« ist info, warning oder error, nicht »%1«").arg(value);
            s.severity = *sev;
        } else if (key == u"grenze") {
            bool ok = false;
            const int n = value.toInt(&ok);
            if (ruleInfo(*rule).limit == 0) return at + QStringLiteral("die Regel %1 hat keine Grenze").arg(ruleInfo(*rule).id);
            if (!ok || n < 1) return at + QStringLiteral("»grenze« ist eine ganze Zahl ab 1, nicht »%1«").arg(value);
            s.limit = n;
        } else {
            return at + QStringLiteral("unbekannter Schlüssel »%1« (aktiv, stufe, grenze)").arg(key);
        }
    }
    settings_ = std::move(read);
    return {};
}

}  // namespace lumo
