#pragma once
// Everything a command shows to the user or asks of the user goes through
// this one interface, so that the logic runs in tests without a window. The
// program implements it with Qt dialogs; tests use a fake that records every
// call and answers from a script (tests/support/FakeUi.h).
#include <optional>

#include <QString>
#include <QStringList>

namespace lumo {

enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgButtons { YesNo, YesNoCancel };
enum class Answer { Yes, No, Cancel };

struct SaveFilter {
    QString shown;    // "RTF-Dokument (*.rtf)"
    QString pattern;  // "*.RTF"
};

class Ui {
public:
    virtual ~Ui() = default;

    // A message box with an OK button. An empty title means the program's default title.
    virtual void message(const QString& text, const QString& title = {}, MsgIcon icon = MsgIcon::None) = 0;
    virtual Answer question(const QString& text, MsgButtons buttons, MsgIcon icon = MsgIcon::Question,
                            const QString& title = {}) = 0;
    // nullopt when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // The chosen folder without trailing separator, or "" when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
    // The chosen full path, or "" when cancelled. The first filter is preselected;
    // defaultSuffix is appended when the user types a name without one.
    virtual QString chooseSaveFile(const QString& title, const QString& startFolder, const QString& defaultName,
                                   const QList<SaveFilter>& filters, const QString& defaultSuffix) = 0;
    // Documents (or module folders) to open; empty when cancelled.
    virtual QStringList chooseOpenFiles(const QString& title, const QString& startFolder, const QString& filter) = 0;

    virtual QString clipboardText() = 0;
    virtual void setClipboardText(const QString& text) = 0;
    virtual void clearClipboard() = 0;

    // Opens a file in the desktop's viewer for its kind (browser for HTML), or
    // an "http://" or "https://" address in the browser. False when that failed.
    virtual bool openInViewer(const QString& path) = 0;
};

}  // namespace lumo
