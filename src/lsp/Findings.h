#pragma once
// Where the server's diagnostics come from: the findings of the checks of
// "codelumo-cli check", once they have a widget-free interface. Until then
// the server is given no source and publishes none; a source plugs in here
// without the server changing.
#include <vector>

#include <QString>

namespace lumo {
class ProjectScope;
}

namespace lumo::lsp {

struct Finding {
    int line = 0;    // 1-based line of the shown module
    int column = 1;  // 1-based
    int length = 0;  // 0: to the end of the line
    enum class Severity { Error = 1, Warning = 2, Information = 3, Hint = 4 } severity = Severity::Warning;
    QString code;     // the check's short name
    QString message;  // German, as the check words it
};

class FindingSource {
public:
    virtual ~FindingSource() = default;
    // The findings of one module of the project as it now stands.
    virtual std::vector<Finding> findingsOf(ProjectScope& scope, int module) = 0;
};

}  // namespace lumo::lsp
