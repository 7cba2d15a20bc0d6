#pragma once
// A language server in this process over a folder of module files written
// for the test: requests go in as JSON, the answers and notifications come
// back as JSON.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "lsp/LanguageServer.h"
#include "lsp/Places.h"

namespace lumo::test {

class LspSession {
public:
    LspSession() : server([this](const QJsonObject& m) { sent.push_back(m); }) {}

    void write(const QString& name, const QByteArray& text) {
        QFile f(dir.path() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QString uri(const QString& name) const { return lsp::uriOfPath(QDir::cleanPath(dir.path() + "/" + name)); }
    // Every "{name}" of a JSON text with the URI of that file.
    QByteArray withUris(QByteArray json) const {
        for (const QString& f : QDir(dir.path()).entryList(QDir::Files))
            json.replace("{" + f.toUtf8() + "}", uri(f).toUtf8());
        return json;
    }
    QJsonObject message(const QByteArray& json) const { return QJsonDocument::fromJson(withUris(json)).object(); }

    QJsonObject initialize() {
        return request("initialize", "{\"rootUri\":\"" + lsp::uriOfPath(dir.path()).toUtf8() + "\",\"capabilities\":{}}");
    }
    // The response to a request (params as JSON text, "{file}" for a file's URI).
    QJsonObject request(const QString& method, const QByteArray& params) {
        const int id = next++;
        send(QJsonObject{{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", message(params)}});
        for (const QJsonObject& m : sent)
            if (m.value("id") == QJsonValue(id)) return m;
        ADD_FAILURE() << "no response to " << method.toStdString();
        return {};
    }
    QJsonValue result(const QString& method, const QByteArray& params) { return request(method, params).value("result"); }
    void notify(const QString& method, const QByteArray& params) {
        send(QJsonObject{{"jsonrpc", "2.0"}, {"method", method}, {"params", message(params)}});
    }
    void send(const QJsonObject& m) { server.receive(QJsonDocument(m).toJson(QJsonDocument::Compact)); }
    QStringList logged() const {
        QStringList out;
        for (const QJsonObject& m : sent)
            if (m.value("method") == "window/logMessage") out << m.value("params").toObject().value("message").toString();
        return out;
    }

    QTemporaryDir dir;
    std::vector<QJsonObject> sent;
    lsp::LanguageServer server;
    int next = 1;
};

}  // namespace lumo::test
