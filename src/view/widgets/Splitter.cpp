#include "view/widgets/Splitter.h"

#include <QMouseEvent>

namespace lumo {

Splitter::Splitter(QWidget* parent) : QFrame(parent) {
    setCursor(Qt::SplitHCursor);
    setFrameShape(QFrame::NoFrame);
}

void Splitter::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    grabOffset_ = int(e->position().x());
    dragging_ = true;
}

void Splitter::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
    const int newLeft = int(e->position().x()) - grabOffset_ + x();
    if (acceptLeft && acceptLeft(newLeft)) move(newLeft, y());
}

void Splitter::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !dragging_) return;
    dragging_ = false;
    emit released();
}

}  // namespace lumo
