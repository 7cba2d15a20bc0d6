// The language server as a client sees it: a request in, the response out,
// over a folder of two modules whose files hide lines (the class header,
// Attribute lines inside a routine) and differ from the shown code (a head
// without "()", keywords in lower case).
#include <gtest/gtest.h>

#include <QJsonArray>

#include "lsp/LspSession.h"

using lumo::test::LspSession;

namespace {

const char* const kWerkzeug =
    "Attribute VB_Name = \"Werkzeug\"\r\n"                    // 0
    "Option Explicit\r\n"                                       // 1
    "Public Enum Stufe\r\n"                                     // 2
    "    Niedrig = 1\r\n"                                       // 3
    "End Enum\r\n"                                              // 4
    "' Zählt die Kunden.\r\n"                                   // 5
    "' Gibt die Zahl zurück.\r\n"                               // 6
    "Public Function Anzahl(ByVal liste As Collection) As Long\r\n"  // 7
    "    Anzahl = liste.Count\r\n"                              // 8
    "End Function\r\n"                                          // 9
    "\r\n"                                                      // 10
    "Public Sub Zeigen()\r\n"                                   // 11
    "    Dim n As Long\r\n"                                     // 12
    "    n = Anzahl(New Collection)\r\n"                        // 13
    "    Debug.Print \"Anzahl: \" & n\r\n"                      // 14
    "End Sub\r\n"                                               // 15
    "function Grad as Stufe\r\n"                                // 16
    "    Grad = Niedrig\r\n"                                    // 17
    "end function\r\n";                                         // 18

const char* const kKunde =
    "VERSION 1.0 CLASS\r\n"                                 // 0
    "BEGIN\r\n"                                             // 1
    "  MultiUse = -1  'True\r\n"                            // 2
    "END\r\n"                                               // 3
    "Attribute VB_Name = \"Kunde\"\r\n"                     // 4
    "Attribute VB_Exposed = False\r\n"                      // 5
    "Private mName As String\r\n"                           // 6
    "\r\n"                                                  // 7
    "Public Property Get Name() As String\r\n"              // 8
    "Attribute Name.VB_Description = \"Der Name\"\r\n"      // 9
    "    Name = mName\r\n"                                  // 10
    "End Property\r\n"                                      // 11
    "\r\n"                                                  // 12
    "Public Sub Gruessen()\r\n"                             // 13
    "    Werkzeug.Zeigen\r\n"                               // 14
    "End Sub\r\n";                                          // 15

class LspProtocol : public ::testing::Test {
protected:
    void SetUp() override {
        s.write("Werkzeug.bas", kWerkzeug);
        s.write("Kunde.cls", kKunde);
        ASSERT_TRUE(s.initialize().contains("result"));
    }
    LspSession s;
};

QByteArray at(const char* file, int line, int character, const char* extra = "") {
    return QStringLiteral(R"({"textDocument":{"uri":"{%1}"},"position":{"line":%2,"character":%3}%4})")
        .arg(file).arg(line).arg(character).arg(extra).toUtf8();
}
QByteArray range(int l1, int c1, int l2, int c2) {
    return QStringLiteral(R"({"start":{"line":%1,"character":%2},"end":{"line":%3,"character":%4}})")
        .arg(l1).arg(c1).arg(l2).arg(c2).toUtf8();
}
QByteArray location(const char* file, int line, int from, int to) {
    return "{\"uri\":\"{" + QByteArray(file) + "}\",\"range\":" + range(line, from, line, to) + "}";
}

struct Row {
    const char* what;
    const char* method;
    QByteArray params;
    QByteArray expected;  // the result, or the error's code as {"code":N}
};

TEST_F(LspProtocol, RequestsAnswerAsTheResolverBinds) {
    const Row rows[] = {
        {"a qualified call in a class, past its hidden header", "textDocument/definition", at("Kunde.cls", 14, 15),
         "[" + location("Werkzeug.bas", 11, 11, 17) + "]"},
        {"below an Attribute line hidden inside a property", "textDocument/definition", at("Kunde.cls", 10, 14),
         "[" + location("Kunde.cls", 6, 8, 13) + "]"},
        {"a local, the caret just after it", "textDocument/definition", at("Werkzeug.bas", 14, 30),
         "[" + location("Werkzeug.bas", 12, 8, 9) + "]"},
        {"inside a string literal nothing", "textDocument/definition", at("Werkzeug.bas", 14, 20), "null"},
        {"on a hidden Attribute line nothing", "textDocument/definition", at("Kunde.cls", 9, 12), "null"},
        {"after the \"()\" the import adds", "textDocument/definition", at("Werkzeug.bas", 16, 19),
         "[" + location("Werkzeug.bas", 2, 12, 17) + "]"},
        {"a file outside the project", "textDocument/definition", at("Fremd.bas", 1, 1), "null"},
        {"references with the declaration, not the return value", "textDocument/references",
         at("Werkzeug.bas", 13, 9, R"(,"context":{"includeDeclaration":true})"),
         "[" + location("Werkzeug.bas", 7, 16, 22) + "," + location("Werkzeug.bas", 13, 8, 14) + "]"},
        {"references without it", "textDocument/references",
         at("Werkzeug.bas", 13, 9, R"(,"context":{"includeDeclaration":false})"),
         "[" + location("Werkzeug.bas", 13, 8, 14) + "]"},
        {"highlights: declaration written, uses read", "textDocument/documentHighlight", at("Werkzeug.bas", 13, 4),
         "[{\"range\":" + range(12, 8, 12, 9) + ",\"kind\":3},{\"range\":" + range(13, 4, 13, 5) +
             ",\"kind\":2},{\"range\":" + range(14, 29, 14, 30) + ",\"kind\":2}]"},
        {"hover: the head and the comment block above it", "textDocument/hover", at("Werkzeug.bas", 13, 10),
         R"({"contents":{"kind":"markdown","value":"```vb\nPublic Function Anzahl(ByVal liste As Collection) As Long\n```\n\nZählt die Kunden.\nGibt die Zahl zurück.\n\n*Werkzeug, Zeile 8*"},"range":)" +
             range(13, 8, 13, 14) + "}"},
        {"hover on a keyword", "textDocument/hover", at("Werkzeug.bas", 12, 5), "null"},
        {"folding: routines, the Enum, the comment block", "textDocument/foldingRange",
         R"({"textDocument":{"uri":"{Werkzeug.bas}"}})",
         R"([{"startLine":7,"endLine":9},{"startLine":11,"endLine":15},{"startLine":16,"endLine":18},)"
         R"({"startLine":2,"endLine":4},{"startLine":5,"endLine":6,"kind":"comment"}])"},
        {"a method not served", "textDocument/formatting", R"({"textDocument":{"uri":"{Kunde.cls}"}})",
         R"({"code":-32601})"},
        {"a position that is no position", "textDocument/definition",
         R"({"textDocument":{"uri":"{Kunde.cls}"},"position":{"line":"x"}})", "null"},
    };
    for (const Row& row : rows) {
        const QJsonObject response = s.request(row.method, row.params);
        const QJsonDocument expected = QJsonDocument::fromJson(s.withUris(row.expected));
        const QJsonValue want = expected.isNull() ? QJsonValue(QJsonValue::Null)
                                                  : (expected.isArray() ? QJsonValue(expected.array()) : QJsonValue(expected.object()));
        const QJsonValue got = response.contains("error")
                                   ? QJsonValue(QJsonObject{{"code", response.value("error").toObject().value("code")}})
                                   : response.value("result");
        EXPECT_EQ(got, want) << row.what << "\n  got: " << QJsonDocument(QJsonObject{{"r", got}}).toJson().toStdString();
    }
}

TEST_F(LspProtocol, InitializeNamesWhatIsServed) {
    LspSession fresh;
    const QJsonObject caps = fresh.initialize().value("result").toObject().value("capabilities").toObject();
    QStringList keys = caps.keys();
    keys.sort();
    EXPECT_EQ(keys.join(' ').toStdString(),
              "callHierarchyProvider definitionProvider documentHighlightProvider documentSymbolProvider "
              "foldingRangeProvider hoverProvider positionEncoding referencesProvider semanticTokensProvider "
              "textDocumentSync workspaceSymbolProvider");
    // Each provider named is answered, not refused as unknown.
    for (const char* method : {"textDocument/definition", "textDocument/references", "textDocument/documentHighlight",
                               "textDocument/hover", "textDocument/documentSymbol", "workspace/symbol",
                               "textDocument/prepareCallHierarchy", "textDocument/semanticTokens/full",
                               "textDocument/foldingRange"})
        EXPECT_FALSE(fresh.request(method, at("Kunde.cls", 0, 0)).contains("error")) << method;
}

TEST_F(LspProtocol, SymbolsOutlineAndSearch) {
    const QJsonArray outline = s.result("textDocument/documentSymbol", R"({"textDocument":{"uri":"{Werkzeug.bas}"}})").toArray();
    ASSERT_EQ(outline.size(), 1);
    QStringList seen;
    std::function<void(const QJsonArray&, int)> walk = [&](const QJsonArray& list, int depth) {
        for (const QJsonValue& v : list) {
            const QJsonObject o = v.toObject();
            seen << QString(depth * 2, ' ') + o.value("name").toString() + ":" + QString::number(o.value("kind").toInt()) +
                        "@" + QString::number(o.value("selectionRange").toObject().value("start").toObject().value("line").toInt());
            walk(o.value("children").toArray(), depth + 1);
        }
    };
    walk(outline, 0);
    EXPECT_EQ(seen.join('|').toStdString(),
              "Werkzeug:2@1|  Stufe:10@2|    Niedrig:22@3|  Anzahl:12@7|    liste:13@7|  Zeigen:12@11|    n:13@12|"
              "  Grad:12@16");

    const QJsonArray found = s.result("workspace/symbol", R"({"query":"ge"})").toArray();
    QStringList names;
    for (const QJsonValue& v : found) names << v.toObject().value("name").toString();
    // Holding the letters as typed before holding them apart.
    EXPECT_EQ(names.join(' ').toStdString(), "Zeigen Gruessen");
    EXPECT_EQ(found[0].toObject().value("location").toObject(),
              QJsonDocument::fromJson(s.withUris(location("Werkzeug.bas", 11, 11, 17))).object());
}

TEST_F(LspProtocol, CallHierarchyBothWays) {
    const QJsonArray items = s.result("textDocument/prepareCallHierarchy", at("Werkzeug.bas", 13, 9)).toArray();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].toObject().value("name").toString(), "Anzahl");
    const QJsonArray in = s.result("callHierarchy/incomingCalls", QJsonDocument(QJsonObject{{"item", items[0]}}).toJson()).toArray();
    ASSERT_EQ(in.size(), 1);
    EXPECT_EQ(in[0].toObject().value("from").toObject().value("name").toString(), "Zeigen");
    EXPECT_EQ(in[0].toObject().value("fromRanges"), QJsonDocument::fromJson("[" + range(13, 8, 13, 14) + "]").array());

    const QJsonArray zeigen = s.result("textDocument/prepareCallHierarchy", at("Kunde.cls", 14, 14)).toArray();
    ASSERT_EQ(zeigen.size(), 1);
    const QJsonArray out = s.result("callHierarchy/outgoingCalls", QJsonDocument(QJsonObject{{"item", zeigen[0]}}).toJson()).toArray();
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].toObject().value("to").toObject().value("name").toString(), "Anzahl");
}

// The data of semantic tokens, decoded to "line:char:length:type" per token.
QStringList decodedTokens(const QJsonValue& result, const QJsonArray& types) {
    const QJsonArray data = result.toObject().value("data").toArray();
    QStringList out;
    int line = 0, character = 0;
    for (qsizetype i = 0; i + 4 < data.size(); i += 5) {
        line += data[i].toInt();
        character = data[i].toInt() == 0 ? character + data[i + 1].toInt() : data[i + 1].toInt();
        out << QStringLiteral("%1:%2:%3:%4").arg(line).arg(character).arg(data[i + 2].toInt())
                   .arg(types[data[i + 3].toInt()].toString());
    }
    return out;
}

TEST_F(LspProtocol, SemanticTokensInTheProgramsKinds) {
    LspSession fresh;
    fresh.write("Werkzeug.bas", kWerkzeug);
    const QJsonArray types = fresh.initialize().value("result").toObject().value("capabilities").toObject()
                                 .value("semanticTokensProvider").toObject().value("legend").toObject().value("tokenTypes").toArray();
    const QStringList tokens = decodedTokens(fresh.result("textDocument/semanticTokens/full",
                                                          R"({"textDocument":{"uri":"{Werkzeug.bas}"}})"), types);
    const QStringList expected = {
        "5:0:19:comment",     // the comment lines, whole
        "7:16:6:function",    // Anzahl where it is declared
        "7:23:5:keyword",     // ByVal
        "7:29:5:parameter",   // liste
        "13:8:6:function",    // the call
        "14:16:10:string",    // "Anzahl: "
        "14:29:1:variable",   // n
        "16:17:5:enum",       // Stufe after the "()" the import adds
    };
    for (const QString& t : expected) EXPECT_TRUE(tokens.contains(t)) << t.toStdString() << "\n" << tokens.join(' ').toStdString();
}

TEST_F(LspProtocol, UnsavedTextIsAnsweredOnAndFilesFollowTheDisk) {
    // The open file's text, not the disk's: Zeigen renamed, the call in Kunde no longer binds.
    QByteArray changed = QByteArray(kWerkzeug).replace("Public Sub Zeigen()", "Public Sub Melden()");
    s.notify("textDocument/didOpen", R"({"textDocument":{"uri":"{Werkzeug.bas}","languageId":"vb","version":1,"text":)" +
                                         QJsonDocument(QJsonArray{QString::fromUtf8(changed)}).toJson(QJsonDocument::Compact).mid(1).chopped(1) + "}}");
    EXPECT_EQ(s.result("textDocument/definition", at("Kunde.cls", 14, 15)), QJsonValue(QJsonValue::Null));
    s.notify("textDocument/didChange", R"({"textDocument":{"uri":"{Werkzeug.bas}","version":2},"contentChanges":[{"text":)" +
                                           QJsonDocument(QJsonArray{QString::fromUtf8(kWerkzeug)}).toJson(QJsonDocument::Compact).mid(1).chopped(1) + "}]}");
    EXPECT_TRUE(s.result("textDocument/definition", at("Kunde.cls", 14, 15)).isArray());
    // Closed, the disk counts again; deleted on disk, the module is gone.
    s.notify("textDocument/didClose", R"({"textDocument":{"uri":"{Werkzeug.bas}"}})");
    const QString werkzeugUri = s.uri("Werkzeug.bas");
    ASSERT_TRUE(QFile::remove(s.dir.path() + "/Werkzeug.bas"));
    s.notify("workspace/didChangeWatchedFiles", R"({"changes":[{"uri":")" + werkzeugUri.toUtf8() + R"(","type":3}]})");
    EXPECT_EQ(s.result("textDocument/definition", at("Kunde.cls", 14, 15)), QJsonValue(QJsonValue::Null));
    EXPECT_EQ(s.result("textDocument/hover", "{\"textDocument\":{\"uri\":\"" + werkzeugUri.toUtf8() + "\"},\"position\":{\"line\":13,\"character\":9}}"),
              QJsonValue(QJsonValue::Null));
    // Created again, it is read.
    s.write("Werkzeug.bas", kWerkzeug);
    s.notify("workspace/didChangeWatchedFiles", R"({"changes":[{"uri":"{Werkzeug.bas}","type":1}]})");
    EXPECT_TRUE(s.result("textDocument/definition", at("Kunde.cls", 14, 15)).isArray());
}

TEST_F(LspProtocol, BadInputGetsAnErrorAndTheServerGoesOn) {
    s.server.receive("{\"jsonrpc\":\"2.0\",\"id\":1,");
    EXPECT_EQ(s.sent.back().value("error").toObject().value("code").toInt(), -32700);
    s.server.receive("[1,2]");
    EXPECT_EQ(s.sent.back().value("error").toObject().value("code").toInt(), -32600);
    s.send(QJsonObject{{"jsonrpc", "2.0"}, {"id", 7}, {"method", "textDocument/hover"}, {"params", QJsonArray{1}}});
    EXPECT_EQ(s.sent.back().value("error").toObject().value("code").toInt(), -32602);
    s.send(QJsonObject{{"jsonrpc", "2.0"}, {"id", QJsonObject{}}, {"method", "shutdown"}});
    EXPECT_EQ(s.sent.back().value("error").toObject().value("code").toInt(), -32600);
    // A text larger than a project may hold is refused with a word, not read.
    const QString huge(int(lumo::lsp::maxModuleText()) + 1, u'x');
    s.send(QJsonObject{{"jsonrpc", "2.0"}, {"method", "textDocument/didOpen"},
                       {"params", QJsonObject{{"textDocument", QJsonObject{{"uri", s.uri("Gross.bas")}, {"text", huge}}}}}});
    EXPECT_TRUE(s.logged().join('\n').contains("Gross.bas: der Text ist größer als 24 MB"));
    EXPECT_TRUE(s.result("textDocument/definition", at("Kunde.cls", 14, 15)).isArray());
}

TEST(LspLifecycle, RefusedBeforeInitializeAndAfterShutdown) {
    LspSession s;
    EXPECT_EQ(s.request("textDocument/hover", "{}").value("error").toObject().value("code").toInt(), -32002);
    s.initialize();
    EXPECT_EQ(s.request("initialize", "{}").value("error").toObject().value("code").toInt(), -32600);
    EXPECT_EQ(s.request("shutdown", "{}").value("result"), QJsonValue(QJsonValue::Null));
    EXPECT_EQ(s.request("textDocument/hover", "{}").value("error").toObject().value("code").toInt(), -32600);
    EXPECT_FALSE(s.server.exited());
    s.notify("exit", "{}");
    EXPECT_TRUE(s.server.exited());
    EXPECT_EQ(s.server.exitCode(), 0);

    LspSession abrupt;
    abrupt.notify("exit", "{}");
    EXPECT_EQ(abrupt.server.exitCode(), 1);
}

}  // namespace
