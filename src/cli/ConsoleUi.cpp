#include "cli/ConsoleUi.h"

#include <QTextStream>

namespace lumo::cli {

void printError(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QTextStream err(stderr);
    err << t << "\n";
}

void ConsoleUi::message(const QString& text, const QString&, MsgIcon) { printError(text); }

Answer ConsoleUi::question(const QString& text, MsgButtons buttons, MsgIcon, const QString&) {
    printError(text);
    return buttons == MsgButtons::YesNoCancel ? Answer::Cancel : Answer::No;
}

std::optional<QString> ConsoleUi::input(const QString& prompt, const QString&, const QString&) {
    printError(prompt);
    return std::nullopt;
}

}  // namespace lumo::cli
