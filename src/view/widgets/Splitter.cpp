#include "view/widgets/Splitter.h"

#include <QMouseEvent>
#include <QPainter>

namespace lumo {

Splitter::Splitter(QWidget* parent) : QFrame(parent) {
    setCursor(Qt::SplitHCursor);
    setFrameShape(QFrame::NoFrame);
}

void Splitter::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    grabOffset_ = int(e->position().x());
    dragging_ = true;
    // The panes follow only on release; until then the bar itself shows
    // where they will part, drawn over the code pane it may cross.
    raise();
    update();
}

void Splitter::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
    const int newLeft = int(e->position().x()) - grabOffset_ + x();
    if (acceptLeft && acceptLeft(newLeft)) move(newLeft, y());
}

void Splitter::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    update();
    emit released();
}

void Splitter::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    if (!dragging_) return;
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Dark));
}

}  // namespace lumo
