// "codelumo-cli lsp": the language server on standard input and output. The
// streams are read and written here; everything the server knows lives in
// src/lsp/. Standard output carries nothing but framed messages.
#include <cerrno>

#include <poll.h>
#include <unistd.h>

#include <QJsonDocument>

#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "lsp/LanguageServer.h"
#include "lsp/MessageFrames.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "lsp";

// A body awaited this long after its last byte came was announced with too
// large a length: what came is taken as the message.
constexpr int kStalledBodyMs = 2000;

bool writeAll(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

int runLsp(const QStringList& args) {
    if (!args.isEmpty()) return usageError(kUsage);
    if (!initCliState()) return 1;
    bool outputGone = false;
    lsp::LanguageServer server([&](const QJsonObject& message) {
        if (!outputGone) outputGone = !writeAll(lsp::framed(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    });
    lsp::MessageReader reader;
    char buffer[64 * 1024];
    while (!server.exited() && !outputGone) {
        pollfd in{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&in, 1, reader.waitingForBody() ? kStalledBodyMs : -1);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            if (auto frame = reader.takeStalled()) {
                server.framingFault(frame->problem);
                server.receive(frame->body);
            }
            continue;
        }
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // the client is gone: as "exit" without "shutdown"
        reader.feed(QByteArrayView(buffer, n));
        while (auto frame = reader.next()) {
            if (!frame->problem.isEmpty()) server.framingFault(frame->problem);
            if (!frame->body.isEmpty()) server.receive(frame->body);
            if (server.exited()) break;
        }
    }
    return server.exited() ? server.exitCode() : 1;
}

CliRegistration reg{{"lsp", kUsage,
                     "                 Sprachserver (Language Server Protocol) auf Standardein- und -ausgabe für\n"
                     "   Ordner mit .bas-, .cls- und .frm-Dateien", runLsp}};

}  // namespace

}  // namespace lumo::cli
