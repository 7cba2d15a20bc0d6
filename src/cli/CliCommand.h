#pragma once
// Subcommands of codelumo-cli register themselves, one file each.
#include <functional>
#include <QStringList>

namespace lumo::cli {

struct CliCommand {
    const char* name;
    const char* usage;  // the call, shown by "codelumo-cli help" and when its words are off
    const char* about;  // what follows the call in the help, from the gap after it
    std::function<int(const QStringList& args)> run;  // returns the exit status
};

std::vector<CliCommand>& commands();

struct CliRegistration {
    explicit CliRegistration(CliCommand c) { commands().push_back(std::move(c)); }
};

}  // namespace lumo::cli
