#include "lsp/MessageFrames.h"

#include <QJsonDocument>

namespace lumo::lsp {

namespace {

constexpr QByteArrayView kLengthField = "content-length:";
// No real header block comes near this; more is taken for garbage.
constexpr qsizetype kMaxHeaderBytes = 8 * 1024;

qsizetype indexOfCaseless(const QByteArray& bytes, QByteArrayView what, qsizetype from) {
    const qsizetype n = bytes.size() - what.size();
    for (qsizetype i = from; i <= n; ++i) {
        if ((bytes[i] | 0x20) != what[0]) continue;
        if (QByteArrayView(bytes).sliced(i, what.size()).compare(what, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

// The start of a header "Content-Length: N" + CR LF within from..to, -1 for none.
qsizetype nextHeaderIn(const QByteArray& bytes, qsizetype from, qsizetype to) {
    for (qsizetype at = indexOfCaseless(bytes, kLengthField, from); at >= 0 && at < to;
         at = indexOfCaseless(bytes, kLengthField, at + 1)) {
        qsizetype i = at + kLengthField.size();
        while (i < bytes.size() && bytes[i] == ' ') ++i;
        const qsizetype digits = i;
        while (i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9') ++i;
        if (i > digits && i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') return at;
    }
    return -1;
}

}  // namespace

void MessageReader::feed(QByteArrayView bytes) {
    if (skipping_ > 0) {
        const qint64 dropped = std::min<qint64>(skipping_, bytes.size());
        skipping_ -= dropped;
        bytes = bytes.sliced(dropped);
    }
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.remove(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
}

void MessageReader::dropToNextHeader(qsizetype from) {
    const qsizetype at = indexOfCaseless(buffer_, kLengthField, from);
    start_ = at < 0 ? std::max(start_, buffer_.size() - kLengthField.size()) : at;
}

std::optional<Frame> MessageReader::readHeader() {
    const qsizetype end = buffer_.indexOf("\r\n\r\n", start_);
    if (end < 0) {
        if (buffer_.size() - start_ <= kMaxHeaderBytes) return std::nullopt;
        const qsizetype from = start_;
        dropToNextHeader(start_ + 1);
        return Frame{{}, QStringLiteral("Kopfzeilen ohne Ende (%1 Bytes übersprungen)").arg(start_ - from)};
    }
    const QByteArray header = buffer_.mid(start_, end - start_);
    qint64 length = -1;
    bool unusable = false;
    for (const QByteArray& line : header.split('\n')) {
        const QByteArray field = line.trimmed();
        if (field.isEmpty()) continue;
        const qsizetype colon = field.indexOf(':');
        if (colon <= 0) {
            unusable = true;
            continue;
        }
        if (field.left(colon).trimmed().compare("content-length", Qt::CaseInsensitive) != 0) continue;
        bool ok = false;
        length = field.mid(colon + 1).trimmed().toLongLong(&ok);
        if (!ok || length < 0) unusable = true;
    }
    if (unusable || length < 0) {
        // Garbage before a header (the rest of a body with a wrong length)
        // is passed over up to the next message's header.
        const qsizetype field = indexOfCaseless(buffer_, kLengthField, start_ + 1);
        if (field >= 0 && field < end) {
            start_ = field;
            return readHeader();
        }
        start_ = end + 4;
        return Frame{{}, QStringLiteral("Kopfzeilen ohne gültige Content-Length: %1")
                             .arg(QString::fromUtf8(header.left(200)).simplified())};
    }
    start_ = end + 4;
    if (length > kMaxMessageBytes) {
        const qint64 here = std::min<qint64>(length, buffer_.size() - start_);
        start_ += here;
        skipping_ = length - here;
        return Frame{{}, QStringLiteral("Nachricht mit %1 Bytes ist größer als %2 MB; übersprungen.")
                             .arg(length).arg(kMaxMessageBytes / (1024 * 1024))};
    }
    length_ = length;
    return next();
}

std::optional<Frame> MessageReader::next() {
    if (length_ < 0) {
        if (start_ >= buffer_.size()) return std::nullopt;
        return readHeader();
    }
    if (buffer_.size() - start_ < length_) return std::nullopt;
    // A length given too large takes in the start of the next message: its
    // header cannot stand in JSON (a raw line break never does), so where
    // one is met the body ends and the next message starts. (A length given
    // too small leaves garbage before the next header, passed over there.)
    const qsizetype next = nextHeaderIn(buffer_, start_, start_ + length_);
    const qsizetype end = next >= 0 ? next : start_ + length_;
    Frame frame{buffer_.mid(start_, end - start_), {}};
    if (next >= 0) frame.problem = QStringLiteral("Content-Length %1 ist größer als die Nachricht").arg(length_);
    start_ = end;
    length_ = -1;
    return frame;
}

std::optional<Frame> MessageReader::takeStalled() {
    if (length_ < 0 || start_ >= buffer_.size()) return std::nullopt;
    const qsizetype next = nextHeaderIn(buffer_, start_, buffer_.size());
    const qsizetype end = next >= 0 ? next : buffer_.size();
    Frame frame{buffer_.mid(start_, end - start_),
                QStringLiteral("Content-Length %1 ist größer als die Nachricht (%2 Bytes)").arg(length_).arg(end - start_)};
    start_ = end;
    length_ = -1;
    return frame;
}

QByteArray framed(const QByteArray& json) {
    return "Content-Length: " + QByteArray::number(json.size()) + "\r\n\r\n" + json;
}

}  // namespace lumo::lsp
