#pragma once
// Long work of the window (reading, showing, searching, exporting) runs in
// slices: between two steps the window's events get their turn at least
// every few milliseconds, so it repaints and answers while the work goes on.
// Panel 5 tells how far the work is, and Escape, the button beside the
// panels or closing the window stop it. Meanwhile no other command may
// start: input to the window other than stopping waits until the work ends
// (dialogs and message boxes the work opens are answered as usual).
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include "base/Progress.h"

class QAbstractButton;
class QWidget;

namespace lumo {

class StatusPanels;

class WorkProgress : public QObject, public Progress {
    Q_OBJECT
public:
    // window: the window whose input waits; panels: where the progress shows.
    WorkProgress(QWidget* window, StatusPanels& panels);
    ~WorkProgress() override;

    // While one lives, the window's work is under way; nested ones join the
    // outermost, which alone starts and ends it. Work that cannot stop half-way
    // (listing the documents' projects) keeps the window answering without
    // offering to stop.
    class Scope {
    public:
        explicit Scope(WorkProgress& progress, bool stoppable = true);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        WorkProgress& progress_;
    };

    bool step(int done, int total, const QString& name) override;
    // Within a step that takes long (a query over the whole store): the
    // events' turn when it is due, the panel left as it is.
    void turnIfDue();
    bool stopped() const override { return stopped_; }
    bool busy() const { return depth_ > 0; }
    // Escape, the button and closing the window end up here.
    void stop();
    // The window was to close while the work ran: it closes once the work ended.
    bool closeWanted() const { return closeWanted_; }
    // How often the window's events had their turn since the work began.
    int turns() const { return turns_; }
    QAbstractButton* stopButton() const { return stopButton_; }
    // How long the events wait at most between two turns (tests: 0, a turn at every step).
    void setTurnEvery(int ms) { turnEveryMs_ = ms; }

signals:
    // The outermost scope ended.
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void begin(bool stoppable);
    void end();
    void giveEventsTheirTurn();

    QWidget* window_;
    StatusPanels& panels_;
    QAbstractButton* stopButton_ = nullptr;
    QElapsedTimer sinceTurn_;
    int depth_ = 0;
    bool stopped_ = false;
    bool stoppable_ = true;
    bool closeWanted_ = false;
    bool panelTaken_ = false;
    QString panelBefore_;
    QString lastText_;
    int turns_ = 0;
    int turnEveryMs_;
};

}  // namespace lumo
