#include "cli/ConsoleUi.h"

#include <QTextStream>

#include "base/TextHelpers.h"

namespace lumo::cli {

void printError(const QString& text) {
    QTextStream err(stderr);
    err << visibleControls(replaceAll(text, u"\r\n", u"\n")) << "\n";
}

void ConsoleUi::message(const QString& text, const QString&, MsgIcon icon) {
    if (icon == MsgIcon::Warning || icon == MsgIcon::Critical) ++problems_;
    printError(text);
}

Answer ConsoleUi::question(const QString& text, MsgButtons buttons, MsgIcon, const QString&) {
    printError(text);
    return buttons == MsgButtons::YesNoCancel ? Answer::Cancel : Answer::No;
}

std::optional<QString> ConsoleUi::input(const QString& prompt, const QString&, const QString&) {
    printError(prompt);
    return std::nullopt;
}

}  // namespace lumo::cli
