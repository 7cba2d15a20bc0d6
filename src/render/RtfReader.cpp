#include "render/RtfReader.h"

#include <limits>

#include "render/Cp1252.h"

namespace lumo {

namespace {

// Guards against absurd input: deeper groups are read as if flat, longer
// control words and parameters are cut (the rest is read as text, as RTF
// readers commonly do).
constexpr int kMaxDepth = 200;
constexpr int kMaxWordLength = 32;
constexpr int kMaxParamDigits = 10;
constexpr int kMaxTabStops = 64;

enum class Dest { Body, FontTable, ColorTable, Skip };

struct GroupState {
    RtfCharFormat format;
    Dest dest = Dest::Body;
    int unicodeSkip = 1;
};

// Characters that a text document takes as paragraph or frame marks would
// break the one-character-per-position agreement with the view; they show
// as a blank instead.
char16_t textSafe(char16_t c) {
    if (c == u'\r' || c == 0 || c == 0x2028 || c == 0x2029 || c == 0xFDD0 || c == 0xFDD1 || c == 0xFFFC)
        return u' ';
    return c;
}

class Reader {
public:
    explicit Reader(const QString& src) : s_(src) {}

    RtfContent run() {
        out_.colors.clear();
        state_.format = RtfCharFormat{};
        const int n = s_.size();
        const QChar* p = s_.constData();
        out_.text.reserve(n);
        int i = 0;
        while (i < n) {
            const char16_t c = p[i].unicode();
            if (c == '{') {
                if (stack_.size() < kMaxDepth) stack_.push_back(state_);
                else ++flatDepth_;
                ++i;
            } else if (c == '}') {
                if (flatDepth_ > 0) --flatDepth_;
                else if (!stack_.isEmpty()) { endGroup(); state_ = stack_.takeLast(); }
                ++i;
            } else if (c == '\\') {
                i = controlSymbol(i + 1);
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else {
                character(c);
                ++i;
            }
        }
        if (out_.colors.isEmpty()) out_.colors.push_back(RtfColor{});
        if (!tabsTaken_) takeParagraphSettings();
        if (!baseTaken_) out_.base = state_.format;
        return std::move(out_);
    }

private:
    // Reads what follows a backslash at index i; returns the next index.
    int controlSymbol(int i) {
        const int n = s_.size();
        if (i >= n) return n;
        const QChar* p = s_.constData();
        const char16_t c = p[i].unicode();
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            int j = i;
            while (j < n && j - i < kMaxWordLength) {
                const char16_t d = p[j].unicode();
                if (!((d >= 'a' && d <= 'z') || (d >= 'A' && d <= 'Z'))) break;
                ++j;
            }
            const QStringView word(p + i, j - i);
            bool hasParam = false;
            bool negative = false;
            long long param = 0;
            if (j < n && p[j] == u'-' && j + 1 < n && p[j + 1].isDigit()) { negative = true; ++j; }
            int digits = 0;
            while (j < n && p[j].unicode() >= '0' && p[j].unicode() <= '9') {
                if (digits < kMaxParamDigits) param = param * 10 + (p[j].unicode() - '0');
                ++digits;
                ++j;
                hasParam = true;
            }
            if (j < n && p[j] == u' ') ++j;   // the delimiter belongs to the word
            if (negative) param = -param;
            if (param > std::numeric_limits<int>::max()) param = std::numeric_limits<int>::max();
            if (param < std::numeric_limits<int>::min()) param = std::numeric_limits<int>::min();
            return controlWord(word, hasParam, static_cast<int>(param), j);
        }
        switch (c) {
        case '\\': case '{': case '}': character(c); return i + 1;
        case '\'': {
            if (i + 2 < n) {
                bool ok = false;
                const int byte = QStringView(p + i + 1, 2).toInt(&ok, 16);
                if (ok) {
                    character(cp1252::toUnicode(static_cast<unsigned char>(byte)));
                    return i + 3;
                }
            }
            return i + 1;
        }
        case '*': state_.dest = Dest::Skip; return i + 1;
        case '~': character(0x00A0); return i + 1;
        case '_': character(u'-'); return i + 1;
        case '\r': case '\n': paragraph(); return i + 1;
        case '\t': character(u'\t'); return i + 1;
        default: return i + 1;   // \- and unknown symbols carry nothing to show
        }
    }

    int controlWord(QStringView w, bool hasParam, int param, int next) {
        // The words of a code body, by far the most frequent, come first.
        if (state_.dest == Dest::Body && w.size() <= 3) {
            if (w == u"cf") { state_.format.color = hasParam ? param : 0; return next; }
            if (w == u"par") { paragraph(); return next; }
            if (w == u"tab") { character(u'\t'); return next; }
            if (w == u"b") { state_.format.bold = !hasParam || param != 0; return next; }
        }
        // Destinations next: they decide what the rest of the group is.
        if (w == u"fonttbl") { state_.dest = Dest::FontTable; fontNumber_ = 0; fontName_.clear(); return next; }
        if (w == u"colortbl") { state_.dest = Dest::ColorTable; color_ = {}; colorTouched_ = false; return next; }
        if (w == u"stylesheet" || w == u"info" || w == u"pict" || w == u"header" || w == u"footer"
            || w == u"headerl" || w == u"headerr" || w == u"footerl" || w == u"footerr"
            || w == u"object" || w == u"field" || w == u"fldinst" || w == u"listtable"
            || w == u"listoverridetable" || w == u"revtbl" || w == u"generator" || w == u"xmlnstbl") {
            state_.dest = Dest::Skip;
            return next;
        }
        if (state_.dest == Dest::Skip) return next;
        if (state_.dest == Dest::FontTable) {
            if (w == u"f" && hasParam) fontNumber_ = param;
            return next;
        }
        if (state_.dest == Dest::ColorTable) {
            const int v = qBound(0, param, 255);
            if (w == u"red") { color_.red = v; colorTouched_ = true; }
            else if (w == u"green") { color_.green = v; colorTouched_ = true; }
            else if (w == u"blue") { color_.blue = v; colorTouched_ = true; }
            return next;
        }
        RtfCharFormat& f = state_.format;
        if (w == u"par" || w == u"line") paragraph();
        else if (w == u"tab") character(u'\t');
        else if (w == u"cf") f.color = hasParam ? param : 0;
        else if (w == u"b") f.bold = !hasParam || param != 0;
        else if (w == u"plain") { f = RtfCharFormat{}; f.font = defaultFont_; }
        else if (w == u"f") f.font = hasParam ? param : defaultFont_;
        else if (w == u"fs") f.halfPoints = hasParam && param > 0 ? qMin(param, 3276) : 24;
        else if (w == u"deff") { defaultFont_ = param; f.font = param; }
        else if (w == u"pard") { tabs_.clear(); indent_ = 0; }
        else if (w == u"tx") { if (tabs_.size() < kMaxTabStops && param > 0) tabs_.push_back(param); }
        else if (w == u"li") indent_ = qMax(0, param);
        else if (w == u"deftab") { if (param > 0) out_.defaultTabTwips = param; }
        else if (w == u"uc") state_.unicodeSkip = qBound(0, param, 10);
        else if (w == u"u") {
            int code = param;
            if (code < 0) code += 65536;
            if (code >= 0 && code <= 0xFFFF) character(static_cast<char16_t>(code));
            return skipFallback(next);
        }
        else if (w == u"emdash") character(0x2014);
        else if (w == u"endash") character(0x2013);
        else if (w == u"lquote") character(0x2018);
        else if (w == u"rquote") character(0x2019);
        else if (w == u"ldblquote") character(0x201C);
        else if (w == u"rdblquote") character(0x201D);
        else if (w == u"bullet") character(0x2022);
        return next;
    }

    // After \u the next unicodeSkip characters are the fallback for readers
    // without Unicode; we skip them (an escape counts as one character).
    int skipFallback(int i) {
        const int n = s_.size();
        int left = state_.unicodeSkip;
        while (left > 0 && i < n) {
            const QChar c = s_.at(i);
            if (c == u'{' || c == u'}') break;
            if (c == u'\\') {
                if (i + 1 < n && s_.at(i + 1) == u'\'') { i += 4; }
                else break;   // a control word ends the fallback
            } else {
                ++i;
            }
            --left;
        }
        return qMin(i, n);
    }

    void character(char16_t c) {
        switch (state_.dest) {
        case Dest::Skip: return;
        case Dest::FontTable:
            if (c == u';') { out_.fonts.insert(fontNumber_, fontName_.trimmed()); fontName_.clear(); }
            else fontName_.append(QChar(c));
            return;
        case Dest::ColorTable:
            if (c == u';') { out_.colors.push_back(color_); color_ = {}; colorTouched_ = false; }
            return;
        case Dest::Body: break;
        }
        append(c);
    }

    void paragraph() {
        if (state_.dest != Dest::Body) return;
        append(u'\n');
    }

    void append(char16_t c) {
        c = textSafe(c);
        if (!baseTaken_) { out_.base = state_.format; baseTaken_ = true; }
        if (!tabsTaken_) takeParagraphSettings();
        const int pos = out_.text.size();
        out_.text.append(QChar(c));
        if (!out_.runs.isEmpty() && out_.runs.last().format == state_.format) {
            ++out_.runs.last().length;
        } else {
            out_.runs.push_back(RtfRun{pos, 1, state_.format});
        }
    }

    // The view has one set of tab stops: those in force where the text begins.
    void takeParagraphSettings() {
        out_.tabStopsTwips = tabs_;
        out_.leftIndentTwips = indent_;
        tabsTaken_ = true;
    }

    void endGroup() {
        // A font entry written without its closing ';' still counts.
        if (state_.dest == Dest::FontTable && !fontName_.trimmed().isEmpty()) {
            out_.fonts.insert(fontNumber_, fontName_.trimmed());
            fontName_.clear();
        }
    }

    const QString& s_;
    RtfContent out_;
    GroupState state_;
    QVector<GroupState> stack_;
    int flatDepth_ = 0;
    int defaultFont_ = 0;
    int fontNumber_ = 0;
    QString fontName_;
    RtfColor color_;
    bool colorTouched_ = false;
    QVector<int> tabs_;
    int indent_ = 0;
    bool tabsTaken_ = false;
    bool baseTaken_ = false;
};

}  // namespace

void makeTextSafe(QString& text) {
    for (QChar& c : text)
        if (c != u'\n') c = QChar(textSafe(c.unicode()));
}

RtfContent readRtf(const QString& rtf) {
    if (!rtf.startsWith(u"{\\rtf")) return plainTextContent(rtf);
    return Reader(rtf).run();
}

RtfContent plainTextContent(const QString& text) {
    RtfContent c;
    c.colors.push_back(RtfColor{});
    c.text.reserve(text.size());
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (ch == u'\r') {
            c.text.append(u'\n');
            if (i + 1 < n && text.at(i + 1) == u'\n') ++i;
        } else {
            c.text.append(ch == u'\n' ? ch : QChar(textSafe(ch.unicode())));
        }
    }
    if (!c.text.isEmpty()) c.runs.push_back(RtfRun{0, int(c.text.size()), c.base});
    return c;
}

}  // namespace lumo
