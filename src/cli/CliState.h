#pragma once
// The shared state a headless command starts from: the program folder beside
// the executable (where the template lies) and the user's stored options.

#include <QStringList>

namespace lumo::cli {

// False after printing why when the run cannot start (a settings file that
// is no regular file). --codepage, when given, overrides the stored option.
bool initCliState();

// The arguments after the program's name without the options every command
// takes (--codepage NAME), which are put in force here. An argument whose
// bytes are no UTF-8 (a file name) is shown decoded in the code page in
// force and opened by its bytes. problem: why the arguments are refused.
QStringList takeGlobalOptions(int argc, char** argv, QString* problem);

}  // namespace lumo::cli
