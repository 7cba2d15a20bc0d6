#include "navigate/Declarations.h"

#include <algorithm>

#include "base/CaseFold.h"
#include "model/CodeDatabase.h"
#include "model/TaggedText.h"
#include "model/WorkingStore.h"

namespace lumo {

namespace {

// The code of each physical line with comments and string literals turned
// into one blank each, so that neither can be taken for a name.
class CodeLines {
public:
    std::vector<QString> lines{QString()};

    void text(QStringView s) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype nl = s.indexOf(u'\n', from);
            const QStringView piece = s.sliced(from, (nl < 0 ? s.size() : nl) - from);
            if (!skipping_) appendCode(piece);
            if (nl < 0) return;
            lines.emplace_back();
            from = nl + 1;
        }
    }

    void tag(TagKind kind) {
        if (kind == TagKind::Comment || kind == TagKind::String) {
            skipping_ = true;
            lines.back() += QLatin1Char(' ');
        } else if (kind == TagKind::Close) {
            skipping_ = false;
        }
    }

private:
    void appendCode(QStringView piece) {
        if (piece.endsWith(u'\r')) piece.chop(1);  // the CR of a line's CR LF
        lines.back() += piece;
    }

    bool skipping_ = false;
};

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

struct Token {
    QStringView text;
    bool word = false;
};

std::vector<Token> tokens(QStringView statement) {
    std::vector<Token> out;
    const qsizetype n = statement.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = statement[i];
        if (c.isSpace()) {
            ++i;
        } else if (isNameChar(c)) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(statement[j])) ++j;
            out.push_back({statement.sliced(i, j - i), true});
            i = j;
        } else {
            out.push_back({statement.sliced(i, 1), false});
            ++i;
        }
    }
    return out;
}

bool is(const Token& t, const char* keyword) {
    return t.word && t.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// The first name of each comma-separated item at bracket depth 0, a leading
// WithEvents passed over: "a As Long, b(1 To 3), WithEvents c As X" gives a, b, c.
std::vector<QStringView> listedNames(const std::vector<Token>& t, size_t from) {
    std::vector<QStringView> names;
    int depth = 0;
    bool itemStart = true;
    for (size_t i = from; i < t.size(); ++i) {
        const QStringView s = t[i].text;
        if (!t[i].word) {
            if (s == u"(") ++depth;
            else if (s == u")") depth = std::max(0, depth - 1);
            else if (s == u"," && depth == 0) itemStart = true;
            continue;
        }
        if (!itemStart) continue;
        if (is(t[i], "WithEvents")) continue;
        names.push_back(s);
        itemStart = false;
    }
    return names;
}

// Reads statement after statement, remembering whether it is inside an Enum
// (whose lines name members) or a Type (whose lines name none).
class DeclarationReader {
public:
    DeclarationReader(int module, std::vector<Declaration>& out) : module_(module), out_(out) {}

    void statement(QStringView text, int line) {
        const std::vector<Token> t = tokens(text);
        if (t.empty() || !t[0].word) return;
        if (is(t[0], "End") && t.size() > 1 && (is(t[1], "Enum") || is(t[1], "Type"))) {
            inEnum_ = inType_ = false;
            return;
        }
        if (inType_) return;
        if (inEnum_) {
            add(t[0].text, DeclarationKind::EnumMember, line, enumPublic_);
            out_.back().container = enumName_;
            return;
        }
        size_t i = 0;
        // Without a word of its own, a module-level Const is Private and an
        // Enum, Type or Event Public; Dim declares Private variables.
        enum class Said { Nothing, Public, Private, Dim } said = Said::Nothing;
        if (is(t[0], "Public") || is(t[0], "Global")) said = Said::Public;
        else if (is(t[0], "Private")) said = Said::Private;
        else if (is(t[0], "Dim")) said = Said::Dim;
        if (said != Said::Nothing) ++i;
        if (i >= t.size()) return;
        const bool publicUnlessPrivate = said != Said::Private && said != Said::Dim;
        const Token& k = t[i];
        if (is(k, "Const")) {
            for (const QStringView n : listedNames(t, i + 1)) add(n, DeclarationKind::Constant, line, said == Said::Public);
        } else if (is(k, "Enum") || is(k, "Type") || is(k, "Event")) {
            if (i + 1 >= t.size() || !t[i + 1].word) return;
            const DeclarationKind kind = is(k, "Enum")   ? DeclarationKind::Enum
                                         : is(k, "Type") ? DeclarationKind::Type
                                                         : DeclarationKind::Event;
            add(t[i + 1].text, kind, line, publicUnlessPrivate);
            inEnum_ = kind == DeclarationKind::Enum;
            if (inEnum_) enumName_ = t[i + 1].text.toString();
            inType_ = kind == DeclarationKind::Type;
            enumPublic_ = publicUnlessPrivate;
        } else if (is(k, "Declare") || is(k, "Sub") || is(k, "Function") || is(k, "Property") ||
                   is(k, "Static") || said == Said::Nothing) {
            // Routines and external declarations come from the store; other
            // statements (Option, Implements, Def...) declare nothing.
        } else {
            for (const QStringView n : listedNames(t, i)) add(n, DeclarationKind::Variable, line, said == Said::Public);
        }
    }

private:
    void add(QStringView name, DeclarationKind kind, int line, bool isPublic) {
        out_.push_back({name.toString(), kind, module_, line, isPublic});
    }

    int module_;
    std::vector<Declaration>& out_;
    bool inEnum_ = false;
    bool inType_ = false;
    bool enumPublic_ = true;
    QString enumName_;
};

// A physical line that goes on in the next one: it ends in " _".
bool continues(QStringView line) {
    const QStringView t = line.trimmed();
    return t.endsWith(u'_') && (t.size() == 1 || t[t.size() - 2].isSpace());
}

// The end of line `lastLine` (its line break excluded), or the whole text.
qsizetype endOfLine(QStringView text, int lastLine) {
    if (lastLine <= 0) return text.size();
    qsizetype at = -1;
    for (int l = 0; l < lastLine; ++l) {
        at = text.indexOf(u'\n', at + 1);
        if (at < 0) return text.size();
    }
    return at;
}

}  // namespace

std::vector<Declaration> scanDeclarations(QStringView tagged, int moduleNumber, int lastLine) {
    CodeLines code;
    readTagged(tagged.left(endOfLine(tagged, lastLine)), code);
    std::vector<Declaration> out;
    DeclarationReader reader(moduleNumber, out);
    QString statement;
    int first = 0;  // the line a continued statement began on
    for (size_t i = 0; i < code.lines.size(); ++i) {
        const QString& line = code.lines[i];
        if (statement.isEmpty()) first = int(i) + 1;
        if (continues(line)) {
            statement += QStringView(line).trimmed().chopped(1);
            statement += QLatin1Char(' ');
            continue;
        }
        statement += line;
        // Conditional compilation only chooses between declarations; both
        // branches are read.
        if (!statement.trimmed().startsWith(u'#')) {
            for (const QStringView part : QStringView(statement).split(u':')) reader.statement(part, first);
        }
        statement.clear();
    }
    return out;
}

void DeclarationIndex::add(Declaration d) {
    all_.push_back(std::move(d));
}

namespace {

void sortByPlace(std::vector<Declaration>& all) {
    std::stable_sort(all.begin(), all.end(), [](const Declaration& a, const Declaration& b) {
        if (a.module != b.module) return a.module < b.module;
        return a.line < b.line;
    });
}

}  // namespace

void DeclarationIndex::finish() {
    sortByPlace(all_);
    byName_.clear();
    byName_.reserve(qsizetype(all_.size()));
    for (size_t i = 0; i < all_.size(); ++i) byName_.insert(caseFolded(all_[i].name), qsizetype(i));
}

std::vector<Declaration> DeclarationIndex::named(const QString& name) const {
    QList<qsizetype> at = byName_.values(caseFolded(name));
    std::sort(at.begin(), at.end());
    std::vector<Declaration> out;
    out.reserve(size_t(at.size()));
    for (const qsizetype i : at) out.push_back(all_[size_t(i)]);
    return out;
}

namespace {

// Modules, routines and the scanned declarations of the modules for which
// `wanted` says yes about the text of their declarations part.
template <class Wanted, class TextOf>
void collect(WorkingStore& store, const std::vector<ModuleRow>& modules, const std::vector<RoutineRow>& routines,
             Wanted wanted, TextOf textOf, std::vector<Declaration>& out) {
    const std::vector<ModuleLine> firstLines = firstProcedureLines(store);
    auto firstLine = firstLines.begin();
    for (const ModuleRow& m : modules) {
        while (firstLine != firstLines.end() && firstLine->module < m.number) ++firstLine;
        const int lastLine =
            firstLine != firstLines.end() && firstLine->module == m.number ? std::max(1, firstLine->line - 1) : 0;
        // A module text that cannot be read leaves its module with the names
        // the store knows (its own and its routines'): Definition of a routine
        // needs no text and keeps working.
        QString text;
        if (!textOf(m.number, text)) continue;
        const QStringView part = QStringView(text).left(endOfLine(text, lastLine));
        if (!wanted(part)) continue;
        for (Declaration& d : scanDeclarations(part, m.number, 0)) out.push_back(std::move(d));
    }
    for (const RoutineRow& r : routines)
        out.push_back({r.name, DeclarationKind::Routine, r.module, r.start, r.visibility != OpenPrivate});
}

// The stored module text, false when it cannot be read.
bool readText(WorkingStore& store, int module, QString& text) {
    try {
        text = store.readModuleText(module);
        return true;
    } catch (const StoreError&) {
        return false;
    }
}

// The module texts read before: texts[i] of module i + 1.
struct TextsRead {
    const std::vector<QString>& texts;
    bool operator()(int module, QString& text) const {
        if (module < 1 || size_t(module) > texts.size() || texts[size_t(module) - 1].isNull()) return false;
        text = texts[size_t(module) - 1];
        return true;
    }
};

// The modules' own names, then everything collect finds.
template <class TextOf>
void allOf(WorkingStore& store, const std::vector<ModuleRow>& modules, const std::vector<RoutineRow>& routines,
           TextOf textOf, std::vector<Declaration>& out) {
    for (const ModuleRow& m : modules) out.push_back({m.name, DeclarationKind::Module, m.number, 1, true});
    collect(store, modules, routines, [](QStringView) { return true; }, textOf, out);
}

}  // namespace

DeclarationIndex DeclarationIndex::ofProject(WorkingStore& store) {
    return ofProject(store, {});
}

DeclarationIndex DeclarationIndex::ofProject(WorkingStore& store, const std::vector<QString>& texts) {
    DeclarationIndex index;
    const std::vector<ModuleRow> modules = modulesByNumber(store);
    for (const ModuleRow& m : modules) index.moduleNames_.insert(m.number, m.name);
    const std::vector<RoutineRow> routines =
        modules.empty() ? std::vector<RoutineRow>{}
                        : routinesOfModulesByStart(store, modules.front().number, modules.back().number);
    if (texts.empty()) {
        allOf(store, modules, routines, [&store](int module, QString& text) { return readText(store, module, text); },
              index.all_);
    } else {
        allOf(store, modules, routines, TextsRead{texts}, index.all_);
    }
    index.finish();
    return index;
}

std::vector<Declaration> projectDeclarations(WorkingStore& store, const std::vector<ModuleRow>& modules,
                                             const std::vector<RoutineRow>& routines,
                                             const std::vector<QString>& texts) {
    std::vector<Declaration> all;
    allOf(store, modules, routines, TextsRead{texts}, all);
    sortByPlace(all);
    return all;
}

DeclarationIndex DeclarationIndex::ofName(WorkingStore& store, const QString& name) {
    DeclarationIndex index;
    if (name.isEmpty()) return index;
    const std::vector<ModuleRow> modules = modulesByNumber(store);
    for (const ModuleRow& m : modules) index.moduleNames_.insert(m.number, m.name);
    for (const ModuleRow& m : modules)
        if (sameIgnoringCase(m.name, name)) index.add({m.name, DeclarationKind::Module, m.number, 1, true});
    collect(store, modules, routinesNamed(store, name),
            [&name](QStringView part) { return part.contains(name, Qt::CaseInsensitive); },
            [&store](int module, QString& text) { return readText(store, module, text); }, index.all_);
    // A text that holds the name only as part of a longer one added other names.
    const QString folded = caseFolded(name);
    std::erase_if(index.all_, [&folded](const Declaration& d) { return caseFolded(d.name) != folded; });
    index.finish();
    return index;
}

}  // namespace lumo
