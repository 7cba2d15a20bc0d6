#pragma once
// The framing of the protocol: each message a header block ("Content-Length:
// N", optionally "Content-Type: ...", each line ended by CR LF, a blank line
// after them) and N bytes of JSON. The reader is fed the bytes as they come
// and never trusts them: a header block without a usable length is skipped
// up to the next "Content-Length:", a body larger than any message may be
// is passed over unread, and a body that is no JSON but holds the start of
// the next message gives that start back, so that one wrong length costs
// one message and never the stream.
#include <deque>
#include <optional>

#include <QByteArray>
#include <QString>

namespace lumo::lsp {

// The largest message body read: a module text as large as a project may
// hold, every character escaped, with room to spare.
inline constexpr qint64 kMaxMessageBytes = 256LL * 1024 * 1024;

struct Frame {
    QByteArray body;  // empty when `problem` says why there is none
    QString problem;  // the framing fault met, in German; empty for a sound message
};

class MessageReader {
public:
    void feed(QByteArrayView bytes);
    // The next message or fault, when one is complete.
    std::optional<Frame> next();
    // The bytes after a header wait for a body that does not come: what is
    // there is taken as the body (a length given too large), when any.
    std::optional<Frame> takeStalled();
    bool waitingForBody() const { return length_ >= 0 && !buffer_.isEmpty(); }

private:
    std::optional<Frame> readHeader();
    void dropToNextHeader(qsizetype from);

    QByteArray buffer_;
    qsizetype start_ = 0;   // bytes before it are consumed
    qint64 length_ = -1;    // of the body awaited, -1 while reading a header
    qint64 skipping_ = 0;   // bytes of an oversized body still to pass over
};

// A message with its header, ready to be written.
QByteArray framed(const QByteArray& json);

}  // namespace lumo::lsp
