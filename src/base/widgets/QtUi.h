#pragma once
// The program's Ui: Qt's standard dialogs, the system clipboard and the
// desktop's viewer, owned by one window.
#include <QPointer>
#include <QWidget>

#include "base/Ui.h"

namespace lumo {

class QtUi : public Ui {
public:
    explicit QtUi(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    void message(const QString& text, const QString& title = {}, MsgIcon icon = MsgIcon::None) override;
    Answer question(const QString& text, MsgButtons buttons, MsgIcon icon = MsgIcon::Question,
                    const QString& title = {}) override;
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& defaultText) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    QString chooseSaveFile(const QString& title, const QString& startFolder, const QString& defaultName,
                           const QList<SaveFilter>& filters, const QString& defaultSuffix) override;
    QStringList chooseOpenFiles(const QString& title, const QString& startFolder, const QString& filter) override;
    QString clipboardText() override;
    void setClipboardText(const QString& text) override;
    void clearClipboard() override;
    bool openInViewer(const QString& path) override;

private:
    QString titleOr(const QString& title) const;
    QPointer<QWidget> owner_;
    QPointer<QWidget> pageWindow_;  // our own HTML window, reused by the next page
};

}  // namespace lumo
