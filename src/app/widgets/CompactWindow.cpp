#include "app/widgets/CompactWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>

#include "base/AppState.h"
#include "view/widgets/Icons.h"

namespace lumo {

CompactWindow::CompactWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmMin"));
    setWindowTitle(appState().titleText);
    setWindowIcon(lumo::windowIcon());
    // It sits beside the work the user copies from and must not take the
    // keyboard away from it.
    setAttribute(Qt::WA_ShowWithoutActivating);

    cmdHtml_ = new QPushButton(this);
    cmdHtml_->setObjectName(QStringLiteral("cmdHtml"));
    cmdHtml_->setIcon(toolbarIcon(QStringLiteral("ht_clip")));
    cmdHtml_->setIconSize(QSize(24, 24));
    cmdHtml_->setToolTip(QStringLiteral("Zwischenablage nach HTML"));
    cmdHtml_->setFocusPolicy(Qt::NoFocus);
    cmdClose_ = new QPushButton(QStringLiteral("<< Vollansicht"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    cmdClose_->setFocusPolicy(Qt::NoFocus);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(cmdHtml_);
    layout->addWidget(cmdClose_);

    connect(cmdHtml_, &QPushButton::clicked, this, [this] {
        if (onHtml) onHtml();
    });
    connect(cmdClose_, &QPushButton::clicked, this, [this] {
        back_ = true;
        close();
    });
}

void CompactWindow::open() {
    back_ = false;
    setWindowTitle(appState().titleText);
    // Wide enough for the title bar to show the program's name beside its buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 120);
    show();
}

void CompactWindow::showEvent(QShowEvent* event) {
    // The top-left corner of the screen, whatever size the window has.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    move(screen ? screen->geometry().topLeft() : QPoint(0, 0));
    QWidget::showEvent(event);
}

void CompactWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    const bool back = back_;
    back_ = false;
    if (onClosed) onClosed(back);
}

}  // namespace lumo
