// The program's colours as semantic tokens (keywords, comments and strings
// as the tagging pass found them; the names of the project by what the
// resolver binds them to) and the ranges an editor may fold.
#include <algorithm>
#include <span>

#include "lsp/Answers.h"
#include "lsp/Places.h"
#include "model/TaggedText.h"
#include "model/Codes.h"
#include "navigate/CodeTokens.h"

namespace lumo::lsp {

namespace {

enum TokenType { Keyword, Comment, String, FunctionName, Method, PropertyName, VariableName, ParameterName,
                 EnumMemberName, EnumName, StructName, EventName, ClassName, NamespaceName };
const char* const kTokenTypes[] = {"keyword", "comment", "string", "function", "method", "property", "variable",
                                   "parameter", "enumMember", "enum", "struct", "event", "class", "namespace"};
enum TokenModifier { DeclarationBit = 1, ReadonlyBit = 2 };
const char* const kTokenModifiers[] = {"declaration", "readonly"};

struct Token {
    int line = 0;    // 1-based, shown
    int column = 0;  // 1-based
    int length = 0;
    int type = 0;
    int modifiers = 0;
};

// The coloured runs of the tagged text, line by line, as the code view colours them.
struct ColourRuns {
    std::vector<std::vector<Token>>& lines;
    int line = 1;
    int column = 1;
    int kind = -1;  // -1 plain
    void text(QStringView span) {
        for (const QChar c : span) {
            if (c == u'\n') {
                ++line;
                column = 1;
                continue;
            }
            if (c == u'\r') continue;
            if (kind >= 0) {
                if (size_t(line) >= lines.size()) lines.resize(size_t(line) + 1);
                std::vector<Token>& l = lines[size_t(line)];
                if (!l.empty() && l.back().type == kind && l.back().column + l.back().length == column) ++l.back().length;
                else l.push_back({line, column, 1, kind, 0});
            }
            ++column;
        }
    }
    void tag(TagKind k) {
        switch (k) {
        case TagKind::Keyword: kind = Keyword; break;
        case TagKind::Comment: kind = Comment; break;
        case TagKind::String: kind = String; break;
        case TagKind::Close: kind = -1; break;
        case TagKind::LineOpen:
        case TagKind::LineClose: break;
        }
    }
};

int typeOf(ProjectScope& scope, const Declaration& d, int& modifiers) {
    switch (d.kind) {
    case DeclarationKind::Module: return scope.isClassLike(d.module) ? ClassName : NamespaceName;
    case DeclarationKind::Routine: {
        const RoutineRow* r = scope.routineNumbered(d.routine);
        if (r && isProperty(r->type)) return PropertyName;
        return scope.isClassLike(d.module) ? Method : FunctionName;
    }
    case DeclarationKind::Constant:
    case DeclarationKind::LocalConstant: modifiers |= ReadonlyBit; return VariableName;
    case DeclarationKind::Enum: return EnumName;
    case DeclarationKind::EnumMember: modifiers |= ReadonlyBit; return EnumMemberName;
    case DeclarationKind::Type: return StructName;
    case DeclarationKind::Event: return EventName;
    case DeclarationKind::Parameter: return ParameterName;
    case DeclarationKind::Variable:
    case DeclarationKind::LocalVariable: return VariableName;
    }
    return VariableName;
}

bool insideRun(std::span<const Token> runs, int column) {
    for (const Token& t : runs)
        if (column >= t.column && column < t.column + t.length) return true;
    return false;
}

}  // namespace

QJsonObject semanticTokensLegend() {
    QJsonArray types, modifiers;
    for (const char* t : kTokenTypes) types.append(t);
    for (const char* m : kTokenModifiers) modifiers.append(m);
    return {{"tokenTypes", types}, {"tokenModifiers", modifiers}};
}

QJsonValue semanticTokensAnswer(Workspace& workspace, const QJsonObject& params) {
    const QString path = pathOfUri(params.value("textDocument").toObject().value("uri").toString());
    const int module = workspace.moduleOf(path);
    const ModuleDocument* document = workspace.document(module);
    if (!document) return QJsonObject{{"data", QJsonArray()}};
    std::vector<std::vector<Token>> lines(size_t(document->shownLineCount()) + 1);
    const QString tagged = QString::fromUtf8(document->tagged());
    ColourRuns runs{lines};
    readTagged(tagged, runs);
    ProjectScope& scope = workspace.scope();
    NameResolver& resolver = workspace.resolver();
    const CodeLines& code = scope.code(module);
    std::vector<CodeToken> words;
    for (int l = 1; l <= code.count() && l < int(lines.size()); ++l) {
        words.clear();
        tokenizeLine(code.line(l), l, words);
        std::vector<Token>& line = lines[size_t(l)];
        const size_t coloured = line.size();
        for (const CodeToken& w : words) {
            if (!w.word || w.text.front().isDigit()) continue;
            if (insideRun(std::span<const Token>(line.data(), coloured), w.column)) continue;
            const Resolution r = resolver.resolveAt(module, l, w.column);
            if (r.targets.empty() || r.kind == UseKind::NotAName) continue;
            int modifiers = r.kind == UseKind::Declaration ? DeclarationBit : 0;
            const int type = typeOf(scope, r.targets.front(), modifiers);
            line.push_back({l, r.column, r.length, type, modifiers});
        }
        std::sort(line.begin(), line.end(), [](const Token& a, const Token& b) { return a.column < b.column; });
    }
    QJsonArray data;
    int lastLine = 0, lastChar = 0;
    for (const std::vector<Token>& line : lines)
        for (const Token& t : line) {
            const FilePlace start = document->file({t.line, t.column});
            const FilePlace end = document->file({t.line, t.column + t.length});
            const int length = end.line == start.line ? end.character - start.character : 0;
            if (length <= 0) continue;
            data.append(start.line - lastLine);
            data.append(start.line == lastLine ? start.character - lastChar : start.character);
            data.append(length);
            data.append(t.type);
            data.append(t.modifiers);
            lastLine = start.line;
            lastChar = start.character;
        }
    return QJsonObject{{"data", data}};
}

namespace {

bool startsWithWords(QStringView line, QStringView words) {
    const QStringView t = line.trimmed();
    return t.startsWith(words, Qt::CaseInsensitive) && (t.size() == words.size() || !isNameChar(t[words.size()]));
}

bool isCommentOnly(QStringView line) {
    const QStringView t = line.trimmed();
    return t.startsWith(u'\'') || startsWithWords(t, u"Rem");
}

}  // namespace

QJsonValue foldingRangeAnswer(Workspace& workspace, const QJsonObject& params) {
    const QString path = pathOfUri(params.value("textDocument").toObject().value("uri").toString());
    const int module = workspace.moduleOf(path);
    const ModuleDocument* d = workspace.document(module);
    if (!d) return QJsonArray();
    QJsonArray out;
    auto fold = [&](int first, int last, const char* kind) {
        const int from = d->fileLineOf(first), to = d->fileLineOf(last);
        if (from < 0 || to <= from) return;
        QJsonObject range{{"startLine", from}, {"endLine", to}};
        if (kind) range.insert("kind", kind);
        out.append(range);
    };
    for (const RoutineRow& r : workspace.scope().routinesOf(module)) fold(r.start, routineLastLine(r), nullptr);
    std::vector<int> conditions;  // open #If and #Else branches
    std::vector<int> blocks;      // open Enum and Type blocks
    int comments = 0;             // first line of the comment block going on
    for (int l = 1; l <= d->shownLineCount() + 1; ++l) {
        const QString& line = d->shownLine(l);
        const bool comment = l <= d->shownLineCount() && isCommentOnly(line);
        if (comment && comments == 0) comments = l;
        if (!comment && comments > 0) {
            fold(comments, l - 1, "comment");
            comments = 0;
        }
        if (comment) continue;
        if (startsWithWords(line, u"#If")) {
            conditions.push_back(l);
        } else if ((startsWithWords(line, u"#Else") || startsWithWords(line, u"#ElseIf")) && !conditions.empty()) {
            fold(conditions.back(), l - 1, "region");
            conditions.back() = l;
        } else if (startsWithWords(line, u"#End If") && !conditions.empty()) {
            fold(conditions.back(), l, "region");
            conditions.pop_back();
        } else if (startsWithWords(line, u"End Enum") || startsWithWords(line, u"End Type")) {
            if (!blocks.empty()) fold(blocks.back(), l, nullptr);
            if (!blocks.empty()) blocks.pop_back();
        } else {
            QStringView t = QStringView(line).trimmed();
            for (const char16_t* visibility : {u"Public ", u"Private "})
                if (t.startsWith(QStringView(visibility), Qt::CaseInsensitive)) t = t.mid(qsizetype(std::char_traits<char16_t>::length(visibility))).trimmed();
            if (startsWithWords(t, u"Enum") || startsWithWords(t, u"Type")) blocks.push_back(l);
        }
    }
    return out;
}

}  // namespace lumo::lsp
