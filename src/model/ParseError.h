#pragma once
// A module text the parser cannot take apart (a routine head without a
// parameter list, a Declare without Lib, too many routines). The builder
// reports it and abandons the build.
#include <stdexcept>
#include <string>

#include <QString>

namespace lumo {

class ParseError : public std::runtime_error {
public:
    explicit ParseError(const QString& what) : std::runtime_error(what.toStdString()) {}
    explicit ParseError(const char* what) : std::runtime_error(what) {}
};

}  // namespace lumo
