// The framing reader never loses the stream to one bad message.
#include <gtest/gtest.h>

#include <QStringList>

#include "lsp/MessageFrames.h"

using namespace lumo::lsp;

namespace {

QByteArray msg(const QByteArray& body) { return framed(body); }

// What the reader makes of a stream fed in pieces of `step` bytes: each
// body as is, each fault as "!".
QStringList readAll(const QByteArray& stream, int step) {
    MessageReader reader;
    QStringList out;
    for (qsizetype i = 0; i < stream.size(); i += step) {
        reader.feed(QByteArrayView(stream).sliced(i, std::min<qsizetype>(step, stream.size() - i)));
        while (auto f = reader.next()) {
            if (!f->problem.isEmpty()) out << "!";
            if (!f->body.isEmpty()) out << QString::fromUtf8(f->body);
        }
    }
    if (auto f = reader.takeStalled()) out << "!" << QString::fromUtf8(f->body);
    return out;
}

TEST(MessageFrames, EveryMessageFoundWhateverTheFault) {
    const struct {
        const char* what;
        QByteArray stream;
        QStringList expected;
    } rows[] = {
        {"two in a row", msg("{\"a\":1}") + msg("{\"b\":2}"), {"{\"a\":1}", "{\"b\":2}"}},
        {"header fields in any case, Content-Type too",
         "content-length: 7\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n{\"a\":1}", {"{\"a\":1}"}},
        {"no length: skipped, the next read", "Content-Type: x\r\n\r\n{}" + msg("{\"b\":2}"), {"!", "{\"b\":2}"}},
        {"a length that is no number", "Content-Length: zwölf\r\n\r\n{}" + msg("{\"b\":2}"), {"!", "{\"b\":2}"}},
        {"a length too large ends at the next header", "Content-Length: 30\r\n\r\n{\"a\":1}" + msg("{\"b\":2}"),
         {"!", "{\"a\":1}", "{\"b\":2}"}},
        {"a length too small leaves garbage that is passed over",
         "Content-Length: 4\r\n\r\n{\"a\":1}" + msg("{\"b\":2}"), {"{\"a\"", "{\"b\":2}"}},
        {"a header named inside a JSON string is no header",
         msg("{\"t\":\"Content-Length: 5\\r\\n\"}"), {"{\"t\":\"Content-Length: 5\\r\\n\"}"}},
        {"a body larger than any message is passed over", "Content-Length: 999999999999\r\n\r\n{}", {"!"}},
        {"the last length too large: what came is taken", "Content-Length: 50\r\n\r\n{\"a\":1}", {"!", "{\"a\":1}"}},
    };
    for (const auto& row : rows)
        for (int step : {1, 7, 4096})
            EXPECT_EQ(readAll(row.stream, step), row.expected) << row.what << " (pieces of " << step << ")";
}

TEST(MessageFrames, EndlessHeaderIsDropped) {
    MessageReader reader;
    reader.feed(QByteArray(20000, 'x'));
    auto f = reader.next();
    ASSERT_TRUE(f);
    EXPECT_FALSE(f->problem.isEmpty());
    reader.feed(msg("{}"));
    f = reader.next();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->body, "{}");
}

}  // namespace
