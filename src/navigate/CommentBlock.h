#pragma once
// The comment block directly above a line: the lines that end just before it
// and are nothing but comments. A routine's or a declaration's own account of
// itself is written there; jumps keep it in view and the hover shows it.
// Lines come from whoever holds them (the code view's text, the stored
// module text), one at a time and only as far up as the block goes.
#include <functional>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>
#include <QStringView>

namespace lumo {

// A line that holds a comment only: "' ..." or "Rem ..." after blanks.
bool isCommentLine(QStringView line);

// The first line of the comment block directly above line `line` (1-based),
// or `line` itself when the line before holds code or is blank. lineText(n)
// gives line n without its break; at most `maxLines` lines are looked at.
int commentBlockStart(const std::function<QString(int)>& lineText, int line, int maxLines = 200);

// The lines of that block, top down.
QStringList commentBlockAbove(const std::function<QString(int)>& lineText, int line, int maxLines = 200);

// What a comment block says of the routine or declaration below it, read
// from the conventions VBA teams write: plain comment lines, the
// annotations '@Description("...") and '@ModuleDescription("..."),
// ''' blocks with <summary>, <param name="..."> and <returns>, and
// @param/@return tags (a {Type} before the name is skipped). Separator lines
// ("' ====") break paragraphs; other annotations ('@Folder, '@Ignore) and
// other tags (@method, @example, @throws with what follows them) are left
// out of the text.
struct DocComment {
    struct Param {
        QString name;
        QString text;
    };
    QString summary;  // the first sentence of the text
    QString text;     // paragraphs separated by "\n\n"
    std::vector<Param> params;
    QString returns;
    bool isEmpty() const { return text.isEmpty() && params.empty() && returns.isEmpty(); }
};

// The lines of a comment block (as commentBlockAbove gives them); lines that
// are no comment are skipped.
DocComment docCommentOf(const QStringList& block);

// The text of `Attribute NAME.VB_Description = "..."` (of a module:
// `Attribute VB_Description = "..."`), doubled quotes made single; nothing
// for any other line.
std::optional<QString> vbDescriptionOf(QStringView line);

// The documentation of the routine or declaration whose head is lines
// head..head+headLines-1 of `lineCount`: its comment block, and the
// VB_Description attribute lines right below the head (its text first).
DocComment documentationAt(const std::function<QString(int)>& lineText, int head, int headLines, int lineCount);

// The documentation of a module whose first routine begins at line `end`
// (lineCount + 1 without one): '@ModuleDescription and Attribute
// VB_Description lines before it, and the comment block that opens the
// module unless it stands right above that routine (then it is the routine's).
DocComment moduleDocumentation(const std::function<QString(int)>& lineText, int end);

// The first sentence of `text`: up to the first ".", "!" or "?" before a
// blank (not one of an abbreviation such as "z.B."), else its first paragraph.
QString firstSentence(QStringView text);

}  // namespace lumo
