#include "navigate/CodeLines.h"

#include <algorithm>
#include <cstring>

#include "model/TaggedText.h"

namespace lumo {

namespace {

// The tagged text of the source, tags removed and the characters of
// comments and strings blanked. Literals can stand untagged outside the
// tagged spans (the tagging pass leaves "" alone); their text is blanked too.
class CodeSink {
public:
    explicit CodeSink(QString& out) : out_(out) {}
    void text(QStringView s) {
        for (const QChar c : s) {
            if (c == u'\n') quoted_ = false;
            if (blanking_) {
                out_ += (c == u'\r' || c == u'\n') ? c : QChar(u' ');
            } else if (c == u'"') {
                quoted_ = !quoted_;
                out_ += c;
            } else {
                out_ += quoted_ && c != u'\r' && c != u'\n' ? QChar(u' ') : c;
            }
        }
    }
    void tag(TagKind kind) {
        if (kind == TagKind::Comment || kind == TagKind::String) blanking_ = true;
        else if (kind == TagKind::Close) blanking_ = false;
    }

private:
    QString& out_;
    bool blanking_ = false;
    bool quoted_ = false;
};

// Whether a stored line (its bytes, line break excluded) goes on in the
// next: its code ends in " _", possibly before the end tag of a comment.
bool bytesContinue(const char* p, qsizetype n) {
    while (n > 0 && (p[n - 1] == '\r' || p[n - 1] == ' ')) --n;
    // A closing tag after the "_" of a comment that goes on.
    while (n >= taglayout::kKeptTagBytes && p[n - 1] == '|') {
        TagKind kind;
        if (!taglayout::keptTagAt(p, n, n - taglayout::kKeptTagBytes, kind)) break;
        n -= taglayout::kKeptTagBytes;
    }
    return n > 0 && p[n - 1] == '_' && (n == 1 || p[n - 2] == ' ' || p[n - 2] == '\t');
}

}  // namespace

CodeLines::CodeLines(QByteArray taggedUtf8) : bytes_(std::move(taggedUtf8)) {
    starts_.push_back(0);
    const char* p = bytes_.constData();
    const qsizetype n = bytes_.size();
    for (const char* q = p; (q = static_cast<const char*>(std::memchr(q, '\n', size_t(p + n - q)))); ++q)
        starts_.push_back(q - p + 1);
    decoded_.resize(starts_.size());
    done_.resize(starts_.size());
}

QStringView CodeLines::line(int line) const {
    if (line < 1 || line > count()) return {};
    if (!done_[size_t(line) - 1]) decodeUpTo(line);
    return decoded_[size_t(line) - 1];
}

int CodeLines::lineOfByte(qsizetype at) const {
    return int(std::upper_bound(starts_.begin(), starts_.end(), at) - starts_.begin());
}

void CodeLines::decodeUpTo(int line) const {
    // From the first line of the statement: a comment or string state never
    // reaches past a line that does not go on.
    int first = line;
    const char* p = bytes_.constData();
    auto end = [&](int l) { return l < count() ? starts_[size_t(l)] - 1 : bytes_.size(); };
    while (first > 1 && !done_[size_t(first) - 2] &&
           bytesContinue(p + starts_[size_t(first) - 2], end(first - 1) - starts_[size_t(first) - 2]))
        --first;
    // A line decoded before that goes on starts no statement; decode from the one before it.
    while (first > 1 && done_[size_t(first) - 2] && continuesOnNextLine(decoded_[size_t(first) - 2]))
        --first;
    const qsizetype from = starts_[size_t(first) - 1];
    const qsizetype to = end(line);
    QString code;
    code.reserve(to - from);
    CodeSink sink(code);
    readTagged(QString::fromUtf8(p + from, to - from), sink);
    qsizetype at = 0;
    for (int l = first; l <= line; ++l) {
        qsizetype nl = code.indexOf(u'\n', at);
        if (nl < 0) nl = code.size();
        qsizetype stop = nl;
        if (stop > at && code[stop - 1] == u'\r') --stop;
        decoded_[size_t(l) - 1] = code.sliced(at, stop - at);
        done_[size_t(l) - 1] = true;
        at = nl + 1;
    }
}

bool continuesOnNextLine(QStringView line) {
    const QStringView t = line.trimmed();
    return t.endsWith(u'_') && (t.size() == 1 || t[t.size() - 2].isSpace());
}

}  // namespace lumo
