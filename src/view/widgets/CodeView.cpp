#include "view/widgets/CodeView.h"

#include <algorithm>
#include <cstdlib>

#include <QFile>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

#include "render/ContentHtml.h"
#include "render/Cp1252.h"
#include "render/RtfReader.h"
#include "render/RtfWriter.h"

namespace lumo {

namespace {

constexpr double kTwipsPerInch = 1440.0;

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

QColor toQColor(const RtfColor& c) { return QColor(c.red, c.green, c.blue); }

// The uses of the name at the caret, lightly behind the text's own colours.
const QColor kMarkColour(0xd8, 0xe8, 0xff);
const QColor kGutterBack(0xf2, 0xf2, 0xf2);
const QColor kGutterText(0x80, 0x80, 0x80);

}  // namespace

// The strip left of the code that shows line numbers; the view paints it.
class LineGutter : public QWidget {
public:
    explicit LineGutter(CodeView* view) : QWidget(view), view_(view) { setObjectName(QStringLiteral("zeilennummern")); }
    QSize sizeHint() const override { return {view_->gutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* e) override { view_->paintGutter(e); }

private:
    CodeView* view_;
};

CodeView::CodeView(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    // Read-only for the user, but selectable by keyboard, so the caret shows.
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    document()->setUndoRedoEnabled(false);
    // The right button belongs to the window's pop-up menus.
    setContextMenuPolicy(Qt::PreventContextMenu);
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    // The colours of the renderer assume a white page, whatever the theme.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    setPalette(pal);
    content_.colors.push_back(RtfColor{});
    buildLineTables();
    gutter_ = new LineGutter(this);
    gutter_->hide();
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (!lineNumbers_) return;
        if (dy != 0)
            gutter_->scroll(0, dy);
        else
            gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    });
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { updateGutterWidth(); });
}

// ---------------------------------------------------------------------------
// The gutter of line numbers

void CodeView::setLineNumbersShown(bool on) {
    if (on == lineNumbers_) return;
    lineNumbers_ = on;
    gutter_->setVisible(on);
    updateGutterWidth();
}

void CodeView::setFirstLineNumber(int number) {
    if (number == firstLineNumber_) return;
    firstLineNumber_ = std::max(number, 1);
    updateGutterWidth();
    gutter_->update();
}

int CodeView::gutterWidth() const {
    if (!lineNumbers_) return 0;
    const int last = firstLineNumber_ + std::max(blockCount(), 1) - 1;
    const int digits = std::max(3, int(QString::number(last).size()));
    const QFontMetrics m(font());
    return m.horizontalAdvance(u'9') * digits + m.averageCharWidth() + 6;
}

void CodeView::updateGutterWidth() {
    setViewportMargins(gutterWidth(), 0, 0, 0);
    const QRect r = contentsRect();
    gutter_->setGeometry(QRect(r.left(), r.top(), gutterWidth(), r.height()));
}

void CodeView::resizeEvent(QResizeEvent* e) {
    QPlainTextEdit::resizeEvent(e);
    const QRect r = contentsRect();
    gutter_->setGeometry(QRect(r.left(), r.top(), gutterWidth(), r.height()));
}

void CodeView::paintGutter(QPaintEvent* e) {
    QPainter p(gutter_);
    p.fillRect(e->rect(), kGutterBack);
    p.setPen(kGutterText);
    p.setFont(font());
    const int right = gutter_->width() - 4;
    const int height = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= e->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= e->rect().top())
            p.drawText(0, top, right, height, Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(block.blockNumber() + firstLineNumber_));
        block = block.next();
        top = bottom;
    }
}

QVector<int> CodeView::shownLineNumbers() const {
    QVector<int> out;
    if (!lineNumbers_) return out;
    const int h = viewport()->height();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top < h) {
        out << block.blockNumber() + firstLineNumber_;
        top += blockBoundingRect(block).height();
        block = block.next();
    }
    return out;
}

int CodeView::topLine() const { return firstVisibleBlock().blockNumber(); }

// ---------------------------------------------------------------------------
// Placing a jump's target, marks, hover and Ctrl+click

void CodeView::revealLine(int line, int contextLine) {
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    const int visible = viewport()->height() / lineHeight;
    if (visible < 3) return;  // no pane to place it in
    line = std::clamp(line, 0, std::max(blockCount() - 1, 0));
    contextLine = std::clamp(contextLine, 0, line);
    // A third down, higher where the comment block above needs it, but
    // never so high that the target itself leaves the pane.
    int top = std::min(line - visible / 3, contextLine);
    top = std::max(top, line - visible + 2);
    verticalScrollBar()->setValue(std::max(top, 0));
}

void CodeView::setMarks(const QVector<std::pair<int, int>>& marks) {
    QList<QTextEdit::ExtraSelection> list;
    list.reserve(marks.size());
    for (const auto& [pos, len] : marks) {
        QTextEdit::ExtraSelection sel;
        sel.cursor = QTextCursor(document());
        sel.cursor.setPosition(toDocument(pos));
        sel.cursor.setPosition(toDocument(pos + len), QTextCursor::KeepAnchor);
        sel.format.setBackground(kMarkColour);
        list << sel;
    }
    setExtraSelections(list);
}

int CodeView::positionAt(const QPoint& viewportPoint) const {
    const QTextCursor c = cursorForPosition(viewportPoint);
    // Beside the text of a line the nearest character is no character under the mouse.
    const QRect r = cursorRect(c);
    if (viewportPoint.y() < r.top() || viewportPoint.y() > r.bottom()) return -1;
    if (std::abs(viewportPoint.x() - r.x()) > fontMetrics().horizontalAdvance(u'W')) return -1;
    return fromDocument(c.position());
}

bool CodeView::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int pos = positionAt(help->pos());
        if (pos < 0) QToolTip::hideText();
        else emit hoverAt(pos, help->globalPos());
        return true;
    }
    return QPlainTextEdit::viewportEvent(e);
}

void CodeView::setRtf(const QString& rtf) {
    setContent(rtf.isEmpty() ? RtfContent{} : readRtf(rtf));
}

void CodeView::setContent(RtfContent content) {
    content_ = std::move(content);
    makeTextSafe(content_.text);
    if (content_.colors.isEmpty()) content_.colors.push_back(RtfColor{});
    buildDocument();
    buildLineTables();
}

void CodeView::applyLayout() {
    QTextDocument* doc = document();
    QFont font = this->font();
    const QString family = content_.fontName(content_.base.font);
    if (!family.isEmpty()) font.setFamilies({family});
    font.setPointSizeF(content_.base.halfPoints / 2.0);
    if (font != this->font()) setFont(font);

    QTextOption opt = doc->defaultTextOption();
    QList<QTextOption::Tab> tabs;
    int last = 0, step = content_.defaultTabTwips;
    for (int t : content_.tabStopsTwips) {
        if (t <= last) continue;   // stops must rise; others are ignored
        tabs.append(QTextOption::Tab(twipsToPixels(t), QTextOption::LeftTab));
        step = t - last;
        last = t;
    }
    opt.setTabs(tabs);
    opt.setTabStopDistance(qMax(1, twipsToPixels(step)));
    opt.setWrapMode(QTextOption::NoWrap);
    doc->setDefaultTextOption(opt);
    doc->setDocumentMargin(qMax(2, twipsToPixels(content_.leftIndentTwips)));
}

// The text goes in as plain text in one piece, which is as fast as a text
// widget loads at all; the colours and bold lines go on as each block's
// layout formats, which the text engine resolves only when it lays out a
// block for display. Formatting thus costs almost nothing for the many lines
// nobody has scrolled to yet. The content itself keeps the runs for
// rtf() and selRtf().
void CodeView::buildDocument() {
    QTextDocument* doc = document();
    applyLayout();
    setPlainText(content_.text);

    struct Cached { RtfCharFormat key; QTextCharFormat format; };
    QVector<Cached> cache;
    auto formatFor = [&](const RtfCharFormat& f) -> const QTextCharFormat& {
        for (const Cached& c : cache)
            if (c.key == f) return c.format;
        QTextCharFormat q;
        q.setForeground(toQColor(content_.color(f.color)));
        if (f.bold) q.setFontWeight(QFont::Bold);
        if (f.font != content_.base.font) {
            const QString fam = content_.fontName(f.font);
            if (!fam.isEmpty()) q.setFontFamilies(QStringList{fam});
        }
        if (f.halfPoints != content_.base.halfPoints) q.setFontPointSize(f.halfPoints / 2.0);
        cache.push_back({f, q});
        return cache.last().format;
    };
    // Text in the plain format needs no range when the plain colour is the
    // widget's own text colour.
    const RtfCharFormat plain{0, false, content_.base.font, content_.base.halfPoints};
    const bool plainIsDefault = toQColor(content_.color(0)) == palette().color(QPalette::Text);

    const QString& text = content_.text;
    const int total = int(text.size());
    QList<QTextLayout::FormatRange> ranges;
    auto run = content_.runs.cbegin();
    const auto runsEnd = content_.runs.cend();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const int start = block.position();
        const int end = std::min(start + block.length() - 1, total);   // without the break
        ranges.clear();
        while (run != runsEnd && run->start + run->length <= start) ++run;
        for (auto r = run; r != runsEnd && r->start < end; ++r) {
            if (plainIsDefault && r->format == plain) continue;
            const int a = std::max(start, r->start);
            const int b = std::min(end, r->start + r->length);
            if (a < b) ranges.append({a - start, b - a, formatFor(r->format)});
        }
        if (!ranges.isEmpty()) block.layout()->setFormats(ranges);
    }
    doc->markContentsDirty(0, doc->characterCount());
}

void CodeView::buildLineTables() {
    const QString& t = content_.text;
    const int lines = int(t.count(u'\n')) + 1;
    crlfStart_.resize(lines);
    docStart_.resize(lines);
    crlfText_.clear();
    crlfText_.reserve(t.size() + lines);
    crlfStart_[0] = 0;
    docStart_[0] = 0;
    int line = 0, from = 0;
    for (;;) {
        const int nl = int(t.indexOf(u'\n', from));
        if (nl < 0) { crlfText_.append(QStringView(t).mid(from)); break; }
        crlfText_.append(QStringView(t).mid(from, nl - from));
        crlfText_.append(u"\r\n");
        ++line;
        docStart_[line] = nl + 1;
        crlfStart_[line] = nl + 1 + line;
        from = nl + 1;
    }
}

int CodeView::toDocument(int pos) const {
    pos = std::clamp(pos, 0, length());
    const int b = int(std::upper_bound(crlfStart_.cbegin(), crlfStart_.cend(), pos) - crlfStart_.cbegin()) - 1;
    const int lineEnd = b + 1 < docStart_.size() ? docStart_[b + 1] - 1 : int(content_.text.size());
    // A position between CR and LF stands for the end of its line.
    return std::min(docStart_[b] + (pos - crlfStart_[b]), lineEnd);
}

int CodeView::fromDocument(int docPos) const {
    docPos = std::clamp(docPos, 0, int(content_.text.size()));
    const int b = int(std::upper_bound(docStart_.cbegin(), docStart_.cend(), docPos) - docStart_.cbegin()) - 1;
    return docPos + b;
}

int CodeView::lineOfPosition(int pos) const {
    pos = std::clamp(pos, 0, length());
    return int(std::upper_bound(crlfStart_.cbegin(), crlfStart_.cend(), pos) - crlfStart_.cbegin()) - 1;
}

int CodeView::selStart() const {
    const QTextCursor c = textCursor();
    return fromDocument(c.selectionStart());
}

int CodeView::selLength() const {
    const QTextCursor c = textCursor();
    return fromDocument(c.selectionEnd()) - fromDocument(c.selectionStart());
}

QString CodeView::selText() const {
    return crlfText_.mid(selStart(), selLength());
}

QString CodeView::rtf() const {
    return writeRtf(content_);
}

QString CodeView::selRtf() const {
    const QTextCursor c = textCursor();
    return writeRtf(content_, c.selectionStart(), c.selectionEnd());
}

void CodeView::select(int anchor, int position) {
    QTextCursor c = textCursor();
    c.setPosition(toDocument(anchor));
    if (position != anchor) c.setPosition(toDocument(position), QTextCursor::KeepAnchor);
    setTextCursor(c);   // also scrolls the caret into view
}

void CodeView::setSelStart(int pos) {
    pos = std::clamp(pos, 0, length());
    select(pos, pos);
}

void CodeView::setSelLength(int len) {
    const int start = selStart();
    select(start, std::clamp(start + std::max(len, 0), start, length()));
}

int CodeView::find(const QString& what, int start, bool wholeWord) {
    if (what.isEmpty() || start > length()) return -1;
    int from = std::max(start, 0);
    const int n = length();
    for (;;) {
        const int hit = int(crlfText_.indexOf(what, from, Qt::CaseInsensitive));
        if (hit < 0) return -1;
        const int end = hit + int(what.size());
        const bool bounded = !wholeWord
            || ((hit == 0 || !isWordChar(crlfText_.at(hit - 1)))
                && (end >= n || !isWordChar(crlfText_.at(end))));
        if (bounded) {
            select(hit, end);
            return hit;
        }
        from = hit + 1;
    }
}

void CodeView::moveUpTo(const QString& set, bool forward, bool negate) {
    const QTextCursor c = textCursor();
    const int n = length();
    int pos;
    auto stops = [&](QChar ch) { return set.contains(ch) != negate; };
    if (forward) {
        pos = fromDocument(c.selectionEnd());
        while (pos < n && !stops(crlfText_.at(pos))) ++pos;
    } else {
        pos = fromDocument(c.selectionStart());
        while (pos > 0 && !stops(crlfText_.at(pos - 1))) --pos;
    }
    select(pos, pos);
}

void CodeView::span(const QString& set, bool forward, bool negate) {
    const QTextCursor c = textCursor();
    int a = fromDocument(c.selectionStart());
    int b = fromDocument(c.selectionEnd());
    auto spans = [&](QChar ch) { return set.contains(ch) != negate; };
    if (forward) {
        const int n = length();
        while (b < n && spans(crlfText_.at(b))) ++b;
        select(a, b);
    } else {
        while (a > 0 && spans(crlfText_.at(a - 1))) --a;
        select(b, a);
    }
}

bool CodeView::loadFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error_ = f.errorString();
        return false;
    }
    const QByteArray bytes = f.readAll();
    // Our files are UTF-8; a file that is not valid UTF-8 came from the
    // ANSI code page.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        text.clear();
        text.reserve(bytes.size());
        for (char b : bytes) text.append(QChar(cp1252::toUnicode(static_cast<unsigned char>(b))));
    }
    if (text.startsWith(u'\uFEFF')) text.remove(0, 1);
    setContent(text.startsWith(u"{\\rtf") ? readRtf(text) : plainTextContent(text));
    error_.clear();
    return true;
}

bool CodeView::saveFile(const QString& path) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        error_ = f.errorString();
        return false;
    }
    f.write(writeRtf(content_, RtfChars::Escaped).toLatin1());
    if (!f.commit()) {
        error_ = f.errorString();
        return false;
    }
    error_.clear();
    return true;
}

int CodeView::twipsToPixels(int twips) const {
    return qRound(twips * logicalDpiX() / kTwipsPerInch);
}

int CodeView::buttonCode(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

void CodeView::keyReleaseEvent(QKeyEvent* e) {
    QPlainTextEdit::keyReleaseEvent(e);
    if (!e->isAutoRepeat()) emit keyReleased(e->key());
}

void CodeView::mousePressEvent(QMouseEvent* e) {
    QPlainTextEdit::mousePressEvent(e);
    emit mousePressed(buttonCode(e->button()));
}

void CodeView::mouseReleaseEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseReleaseEvent(e);
    emit mouseReleased(buttonCode(e->button()));
    if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ControlModifier) && selLength() == 0)
        emit definitionClicked();
}

// A copy carries the selection as RTF (for word processors), as HTML with
// the same colours, and as plain text.
QMimeData* CodeView::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    const QTextCursor c = textCursor();
    const int from = c.selectionStart(), to = c.selectionEnd();
    const QByteArray rtf = writeRtf(content_, from, to, RtfChars::Escaped).toLatin1();
    data->setData(QStringLiteral("text/rtf"), rtf);
    data->setData(QStringLiteral("application/rtf"), rtf);
    data->setHtml(contentToHtml(content_, from, to));
    data->setText(content_.text.mid(from, to - from));
    return data;
}

}  // namespace lumo
