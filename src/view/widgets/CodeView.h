#pragma once
// The code view: a read-only text widget with a visible caret that shows one
// RTF document of our renderer's dialect and answers the TextView contract.
// Positions outside (TextView) count a line break as CR LF; the document
// inside holds one character per break. Two sorted tables of line starts,
// one per counting, translate between them by bisection.
#include <QPlainTextEdit>
#include <QVector>

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

    // Shows parsed content (what setRtf does after reading).
    void setContent(RtfContent content);
    const RtfContent& content() const { return content_; }
    int lineCount() const { return int(crlfStart_.size()); }

    // A module text file or an RTF file; false with errorString() on failure.
    bool loadFile(const QString& path);
    // The content as a portable RTF file (characters beyond ASCII escaped);
    // an existing file is replaced. False with errorString() on failure.
    bool saveFile(const QString& path);
    QString errorString() const { return error_; }

    // Translation between the two countings.
    int toDocument(int pos) const;
    int fromDocument(int docPos) const;

signals:
    void keyReleased(int key);
    // Buttons as the window expects them: 1 left, 2 right, 4 middle.
    void mousePressed(int button);
    void mouseReleased(int button);

protected:
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
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
};

}  // namespace lumo
