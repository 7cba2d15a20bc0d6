// codelumo-cli lsp as the program a client starts: framed messages on its
// standard input, nothing but framed messages on its standard output, and
// the exit status the protocol gives "exit" with and without "shutdown".
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CliFixture.h"
#include "lsp/MessageFrames.h"

namespace {

class LspProcess : public lumo::test::CliProgram {
protected:
    // The messages written back for `input`, after standard input closed.
    std::vector<QJsonObject> talk(const QByteArray& input, int* status) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LUMO_SETTINGS_FILE", path("settings.ini"));
        env.insert("LUMO_DATA_DIR", path("data"));
        p.setProcessEnvironment(env);
        p.start(LUMO_BIN_DIR "/codelumo-cli", {"lsp"});
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(20000)) << "codelumo-cli lsp hängt";
        *status = p.exitCode();
        lumo::lsp::MessageReader reader;
        reader.feed(p.readAllStandardOutput());
        std::vector<QJsonObject> out;
        while (auto f = reader.next()) {
            EXPECT_TRUE(f->problem.isEmpty()) << f->problem.toStdString();
            out.push_back(QJsonDocument::fromJson(f->body).object());
        }
        return out;
    }
    static QByteArray call(int id, const char* method, const char* params = "{}") {
        return lumo::lsp::framed(QStringLiteral(R"({"jsonrpc":"2.0","id":%1,"method":"%2","params":%3})")
                                     .arg(id).arg(method, params).toUtf8());
    }
};

TEST_F(LspProcess, BadBytesCostOneMessageAndExitFollowsShutdown) {
    write("M.bas", "Sub A()\r\nEnd Sub\r\n");
    int status = -1;
    const QByteArray root = "{\"rootPath\":\"" + dir.path().toUtf8() + "\"}";
    const std::vector<QJsonObject> out =
        talk(call(1, "initialize", root.constData()) + "Content-Length: 3\r\n\r\n{{{" + "garbage\r\n\r\n" +
                 call(2, "textDocument/rename") + call(3, "shutdown") + lumo::lsp::framed(R"({"jsonrpc":"2.0","method":"exit"})"),
             &status);
    EXPECT_EQ(status, 0);
    QStringList answers;
    for (const QJsonObject& m : out)
        if (m.contains("id"))
            answers << m.value("id").toVariant().toString() + ":" +
                           (m.contains("error") ? QString::number(m.value("error").toObject().value("code").toInt()) : "ok");
    EXPECT_EQ(answers.join(' ').toStdString(), "1:ok :-32700 2:-32601 3:ok");
}

TEST_F(LspProcess, ClientGoneWithoutShutdown) {
    int status = -1;
    talk(call(1, "initialize"), &status);
    EXPECT_EQ(status, 1);
}

}  // namespace
