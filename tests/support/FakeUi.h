#pragma once
// A UI that records every call and answers from a script.
#include <deque>

#include <QString>
#include <QStringList>

#include "base/Ui.h"

namespace lumo::test {

struct UiCall {
    QString kind;   // "message", "question", "input", "folder", "save", "open", "clip-set", "clip-clear", "view"
    QString text;
    QString title;
    MsgIcon icon = MsgIcon::None;
};

class FakeUi : public Ui {
public:
    std::vector<UiCall> calls;
    std::deque<Answer> answers;              // for question(); default No... when empty: Yes
    std::deque<std::optional<QString>> inputs;
    std::deque<QString> folders, saveFiles;
    std::deque<QStringList> openFiles;
    QString clipboard;
    std::vector<QString> viewed;

    void message(const QString& text, const QString& title, MsgIcon icon) override {
        calls.push_back({"message", text, title, icon});
    }
    Answer question(const QString& text, MsgButtons, MsgIcon icon, const QString& title) override {
        calls.push_back({"question", text, title, icon});
        if (answers.empty()) return Answer::Yes;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<QString> input(const QString& prompt, const QString& title, const QString& def) override {
        calls.push_back({"input", prompt, title, MsgIcon::None});
        if (inputs.empty()) return def;
        auto v = inputs.front();
        inputs.pop_front();
        return v;
    }
    QString chooseFolder(const QString& title, const QString& start) override {
        calls.push_back({"folder", start, title, MsgIcon::None});
        return pop(folders);
    }
    QString chooseSaveFile(const QString& title, const QString& start, const QString& name,
                           const QList<SaveFilter>&, const QString&) override {
        calls.push_back({"save", start + "|" + name, title, MsgIcon::None});
        return pop(saveFiles);
    }
    QStringList chooseOpenFiles(const QString& title, const QString& start, const QString&) override {
        calls.push_back({"open", start, title, MsgIcon::None});
        if (openFiles.empty()) return {};
        auto v = openFiles.front();
        openFiles.pop_front();
        return v;
    }
    QString clipboardText() override { return clipboard; }
    void setClipboardText(const QString& t) override {
        clipboard = t;
        calls.push_back({"clip-set", t, {}, MsgIcon::None});
    }
    void clearClipboard() override {
        clipboard.clear();
        calls.push_back({"clip-clear", {}, {}, MsgIcon::None});
    }
    bool openInViewer(const QString& path) override {
        viewed.push_back(path);
        calls.push_back({"view", path, {}, MsgIcon::None});
        return true;
    }

    // The messages shown, in order.
    QStringList messages() const {
        QStringList out;
        for (const auto& c : calls)
            if (c.kind == "message") out << c.text;
        return out;
    }

private:
    static QString pop(std::deque<QString>& q) {
        if (q.empty()) return {};
        QString v = q.front();
        q.pop_front();
        return v;
    }
};

}  // namespace lumo::test
