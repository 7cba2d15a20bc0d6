#pragma once
// Subcommands of codelumo-cli register themselves, one file each.
#include <functional>
#include <QStringList>

namespace lumo::cli {

struct CliCommand {
    const char* name;
    const char* usage;  // one line, shown by "codelumo-cli help"
    std::function<int(const QStringList& args)> run;  // returns the exit status
};

std::vector<CliCommand>& commands();

struct CliRegistration {
    explicit CliRegistration(CliCommand c) { commands().push_back(std::move(c)); }
};

}  // namespace lumo::cli
