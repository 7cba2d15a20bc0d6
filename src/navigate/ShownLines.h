#pragma once
// A module's lines as the code view shows them (tags gone), with what VBA
// reads as comments and string literals in each: the checks look into both,
// where the resolver's code lines hold only blanks.
#include <vector>

#include <QByteArray>
#include <QString>

namespace lumo {

struct StringLiteral {
    int column = 0;  // 1-based, of the opening quote
    QString text;    // without the quotes, "" read as one "
};

struct ShownLine {
    QString text;
    int commentColumn = 0;  // 1-based start of the comment ("'" or Rem), 0 for none
    std::vector<StringLiteral> strings;
    QStringView comment() const { return commentColumn > 0 ? QStringView(text).mid(commentColumn - 1) : QStringView(); }
};

// Every line of a stored (tagged UTF-8) module text, 1-based as lines[l - 1].
// A comment whose line ends in " _" goes on in the next line.
std::vector<ShownLine> shownLines(const QByteArray& taggedUtf8);

}  // namespace lumo
