#pragma once
// The vertical bar between the tree pane and the code pane. It moves itself
// while the left button drags it, within limits the window gives, and asks
// for the pane layout when the button is released.
#include <functional>

#include <QFrame>

namespace lumo {

class Splitter : public QFrame {
    Q_OBJECT
public:
    explicit Splitter(QWidget* parent = nullptr);

    // Given the proposed new left edge, the window decides whether it is taken.
    std::function<bool(int newLeft)> acceptLeft;

    bool dragging() const { return dragging_; }

signals:
    void released();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    int grabOffset_ = 0;
    bool dragging_ = false;
};

}  // namespace lumo
