#include "navigate/CodeLines.h"

#include "model/TaggedText.h"

namespace lumo {

namespace {

class LineSink {
public:
    explicit LineSink(CodeLines& out) : out_(out) { out_.lines.emplace_back(); }

    void text(QStringView s) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype nl = s.indexOf(u'\n', from);
            QStringView piece = s.sliced(from, (nl < 0 ? s.size() : nl) - from);
            if (nl >= 0 && piece.endsWith(u'\r')) piece.chop(1);
            append(piece);
            if (nl < 0) return;
            out_.lines.emplace_back();
            quoted_ = false;
            from = nl + 1;
        }
    }

    void tag(TagKind kind) {
        if (kind == TagKind::Comment || kind == TagKind::String) blanking_ = true;
        else if (kind == TagKind::Close) blanking_ = false;
    }

private:
    // Outside the tagged spans a literal can still stand untagged (the
    // tagging pass leaves "" alone); its text is blanked here too.
    void append(QStringView piece) {
        QString& line = out_.lines.back();
        if (blanking_) {
            line += QString(piece.size(), u' ');
            return;
        }
        for (const QChar c : piece) {
            if (c == u'"') {
                quoted_ = !quoted_;
                line += c;
            } else {
                line += quoted_ ? QChar(u' ') : c;
            }
        }
    }

    CodeLines& out_;
    bool blanking_ = false;
    bool quoted_ = false;
};

}  // namespace

CodeLines codeLinesOf(QStringView tagged) {
    CodeLines out;
    LineSink sink(out);
    readTagged(tagged, sink);
    return out;
}

bool continuesOnNextLine(QStringView line) {
    const QStringView t = line.trimmed();
    return t.endsWith(u'_') && (t.size() == 1 || t[t.size() - 2].isSpace());
}

}  // namespace lumo
