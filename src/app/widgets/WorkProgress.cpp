#include "app/widgets/WorkProgress.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "app/widgets/StatusPanels.h"

namespace lumo {

namespace {

// The longest the window's events wait while work runs, less the step under way.
constexpr int kTurnEveryMs = 30;

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

}  // namespace

WorkProgress::WorkProgress(QWidget* window, StatusPanels& panels)
    : QObject(window), window_(window), panels_(panels), turnEveryMs_(kTurnEveryMs) {
    auto* button = new QPushButton(QStringLiteral("Abbrechen"), &panels);
    button->setObjectName(QStringLiteral("cmdAbbrechen"));
    button->setToolTip(QStringLiteral("Bricht den laufenden Vorgang ab (Esc)"));
    button->setFocusPolicy(Qt::NoFocus);
    button->hide();
    panels.addPermanentWidget(button);
    connect(button, &QPushButton::clicked, this, &WorkProgress::stop);
    stopButton_ = button;
}

WorkProgress::~WorkProgress() {
    if (depth_ > 0) qApp->removeEventFilter(this);
}

WorkProgress::Scope::Scope(WorkProgress& progress, bool stoppable) : progress_(progress) {
    progress_.begin(stoppable);
}

WorkProgress::Scope::~Scope() { progress_.end(); }

void WorkProgress::begin(bool stoppable) {
    if (depth_++ > 0) return;
    stoppable_ = stoppable;
    stopped_ = false;
    closeWanted_ = false;
    panelTaken_ = false;
    turns_ = 0;
    sinceTurn_.start();
    qApp->installEventFilter(this);
}

void WorkProgress::end() {
    if (depth_ == 0 || --depth_ > 0) return;
    qApp->removeEventFilter(this);
    stopButton_->hide();
    // The panel goes back to what it said, unless the work wrote into it since.
    if (panelTaken_ && panels_.text(PanelOperation) == lastText_) panels_.setText(PanelOperation, panelBefore_);
    panelTaken_ = false;
    emit finished();
}

bool WorkProgress::step(int done, int total, const QString&) {
    if (depth_ == 0) return true;
    if (!stopped_ && sinceTurn_.elapsed() >= turnEveryMs_) {
        if (!panelTaken_) {
            panelBefore_ = panels_.text(PanelOperation);
            panelTaken_ = true;
        }
        lastText_ = progressText(done, total);
        panels_.setText(PanelOperation, lastText_);
        giveEventsTheirTurn();
    }
    return !stopped_;
}

void WorkProgress::turnIfDue() {
    if (depth_ > 0 && sinceTurn_.elapsed() >= turnEveryMs_) giveEventsTheirTurn();
}

void WorkProgress::stop() {
    if (depth_ > 0 && stoppable_) stopped_ = true;
}

void WorkProgress::giveEventsTheirTurn() {
    stopButton_->setVisible(stoppable_);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ++turns_;
    sinceTurn_.restart();
}

bool WorkProgress::eventFilter(QObject* watched, QEvent* event) {
    if (!isInput(event->type())) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    // Dialogs and message boxes the work opens answer as usual.
    if (widget && widget->window() != window_) return false;
    if (!widget && event->type() != QEvent::Shortcut) return false;
    if (widget == stopButton_) return false;
    switch (event->type()) {
    case QEvent::Close:
        if (watched != window_) return false;
        stop();
        closeWanted_ = true;
        event->ignore();
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) stop();
        return true;
    case QEvent::ShortcutOverride:
        // Taken by the filter, the key comes as a key press and runs no command.
        event->accept();
        return true;
    default:
        return true;
    }
}

}  // namespace lumo
