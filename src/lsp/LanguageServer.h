#pragma once
// The language server without its streams: one message in, the messages it
// makes out through `send`. The lifecycle as the protocol has it: requests
// before "initialize" are refused, after "shutdown" only "exit" counts.
// Nothing a client sends ends it but "exit": broken JSON, a message of the
// wrong shape, an unknown method, a file gone under it each get an error
// response (for a request) or a log message.
#include <functional>

#include <QByteArray>
#include <QJsonObject>

#include "lsp/Findings.h"
#include "lsp/Workspace.h"

namespace lumo::lsp {

class LanguageServer {
public:
    using Sender = std::function<void(const QJsonObject& message)>;
    explicit LanguageServer(Sender send, FindingSource* findings = nullptr);

    // One message body as framed.
    void receive(const QByteArray& body);
    // A framing fault of the stream: logged.
    void framingFault(const QString& problem);

    bool exited() const { return exited_; }
    // 0 after "shutdown" then "exit", 1 for "exit" alone.
    int exitCode() const { return shutDown_ ? 0 : 1; }
    Workspace& workspace() { return workspace_; }

private:
    void dispatch(const QJsonObject& message);
    QJsonValue request(const QString& method, const QJsonObject& params);
    void notification(const QString& method, const QJsonObject& params);
    QJsonObject initialize(const QJsonObject& params);
    void respond(const QJsonValue& id, const QJsonValue& result);
    void fail(const QJsonValue& id, int code, const QString& message);
    void log(const QString& text, int type = 3);
    void tellMessages();
    void publishFindings(const QString& uri);

    Sender send_;
    FindingSource* findings_;
    Workspace workspace_;
    bool initialized_ = false;
    bool shutDown_ = false;
    bool exited_ = false;
    bool watchByRegistration_ = false;
    int nextRequest_ = 1;
};

// The error codes of JSON-RPC and the protocol.
enum ErrorCode {
    ParseErrorCode = -32700,
    InvalidRequest = -32600,
    MethodNotFound = -32601,
    InvalidParams = -32602,
    InternalError = -32603,
    ServerNotInitialized = -32002,
    RequestFailed = -32803,
};

}  // namespace lumo::lsp
