#pragma once
// A module text the parser cannot take apart (a routine head without a
// parameter list, a Declare without Lib, too many routines). The builder
// leaves that module out, names it with the reason and the line, and goes on.
#include <stdexcept>
#include <string>

#include <QString>

namespace lumo {

class ParseError : public std::runtime_error {
public:
    // line: the 1-based line of the module as the editor shows it, 0 when
    // the fault belongs to no single line.
    explicit ParseError(const QString& reason, int line = 0)
        : std::runtime_error(described(reason, line).toStdString()), reason_(reason), line_(line) {}
    explicit ParseError(const char* reason) : ParseError(QString::fromUtf8(reason)) {}

    const QString& reason() const { return reason_; }
    int line() const { return line_; }

private:
    static QString described(const QString& reason, int line) {
        return line > 0 ? reason + QLatin1String(" in Zeile ") + QString::number(line) : reason;
    }
    QString reason_;
    int line_ = 0;
};

// Where a module's code could not be split into routines, when the parser
// reads on past it.
struct ParseFault {
    QString reason;
    int line = 0;  // as in ParseError
};

}  // namespace lumo
