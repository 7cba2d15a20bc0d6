#include "lsp/LanguageServer.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>

#include "lsp/Answers.h"
#include "lsp/Places.h"

namespace lumo::lsp {

namespace {

using Answer = QJsonValue (*)(Workspace&, const QJsonObject&);

// The requests served beyond the lifecycle, and nothing else: initialize
// names exactly these.
struct Served {
    const char* method;
    Answer answer;
};
constexpr Served kServed[] = {
    {"textDocument/definition", definitionAnswer},
    {"textDocument/references", referencesAnswer},
    {"textDocument/documentHighlight", highlightAnswer},
    {"textDocument/hover", hoverAnswer},
    {"textDocument/documentSymbol", documentSymbolAnswer},
    {"workspace/symbol", workspaceSymbolAnswer},
    {"textDocument/prepareCallHierarchy", prepareCallHierarchyAnswer},
    {"callHierarchy/incomingCalls", incomingCallsAnswer},
    {"callHierarchy/outgoingCalls", outgoingCallsAnswer},
    {"textDocument/semanticTokens/full", semanticTokensAnswer},
    {"textDocument/foldingRange", foldingRangeAnswer},
};

QJsonObject capabilities() {
    return {
        {"positionEncoding", "utf-16"},
        {"textDocumentSync", QJsonObject{{"openClose", true}, {"change", 1}}},
        {"definitionProvider", true},
        {"referencesProvider", true},
        {"documentHighlightProvider", true},
        {"hoverProvider", true},
        {"documentSymbolProvider", true},
        {"workspaceSymbolProvider", true},
        {"callHierarchyProvider", true},
        {"semanticTokensProvider", QJsonObject{{"legend", semanticTokensLegend()}, {"full", true}}},
        {"foldingRangeProvider", true},
    };
}

// The folders of the workspace as initialize names them, newest form first.
QStringList workspaceFolders(const QJsonObject& params) {
    QStringList folders;
    for (const QJsonValue& f : params.value("workspaceFolders").toArray()) {
        const QString uri = f.toObject().value("uri").toString();
        if (!uri.isEmpty()) folders << pathOfUri(uri);
    }
    if (folders.isEmpty() && params.value("rootUri").isString()) folders << pathOfUri(params.value("rootUri").toString());
    if (folders.isEmpty() && params.value("rootPath").isString()) folders << params.value("rootPath").toString();
    return folders;
}

}  // namespace

LanguageServer::LanguageServer(Sender send, FindingSource* findings) : send_(std::move(send)), findings_(findings) {}

void LanguageServer::receive(const QByteArray& body) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        fail(QJsonValue::Null, ParseErrorCode,
             QStringLiteral("Ungültiges JSON an Stelle %1: %2").arg(error.offset).arg(error.errorString()));
        return;
    }
    if (!doc.isObject()) {
        fail(QJsonValue::Null, InvalidRequest, QStringLiteral("Eine Nachricht muss ein JSON-Objekt sein."));
        return;
    }
    dispatch(doc.object());
    tellMessages();
}

void LanguageServer::framingFault(const QString& problem) { log(problem, 1); }

void LanguageServer::dispatch(const QJsonObject& message) {
    const QJsonValue id = message.value("id");
    const QJsonValue method = message.value("method");
    if (!method.isString()) {
        // A client's answer to one of the server's own requests: nothing waits for it.
        if (message.contains("result") || message.contains("error")) return;
        fail(id.isString() || id.isDouble() ? id : QJsonValue(QJsonValue::Null), InvalidRequest,
             QStringLiteral("Der Nachricht fehlt »method«."));
        return;
    }
    const QString name = method.toString();
    const QJsonValue paramsValue = message.value("params");
    const bool isRequest = message.contains("id");
    if (isRequest && !id.isString() && !id.isDouble()) {
        fail(QJsonValue::Null, InvalidRequest, QStringLiteral("»id« muss eine Zahl oder ein Text sein."));
        return;
    }
    if (!paramsValue.isUndefined() && !paramsValue.isNull() && !paramsValue.isObject()) {
        if (isRequest) fail(id, InvalidParams, QStringLiteral("»params« muss ein Objekt sein."));
        else log(QStringLiteral("%1: »params« muss ein Objekt sein.").arg(name), 1);
        return;
    }
    const QJsonObject params = paramsValue.toObject();
    if (!isRequest) {
        notification(name, params);
        return;
    }
    if (shutDown_) {
        fail(id, InvalidRequest, QStringLiteral("Der Server ist heruntergefahren (shutdown); nur »exit« gilt noch."));
        return;
    }
    if (!initialized_ && name != u"initialize") {
        fail(id, ServerNotInitialized, QStringLiteral("Der Server ist noch nicht initialisiert."));
        return;
    }
    try {
        if (name == u"initialize") {
            if (initialized_) {
                fail(id, InvalidRequest, QStringLiteral("»initialize« kam schon."));
                return;
            }
            respond(id, initialize(params));
            return;
        }
        if (name == u"shutdown") {
            shutDown_ = true;
            respond(id, QJsonValue::Null);
            return;
        }
        for (const Served& s : kServed)
            if (name == QLatin1String(s.method)) {
                respond(id, s.answer(workspace_, params));
                return;
            }
        fail(id, MethodNotFound, QStringLiteral("Unbekannte Methode: %1").arg(name));
    } catch (const std::exception& e) {
        fail(id, RequestFailed, QStringLiteral("%1: %2").arg(name, QString::fromUtf8(e.what())));
    }
}

QJsonObject LanguageServer::initialize(const QJsonObject& params) {
    initialized_ = true;
    const QJsonObject client = params.value("capabilities").toObject();
    watchByRegistration_ = client.value("workspace").toObject().value("didChangeWatchedFiles").toObject()
                               .value("dynamicRegistration").toBool();
    QElapsedTimer timer;
    timer.start();
    for (const QString& folder : workspaceFolders(params)) workspace_.addFolder(folder);
    const int modules = workspace_.moduleCount();
    log(QStringLiteral("%1 Module in %2 ms gelesen.").arg(modules).arg(timer.elapsed()));
    return {{"capabilities", capabilities()},
            {"serverInfo", QJsonObject{{"name", "codelumo-cli lsp"}, {"version", "1.0"}}}};
}

void LanguageServer::notification(const QString& method, const QJsonObject& params) {
    if (method == u"exit") {
        exited_ = true;
        return;
    }
    // Before initialize the protocol drops notifications; after shutdown nothing changes any more.
    if (!initialized_ || shutDown_) return;
    const QJsonObject document = params.value("textDocument").toObject();
    const QString uri = document.value("uri").toString();
    if (method == u"initialized") {
        if (watchByRegistration_) {
            const QJsonObject watcher{{"globPattern", "**/*.{bas,cls,frm,BAS,CLS,FRM}"}};
            const QJsonObject registration{{"id", "codelumo-module-files"},
                                           {"method", "workspace/didChangeWatchedFiles"},
                                           {"registerOptions", QJsonObject{{"watchers", QJsonArray{watcher}}}}};
            send_({{"jsonrpc", "2.0"}, {"id", nextRequest_++}, {"method", "client/registerCapability"},
                   {"params", QJsonObject{{"registrations", QJsonArray{registration}}}}});
        }
    } else if (method == u"textDocument/didOpen") {
        if (uri.isEmpty() || !document.value("text").isString()) {
            log(QStringLiteral("didOpen ohne »uri« oder »text«."), 1);
            return;
        }
        workspace_.open(pathOfUri(uri), document.value("text").toString());
        publishFindings(uri);
    } else if (method == u"textDocument/didChange") {
        QJsonValue text;
        for (const QJsonValue& change : params.value("contentChanges").toArray()) {
            if (change.toObject().contains("range")) {
                log(QStringLiteral("didChange mit »range«: der Server nimmt nur den ganzen Text (change 1)."), 1);
                return;
            }
            text = change.toObject().value("text");
        }
        if (uri.isEmpty() || !text.isString()) {
            log(QStringLiteral("didChange ohne »uri« oder Text."), 1);
            return;
        }
        workspace_.open(pathOfUri(uri), text.toString());
        publishFindings(uri);
    } else if (method == u"textDocument/didClose") {
        workspace_.close(pathOfUri(uri));
    } else if (method == u"workspace/didChangeWatchedFiles") {
        for (const QJsonValue& change : params.value("changes").toArray())
            workspace_.fileChanged(pathOfUri(change.toObject().value("uri").toString()));
    } else if (!method.startsWith(u"$/") && method != u"textDocument/didSave") {
        log(QStringLiteral("Unbekannte Mitteilung übergangen: %1").arg(method), 4);
    }
}

void LanguageServer::publishFindings(const QString& uri) {
    if (!findings_) return;
    const int module = workspace_.moduleOf(pathOfUri(uri));
    const ModuleDocument* d = workspace_.document(module);
    QJsonArray diagnostics;
    if (d) {
        for (const Finding& f : findings_->findingsOf(workspace_.scope(), module)) {
            const int length = f.length > 0 ? f.length : int(d->shownLine(f.line).size()) - f.column + 1;
            diagnostics.append(QJsonObject{{"range", rangeOf(*d, f.line, f.column, std::max(0, length))},
                                           {"severity", int(f.severity)},
                                           {"code", f.code},
                                           {"source", "codelumo"},
                                           {"message", f.message}});
        }
    }
    send_({{"jsonrpc", "2.0"}, {"method", "textDocument/publishDiagnostics"},
           {"params", QJsonObject{{"uri", uri}, {"diagnostics", diagnostics}}}});
}

void LanguageServer::respond(const QJsonValue& id, const QJsonValue& result) {
    send_({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

void LanguageServer::fail(const QJsonValue& id, int code, const QString& message) {
    send_({{"jsonrpc", "2.0"}, {"id", id}, {"error", QJsonObject{{"code", code}, {"message", message}}}});
}

void LanguageServer::log(const QString& text, int type) {
    send_({{"jsonrpc", "2.0"}, {"method", "window/logMessage"},
           {"params", QJsonObject{{"type", type}, {"message", text}}}});
}

void LanguageServer::tellMessages() {
    for (const QString& m : workspace_.takeMessages()) log(m, 2);
}

}  // namespace lumo::lsp
