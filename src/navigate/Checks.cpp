#include "navigate/Checks.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include <QRegularExpression>
#include <QSet>

#include "model/Codes.h"
#include "navigate/CheckTables.h"
#include "navigate/CodeTokens.h"
#include "navigate/CompileBranches.h"
#include "navigate/NameResolver.h"
#include "navigate/NameSearch.h"
#include "navigate/ShownLines.h"

namespace lumo {

QString securityNotice() {
    return QStringLiteral(
        "Die Sicherheitsübersicht zeigt, was von selbst läuft und was nach außen reicht; sie ist kein Urteil "
        "darüber, ob ein Dokument Schadcode enthält.");
}

namespace {

QString folded(QStringView s) { return s.toString().toCaseFolded(); }

// The rule ids a comment "codelumo: ignore ..." names; {"*"} for every rule.
QStringList ignoredIn(QStringView comment) {
    static const QLatin1StringView kMark("codelumo: ignore");
    const qsizetype at = comment.indexOf(kMark, 0, Qt::CaseInsensitive);
    if (at < 0) return {};
    QStringList ids;
    static const QRegularExpression kApart(QStringLiteral("[,\\s]+"));
    for (const QString& w : comment.mid(at + kMark.size()).toString().split(kApart, Qt::SkipEmptyParts)) {
        if (!ruleOfId(w)) break;
        ids << w.toLower();
    }
    if (ids.isEmpty()) ids << QStringLiteral("*");
    return ids;
}

// Runs the rules over one project; one object per checkProject.
class ProjectCheck {
public:
    ProjectCheck(ProjectScope& scope, const CheckRules& rules) : scope_(scope), resolver_(scope), rules_(rules) {}

    std::vector<Finding> run(Progress& progress) {
        findImplemented();
        for (int m = 1; m <= scope_.moduleCount(); ++m) {
            const ModuleRow* row = scope_.module(m);
            if (!row) continue;
            for (const RoutineRow& r : scope_.routinesOf(m))
                if (isEntryPoint(r.name)) entries_.insert(r.number);
        }
        for (int m = 1; m <= scope_.moduleCount(); ++m) {
            const ModuleRow* row = scope_.module(m);
            if (!row || scope_.text(m).isEmpty()) continue;
            if (!progress.step(m, scope_.moduleCount(), row->name)) break;
            checkModule(m);
            scope_.forget(m);
        }
        // A private routine named in a string anywhere may be called by
        // name (Application.Run, OnTime, OnAction): no finding.
        std::vector<bool> drop(out_.size());
        for (const auto& [at, name] : calledByName_)
            if (wordsInStrings_.count(name)) drop[at] = true;
        size_t kept = 0;
        for (size_t i = 0; i < out_.size(); ++i)
            if (!drop[i]) out_[kept++] = std::move(out_[i]);
        out_.resize(kept);
        std::stable_sort(out_.begin(), out_.end(), [](const Finding& a, const Finding& b) {
            return std::tie(a.module, a.line, a.column, a.rule) < std::tie(b.module, b.line, b.column, b.rule);
        });
        return std::move(out_);
    }

private:
    // ---- what the whole project tells

    // The modules some class implements ("Implements Name"): their routines
    // are an interface's, empty by design.
    void findImplemented() {
        for (int m = 1; m <= scope_.moduleCount(); ++m) {
            if (!scope_.module(m) || scope_.text(m).isEmpty()) continue;
            const CodeLines* code = nullptr;
            forEachNameInBytes(scope_.text(m), "Implements", 0, scope_.text(m).size(), [&](qsizetype at) {
                if (!code) code = &scope_.code(m);
                std::vector<CodeToken> t;
                tokenizeLine(code->line(code->lineOfByte(at)), 0, t);
                if (t.size() >= 2 && t[0].is("Implements")) implemented_.insert(folded(t[1].text));
            });
        }
    }

    // The routines that call routine `number`.
    const std::vector<int>& callersOf(int number) {
        readProject();
        static const std::vector<int> none;
        const auto it = callers_.find(number);
        return it != callers_.end() ? it->second : none;
    }

    QString routineLabel(int number) {
        const RoutineRow* r = scope_.routineNumbered(number);
        const ModuleRow* m = r ? scope_.module(r->module) : nullptr;
        return r && m ? m->name + u'.' + r->name : QString();
    }

    // The shortest call path from a routine that runs by itself to routine
    // `number` (itself last); empty when none leads there.
    QStringList pathFromEntry(int number) {
        constexpr size_t kMaxVisited = 4000;
        std::unordered_map<int, int> next;  // caller -> the routine it calls on the way
        std::deque<int> queue{number};
        next.emplace(number, 0);
        while (!queue.empty() && next.size() < kMaxVisited) {
            const int at = queue.front();
            queue.pop_front();
            if (entries_.count(at)) {
                QStringList path;
                for (int k = at; k != 0; k = next[k]) path << routineLabel(k);
                return path;
            }
            for (int c : callersOf(at))
                if (next.emplace(c, at).second) queue.push_back(c);
        }
        return {};
    }

    // ---- one module

    struct ModuleState {
        int module = 0;
        QString name;
        const CodeLines* code = nullptr;
        std::vector<ShownLine> shown;
        std::unordered_map<int, QStringList> ignores;  // by line
        QSet<QString> withEvents;                       // folded
        QSet<QString> implements;                       // folded
        int partEnd = 0;                                // last line of the declarations part
    };

    bool ignored(const ModuleState& s, RuleId rule, int line, const RoutineRow* r) const {
        const QString id = QString::fromLatin1(ruleInfo(rule).id);
        auto silenced = [&](int l) {
            auto it = s.ignores.find(l);
            return it != s.ignores.end() && (it->second.contains(u"*") || it->second.contains(id));
        };
        if (silenced(line)) return true;
        if (r)
            for (int l = r->start; l < r->start + std::max(1, r->headLines); ++l)
                if (silenced(l)) return true;
        return false;
    }

    void add(const ModuleState& s, RuleId rule, int line, int column, int length, const RoutineRow* r,
             QString message, QStringList path = {}) {
        if (!rules_.on(rule) || ignored(s, rule, line, r)) return;
        Finding f;
        f.rule = rule;
        f.severity = rules_.severity(rule);
        f.module = s.module;
        f.moduleName = s.name;
        f.line = line;
        f.column = std::max(1, column);
        f.length = length;
        f.routine = r && !isDeclaration(r->type) ? r->name : QString();
        f.message = std::move(message);
        f.callPath = std::move(path);
        out_.push_back(std::move(f));
    }

    // The column of `name` on line `line`, 1 when it is not there.
    int columnOf(const ModuleState& s, int line, QStringView name) const {
        std::vector<CodeToken> t;
        tokenizeLine(s.code->line(line), line, t);
        for (const CodeToken& k : t)
            if (k.word && k.text.compare(name, Qt::CaseInsensitive) == 0) return k.column;
        return 1;
    }

    // A routine VBA calls on an event or through an interface: Class_,
    // UserForm_, a WithEvents variable's or an implemented interface's
    // prefix; in forms and documents any control's.
    bool calledByVba(const ModuleState& s, const RoutineRow& r) const {
        if (isEntryPoint(r.name)) return true;
        const qsizetype us = r.name.indexOf(u'_');
        if (us <= 0 || !scope_.isClassLike(s.module)) return false;
        const ModuleRow* m = scope_.module(s.module);
        if (m && (m->type == ModUserForm || m->type == ModDocument || m->type == ModOther)) return true;
        for (qsizetype k = us; k > 0; k = r.name.indexOf(u'_', k + 1)) {
            const QString prefix = folded(QStringView(r.name).left(k));
            if (isEventObject(prefix) || s.withEvents.contains(prefix) || s.implements.contains(prefix)) return true;
        }
        return false;
    }

    bool isInterface(int module) const {
        const ModuleRow* m = scope_.module(module);
        return m && implemented_.count(folded(m->name));
    }

    // What every name of the project uses, read in one walk over them: the
    // declarations used, and who calls each routine (in the order of the
    // calls, by module, then line).
    void readProject() {
        if (projectRead_) return;
        projectRead_ = true;
        scope_.readAllParts();
        for (int m = 1; m <= scope_.moduleCount(); ++m) {
            if (!scope_.module(m) || scope_.text(m).isEmpty()) continue;
            const bool kept = scope_.hasCode(m);
            resolver_.forEachName(m, [this, m](int line, const Resolution& r) {
                if (r.kind != UseKind::Use) return;
                const RoutineRow* around = nullptr;
                bool aroundAsked = false;
                for (const Declaration& d : r.targets) {
                    uses_.insert(useKey(d));
                    if (d.kind != DeclarationKind::Routine) continue;
                    if (!aroundAsked) {
                        around = scope_.routineAt(m, line);
                        aroundAsked = true;
                    }
                    if (!around || around->number == d.routine) continue;
                    std::vector<int>& list = callers_[d.routine];
                    if (std::find(list.begin(), list.end(), around->number) == list.end())
                        list.push_back(around->number);
                }
            });
            if (!kept) scope_.forget(m);
        }
    }

    static QString useKey(const Declaration& d) {
        return QStringLiteral("%1|%2|%3|%4|").arg(d.module).arg(int(d.kind)).arg(d.line).arg(d.routine) + folded(d.name);
    }

    void checkModule(int m) {
        ModuleState s;
        s.module = m;
        if (rules_.on(RuleId::UnusedDeclaration) || rules_.on(RuleId::UnusedParameter) ||
            rules_.on(RuleId::UnusedPrivateRoutine))
            readProject();
        s.name = scope_.module(m)->name;
        s.code = &scope_.code(m);
        s.shown = shownLines(scope_.text(m));
        for (size_t l = 0; l < s.shown.size(); ++l) {
            const QStringView c = s.shown[l].comment();
            if (c.isEmpty()) continue;
            QStringList ids = ignoredIn(c);
            if (!ids.isEmpty()) s.ignores.emplace(int(l) + 1, std::move(ids));
        }
        const std::vector<RoutineRow>& routines = scope_.routinesOf(m);
        s.partEnd = s.code->count();
        for (const RoutineRow& r : routines)
            if (!isDeclaration(r.type) && r.start > 0) {
                s.partEnd = r.start - 1;
                break;
            }
        checkDeclarationsPart(s);
        const CompileBranches branches(*s.code);
        // Routines of one name (Property Get, Let, Set; a Declare in two #If branches) are used together.
        std::unordered_map<QString, bool> usedByName;
        for (const RoutineRow& r : routines) {
            if (r.start <= 0) continue;
            if (isDeclaration(r.type)) checkDeclare(s, r, branches);
            else checkRoutine(s, r);
        }
        if (rules_.on(RuleId::UnusedPrivateRoutine)) {
            for (const RoutineRow& r : routines) {
                if (r.start <= 0 || r.visibility != OpenPrivate || calledByVba(s, r)) continue;
                const QString key = folded(r.name);
                auto it = usedByName.find(key);
                if (it == usedByName.end()) {
                    bool used = false;
                    for (const RoutineRow& o : routines)
                        if (o.start > 0 && folded(o.name) == key && isUsed(resolver_.routineDeclaration(o.number))) used = true;
                    it = usedByName.emplace(key, used).first;
                }
                if (it->second) continue;
                const int column = columnOf(s, r.start, r.name);
                const size_t before = out_.size();
                add(s, RuleId::UnusedPrivateRoutine, r.start, column, int(r.name.size()), &r,
                    QStringLiteral("Private %1 »%2« wird nirgends aufgerufen")
                        .arg(isDeclaration(r.type) ? QStringLiteral("Declare-Anweisung") : QStringLiteral("Routine"),
                             r.name));
                if (out_.size() > before) calledByName_.push_back({before, key});
            }
        }
        checkModuleVariables(s);
        checkStrings(s, routines);
    }

    // Option Explicit, Implements, WithEvents, variables without a type.
    void checkDeclarationsPart(ModuleState& s) {
        bool explicitOn = false;
        int typeBlock = 0;  // inside Type or Enum
        forEachStatement(*s.code, 1, s.partEnd, [&](const std::vector<CodeToken>& t) {
            if (t.empty() || t[0].text == u"#") return;
            if (t.size() >= 2 && t[0].is("Option") && t[1].is("Explicit")) explicitOn = true;
            if (t.size() >= 2 && t[0].is("Implements")) s.implements.insert(folded(t[1].text));
            size_t i = 0;
            if (t[0].is("Private") || t[0].is("Public") || t[0].is("Global") || t[0].is("Friend")) i = 1;
            if (i < t.size() && (t[i].is("Type") || t[i].is("Enum"))) ++typeBlock;
            if (t[0].is("End") && t.size() >= 2 && (t[1].is("Type") || t[1].is("Enum"))) typeBlock = std::max(0, typeBlock - 1);
            if (typeBlock > 0) return;
            const bool declares = t[0].is("Dim") || (i == 1 && i < t.size() && !t[i].is("Sub") && !t[i].is("Function") &&
                                                     !t[i].is("Property") && !t[i].is("Const") && !t[i].is("Type") &&
                                                     !t[i].is("Enum") && !t[i].is("Declare") && !t[i].is("Event"));
            if (declares) variableList(s, t, t[0].is("Dim") ? 1 : i, nullptr);
        });
        if (!explicitOn) add(s, RuleId::OptionExplicit, 1, 1, 0, nullptr,
                             QStringLiteral("Modul %1 ohne »Option Explicit«: Tippfehler in Namen werden zu neuen Variablen").arg(s.name));
    }

    // The declarators of a Dim, Static, Private ... statement from token `i`:
    // WithEvents variables are remembered, those without a type named.
    void variableList(ModuleState& s, const std::vector<CodeToken>& t, size_t i, const RoutineRow* r) {
        while (i < t.size()) {
            bool withEvents = false;
            if (t[i].is("WithEvents")) {
                withEvents = true;
                ++i;
            }
            if (i >= t.size() || !t[i].word) return;
            const CodeToken& name = t[i++];
            bool typed = false;
            int depth = 0;
            for (; i < t.size(); ++i) {
                if (t[i].text == u"(") ++depth;
                else if (t[i].text == u")") --depth;
                else if (depth == 0 && t[i].is("As")) typed = true;
                else if (depth == 0 && t[i].text == u",") break;
            }
            ++i;
            if (withEvents) s.withEvents.insert(folded(name.text));
            const QStringView line = s.code->line(name.line);
            const qsizetype after = name.column - 1 + name.text.size();
            if (after < line.size() && QStringView(u"$%&#@!").contains(line[after])) typed = true;
            if (!typed)
                add(s, RuleId::UntypedVariable, name.line, name.column, int(name.text.size()), r,
                    QStringLiteral("Variable »%1« ohne Typ: sie ist Variant").arg(name.text));
        }
    }

    // A Declare: PtrSafe where VBA7 compiles it; what it reaches outside.
    void checkDeclare(ModuleState& s, const RoutineRow& r, const CompileBranches& branches) {
        std::vector<CodeToken> t;
        forEachStatement(*s.code, r.start, r.start + std::max(1, r.headLines) - 1,
                         [&](const std::vector<CodeToken>& st) { if (t.empty()) t = st; });
        bool ptrSafe = false;
        for (const CodeToken& k : t)
            if (k.is("PtrSafe")) ptrSafe = true;
        const int column = columnOf(s, r.start, r.name);
        if (!ptrSafe && branches.compiledUnderVba7(r.start))
            add(s, RuleId::DeclareWithoutPtrSafe, r.start, column, int(r.name.size()), &r,
                QStringLiteral("Declare »%1« ohne PtrSafe: 64-Bit-Office übersetzt das Modul nicht").arg(r.name));
        // The library: the string after Lib.
        QString library;
        for (int l = r.start; l < r.start + std::max(1, r.headLines) && l <= int(s.shown.size()) && library.isEmpty(); ++l)
            if (!s.shown[size_t(l) - 1].strings.empty()) library = s.shown[size_t(l) - 1].strings.front().text;
        if (!rules_.on(RuleId::ReachesOutside) || ignored(s, RuleId::ReachesOutside, r.start, &r)) return;
        const QStringList path = pathFromEntry(r.number);
        add(s, RuleId::ReachesOutside, r.start, column, int(r.name.size()), &r,
            QStringLiteral("Declare »%1« ruft in die Bibliothek »%2«%3")
                .arg(r.name, library, pathText(path)),
            path);
    }

    static QString pathText(const QStringList& path) {
        if (path.isEmpty()) return {};
        if (path.size() == 1) return QStringLiteral("; in %1, das von selbst läuft").arg(path.front());
        return QStringLiteral("; Aufrufweg ab %1, das von selbst läuft: %2").arg(path.front(), path.join(QStringLiteral(" → ")));
    }

    void checkRoutine(ModuleState& s, const RoutineRow& r) {
        const int headEnd = r.start + std::max(1, r.headLines) - 1;
        const int last = r.end > 0 ? r.end : headEnd;
        const int nameColumn = columnOf(s, r.start, r.name);
        if (isEntryPoint(r.name))
            add(s, RuleId::RunsByItself, r.start, nameColumn, int(r.name.size()), &r,
                QStringLiteral("»%1« läuft von selbst: %2").arg(r.name, entryPointWhen(r.name)));
        const bool interfaceSide = isInterface(s.module) || calledByVba(s, r);
        bool empty = true;
        int resumeNext = 0, resumeColumn = 0;
        forEachStatement(*s.code, headEnd + 1, last - (r.end > 0 ? 1 : 0), [&](const std::vector<CodeToken>& t) {
            if (t.empty()) return;
            empty = false;
            const bool onError = t.size() >= 3 && t[0].is("On") && (t[1].is("Error") || (t[1].is("Local") && t[2].is("Error")));
            if (onError) {
                const size_t k = t[1].is("Local") ? 3 : 2;
                if (k + 1 < t.size() && t[k].is("Resume") && t[k + 1].is("Next")) {
                    if (!resumeNext) {
                        resumeNext = t[0].line;
                        resumeColumn = t[0].column;
                    }
                } else if (k < t.size() && t[k].is("GoTo")) {
                    resumeNext = 0;
                }
            }
            for (size_t k = 0; k < t.size(); ++k) {
                const CodeToken& w = t[k];
                if (!w.word) continue;
                if (w.is("GoTo") && !onError)
                    add(s, RuleId::GoTo, w.line, w.column, 4, &r, QStringLiteral("Sprung mit GoTo"));
                if ((w.is("Dim") || w.is("Static")) && k == 0) variableList(s, t, 1, &r);
            }
            securityInStatement(s, r, t);
        });
        if (resumeNext)
            add(s, RuleId::ResumeNextNotReset, resumeNext, resumeColumn, 0, &r,
                QStringLiteral("»On Error Resume Next« gilt bis zum Ende von %1: Fehler danach bleiben unbemerkt").arg(r.name));
        if (empty && r.end > 0 && !interfaceSide)
            add(s, RuleId::EmptyRoutine, r.start, nameColumn, int(r.name.size()), &r,
                QStringLiteral("Routine »%1« enthält keinen Code").arg(r.name));
        const Measures measures = measureLines(*s.code, s.shown, r.start, last);
        if (measures.lines > rules_.limit(RuleId::RoutineTooLong))
            add(s, RuleId::RoutineTooLong, r.start, nameColumn, int(r.name.size()), &r,
                QStringLiteral("Routine »%1« hat %2 Zeilen (Grenze %3)")
                    .arg(r.name).arg(measures.lines).arg(rules_.limit(RuleId::RoutineTooLong)));
        if (measures.complexity > rules_.limit(RuleId::TooComplex))
            add(s, RuleId::TooComplex, r.start, nameColumn, int(r.name.size()), &r,
                QStringLiteral("Routine »%1« hat die Komplexität %2 (Grenze %3)")
                    .arg(r.name).arg(measures.complexity).arg(rules_.limit(RuleId::TooComplex)));
        if (measures.nesting > rules_.limit(RuleId::NestedTooDeep))
            add(s, RuleId::NestedTooDeep, measures.deepestLine, 1, 0, &r,
                QStringLiteral("Blöcke %1 Ebenen tief verschachtelt (Grenze %2)")
                    .arg(measures.nesting).arg(rules_.limit(RuleId::NestedTooDeep)));
        checkLocals(s, r, interfaceSide || empty);
    }

    // Locals and parameters no line of the routine names.
    void checkLocals(ModuleState& s, const RoutineRow& r, bool signatureFixed) {
        if (!rules_.on(RuleId::UnusedDeclaration) && !rules_.on(RuleId::UnusedParameter)) return;
        const std::vector<LocalName>& locals = scope_.locals(r);
        std::unordered_map<QString, bool> used;
        for (const LocalName& l : locals) {
            if (l.byReDim) continue;
            const bool parameter = l.declaration.kind == DeclarationKind::Parameter;
            if (parameter ? (signatureFixed || !rules_.on(RuleId::UnusedParameter)) : !rules_.on(RuleId::UnusedDeclaration))
                continue;
            const QString key = folded(l.declaration.name);
            auto it = used.find(key);
            if (it == used.end()) {
                bool any = false;
                for (const LocalName& o : locals)
                    if (folded(o.declaration.name) == key && isUsed(o.declaration)) any = true;
                it = used.emplace(key, any).first;
            }
            if (it->second) continue;
            if (parameter)
                add(s, RuleId::UnusedParameter, l.declaration.line, l.column, int(l.declaration.name.size()), &r,
                    QStringLiteral("Parameter »%1« wird in %2 nie verwendet").arg(l.declaration.name, r.name));
            else
                add(s, RuleId::UnusedDeclaration, l.declaration.line, l.column, int(l.declaration.name.size()), &r,
                    QStringLiteral("%1 »%2« wird nie verwendet")
                        .arg(l.declaration.kind == DeclarationKind::LocalConstant ? QStringLiteral("Konstante")
                                                                                  : QStringLiteral("Variable"),
                             l.declaration.name));
        }
    }

    bool isUsed(const Declaration& d) {
        if (projectRead_) return uses_.contains(useKey(d));
        for (const NameReference& ref : resolver_.references(d))
            if (!ref.declaration) return true;
        return false;
    }

    // Private variables and constants of the module that nothing names.
    void checkModuleVariables(ModuleState& s) {
        if (!rules_.on(RuleId::UnusedDeclaration)) return;
        std::unordered_map<QString, bool> used;
        const std::vector<const PlacedDeclaration*> all = scope_.declarationsOf(s.module);
        for (const PlacedDeclaration* p : all) {
            const Declaration& d = p->declaration;
            if (d.isPublic || (d.kind != DeclarationKind::Variable && d.kind != DeclarationKind::Constant)) continue;
            const QString key = folded(d.name);
            if (s.withEvents.contains(key)) continue;
            auto it = used.find(key);
            if (it == used.end()) {
                bool any = false;
                for (const PlacedDeclaration* o : all)
                    if (folded(o->declaration.name) == key && isUsed(o->declaration)) any = true;
                it = used.emplace(key, any).first;
            }
            if (it->second) continue;
            add(s, RuleId::UnusedDeclaration, d.line, p->column, int(d.name.size()), nullptr,
                QStringLiteral("Private %1 »%2« wird im Modul nie verwendet")
                    .arg(d.kind == DeclarationKind::Constant ? QStringLiteral("Konstante") : QStringLiteral("Variable"),
                         d.name));
        }
    }

    // Calls that reach outside and Chr chains in one statement of routine r.
    void securityInStatement(ModuleState& s, const RoutineRow& r, const std::vector<CodeToken>& t) {
        int chrs = 0;
        const CodeToken* firstChr = nullptr;
        for (size_t k = 0; k < t.size(); ++k) {
            const CodeToken& w = t[k];
            if (!w.word) continue;
            const bool member = k > 0 && t[k - 1].text == u".";
            if (!member && (w.is("Chr") || w.is("ChrW") || w.is("ChrB"))) {
                if (!firstChr) firstChr = &w;
                ++chrs;
            }
            if (!member && w.is("StrReverse"))
                add(s, RuleId::Obfuscation, w.line, w.column, int(w.text.size()), &r,
                    QStringLiteral("StrReverse: umgedrehter Text verbirgt oft, was aufgerufen wird"));
            const OutsideCall* call = outsideCall(w.text, member);
            if (!call || (!member && declaredInProject(w.text))) continue;
            QString what = w.text.toString();
            if (call->takesClass) {
                // The class name: the first string after the call on its line.
                const ShownLine& line = s.shown[size_t(w.line) - 1];
                for (const StringLiteral& lit : line.strings)
                    if (lit.column > w.column) {
                        what += QStringLiteral("(\"%1\")").arg(lit.text);
                        break;
                    }
            }
            if (!rules_.on(RuleId::ReachesOutside) || ignored(s, RuleId::ReachesOutside, w.line, &r)) continue;
            const QStringList path = pathFromEntry(r.number);
            add(s, RuleId::ReachesOutside, w.line, w.column, int(w.text.size()), &r,
                QStringLiteral("%1: %2%3").arg(what, QString::fromUtf8(call->what), pathText(path)), path);
        }
        if (chrs >= rules_.limit(RuleId::Obfuscation))
            add(s, RuleId::Obfuscation, firstChr->line, firstChr->column, 0, &r,
                QStringLiteral("%1 Aufrufe von Chr in einer Anweisung: Text aus Zeichencodes zusammengesetzt").arg(chrs));
    }

    // Whether the project declares a routine of that name itself: its own
    // Shell is no call outside, and a Declare is named where it stands.
    bool declaredInProject(QStringView name) {
        for (const PlacedDeclaration* p : scope_.everywhere(name))
            if (p->declaration.kind == DeclarationKind::Routine) return true;
        return false;
    }

    // Encoded text and addresses in the string literals of the module.
    void checkStrings(ModuleState& s, const std::vector<RoutineRow>& routines) {
        size_t ri = 0;
        for (size_t l = 0; l < s.shown.size(); ++l) {
            const int line = int(l) + 1;
            if (s.shown[l].strings.empty()) continue;
            while (ri < routines.size() && routines[ri].start > 0 &&
                   line > (routines[ri].end > 0 ? routines[ri].end : routines[ri].start + routines[ri].headLines - 1))
                ++ri;
            const RoutineRow* r = ri < routines.size() && routines[ri].start <= line ? &routines[ri] : nullptr;
            if (r && isDeclaration(r->type)) continue;  // the library of a Declare is named with it
            for (const StringLiteral& lit : s.shown[l].strings) {
                for (qsizetype i = 0, j = 0; i < lit.text.size(); i = j + 1) {
                    j = i;
                    while (j < lit.text.size() && isNameChar(lit.text[j])) ++j;
                    if (j > i) wordsInStrings_.insert(folded(QStringView(lit.text).sliced(i, j - i)));
                }
                const QString encoded = encodedText(lit.text);
                if (!encoded.isEmpty())
                    add(s, RuleId::Obfuscation, line, lit.column, int(lit.text.size()) + 2, r,
                        QStringLiteral("Zeichenkette sieht nach %1 aus (%2 Zeichen)").arg(encoded).arg(lit.text.size()));
                const QString address = addressIn(lit.text);
                if (!address.isEmpty())
                    add(s, RuleId::AddressInString, line, lit.column, int(lit.text.size()) + 2, r,
                        QStringLiteral("Adresse im Text: %1").arg(address));
            }
        }
    }

    ProjectScope& scope_;
    NameResolver resolver_;
    const CheckRules& rules_;
    std::vector<Finding> out_;
    std::unordered_set<QString> implemented_;  // folded module names
    std::unordered_set<int> entries_;          // rou_num of routines that run by themselves
    std::unordered_map<int, std::vector<int>> callers_;
    std::vector<std::pair<size_t, QString>> calledByName_;
    bool projectRead_ = false;
    QSet<QString> uses_;  // useKey of every declaration a name of the project uses  // unused private routines: finding, folded name
    std::unordered_set<QString> wordsInStrings_;           // folded
};

}  // namespace

std::vector<Finding> checkProject(ProjectScope& scope, const CheckRules& rules, Progress& progress) {
    return ProjectCheck(scope, rules).run(progress);
}

std::vector<MeasuredCode> measureProject(ProjectScope& scope) {
    std::vector<MeasuredCode> out;
    for (int m = 1; m <= scope.moduleCount(); ++m) {
        const ModuleRow* row = scope.module(m);
        if (!row || scope.text(m).isEmpty()) continue;
        const CodeLines& code = scope.code(m);
        const std::vector<ShownLine> shown = shownLines(scope.text(m));
        // The line break that ends the text starts no line of its own.
        const int last = code.count() > 1 && code.line(code.count()).isEmpty() ? code.count() - 1 : code.count();
        out.push_back({m, row->name, {}, 1, measureLines(code, shown, 1, last)});
        for (const RoutineRow& r : scope.routinesOf(m)) {
            if (r.start <= 0 || isDeclaration(r.type)) continue;
            const int last = r.end > 0 ? r.end : r.start + std::max(1, r.headLines) - 1;
            out.push_back({m, row->name, r.name, r.start, measureLines(code, shown, r.start, last)});
        }
        scope.forget(m);
    }
    return out;
}

}  // namespace lumo
