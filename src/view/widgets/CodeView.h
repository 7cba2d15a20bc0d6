#pragma once
// The code view: a read-only text widget with a visible caret that shows one
// RTF document of our renderer's dialect and answers the TextView contract.
// Positions outside (TextView) count a line break as CR LF; the document
// inside holds one character per break. Two sorted tables of line starts,
// one per counting, translate between them by bisection.
#include <QPlainTextEdit>
#include <QVector>
#include <utility>

#include "render/RtfContent.h"
#include "view/TextView.h"

namespace lumo {

class CodeView : public QPlainTextEdit, public TextView {
    Q_OBJECT
public:
    explicit CodeView(QWidget* parent = nullptr);

    // TextView
    void setRtf(const QString& rtf) override;
    QString rtf() const override;
    QString text() const override { return crlfText_; }
    int length() const override { return int(crlfText_.size()); }
    int selStart() const override;
    void setSelStart(int pos) override;
    int selLength() const override;
    void setSelLength(int len) override;
    QString selText() const override;
    QString selRtf() const override;
    int lineOfPosition(int pos) const override;
    int find(const QString& what, int start, bool wholeWord) override;
    void moveUpTo(const QString& set, bool forward, bool negate) override;
    void span(const QString& set, bool forward, bool negate) override;
    void revealLine(int line, int contextLine) override;

    // Shows parsed content (what setRtf does after reading).
    void setContent(RtfContent content);
    const RtfContent& content() const { return content_; }
    int lineCount() const { return int(crlfStart_.size()); }
    // Where line `line` (0-based) starts, as TextView counts positions.
    int lineStart(int line) const { return line >= 0 && line < crlfStart_.size() ? crlfStart_[line] : length(); }

    // A module text file or an RTF file; false with errorString() on failure.
    bool loadFile(const QString& path);
    // The content as a portable RTF file (characters beyond ASCII escaped);
    // an existing file is replaced. False with errorString() on failure.
    bool saveFile(const QString& path);
    QString errorString() const { return error_; }

    // Translation between the two countings.
    int toDocument(int pos) const;
    int fromDocument(int docPos) const;

    // The gutter of line numbers left of the code, as every "Zeile N" counts
    // them; firstLineNumber is the number of the view's first line (the zoom
    // view shows a routine from the middle of its module).
    void setLineNumbersShown(bool on);
    bool lineNumbersShown() const { return lineNumbers_; }
    void setFirstLineNumber(int number);
    int firstLineNumber() const { return firstLineNumber_; }
    int gutterWidth() const;
    // The line numbers the gutter shows now, top down (tests read them).
    QVector<int> shownLineNumbers() const;
    // The first line (0-based) at the top of the pane.
    int topLine() const;
    // The places marked as uses of one name: (position, length), positions
    // as in TextView. Empty clears the marks.
    void setMarks(const QVector<std::pair<int, int>>& marks);
    int markCount() const { return int(extraSelections().size()); }
    // The position (TextView counting) of the character at a point of the
    // viewport, -1 beside the text.
    int positionAt(const QPoint& viewportPoint) const;

signals:
    // The mouse rests on the text: position of the character under it.
    void hoverAt(int position, const QPoint& globalPos);
    // A left click with Ctrl held, after the caret went there.
    void definitionClicked();
    void keyReleased(int key);
    // Buttons as the window expects them: 1 left, 2 right, 4 middle.
    void mousePressed(int button);
    void mouseReleased(int button);

protected:
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool viewportEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class LineGutter;
    void paintGutter(QPaintEvent* e);
    void updateGutterWidth();
    void buildDocument();
    void buildLineTables();
    void applyLayout();
    void select(int anchor, int position);
    int twipsToPixels(int twips) const;
    static int buttonCode(Qt::MouseButton b);

    RtfContent content_;
    QString crlfText_;
    QVector<int> crlfStart_;   // line starts, CR LF counted twice
    QVector<int> docStart_;    // line starts in the document
    QString error_;
    QWidget* gutter_ = nullptr;
    bool lineNumbers_ = false;
    int firstLineNumber_ = 1;
};

}  // namespace lumo
