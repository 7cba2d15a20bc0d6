#pragma once
// The UI of the headless entry: messages go to standard error, questions
// take their default answer, choosers choose nothing.
#include "base/Ui.h"

namespace lumo::cli {

class ConsoleUi : public Ui {
public:
    void message(const QString& text, const QString& title, MsgIcon icon) override;
    Answer question(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&, const QList<SaveFilter>&,
                           const QString&) override {
        return {};
    }
    QStringList chooseOpenFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString clipboardText() override { return clipboard_; }
    void setClipboardText(const QString& text) override { clipboard_ = text; }
    void clearClipboard() override { clipboard_.clear(); }
    bool openInViewer(const QString&) override { return false; }

    // Warnings and errors shown so far: a verb that met one did not read
    // everything it needed and must not end as if it had.
    int problems() const { return problems_; }

private:
    QString clipboard_;
    int problems_ = 0;
};

// Writes text with its CR LF line breaks as the terminal's line breaks and
// every other control character as a visible escape.
void printError(const QString& text);

}  // namespace lumo::cli
