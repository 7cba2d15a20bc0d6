#pragma once
// staBar: the five status panels under the panes (module, routine, Back,
// Next, current operation), named by StatusPanel. A click on a panel and a
// double click are told to whoever listens; what they mean is the window's.
#include <QStatusBar>

#include "base/StatusPanel.h"

class QLabel;

namespace lumo {

class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanels(QWidget* parent);

    QLabel* label(StatusPanel panel) const;
    QString text(StatusPanel panel) const;
    void setText(StatusPanel panel, const QString& text);
    // The panels of a window that shows nothing: "Modul", "Routine", "Aktion".
    void showNothing();
    void setHistoryEnabled(bool back, bool next);

signals:
    void clicked(StatusPanel panel);        // left button released over a panel
    void doubleClicked(StatusPanel panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* panels_[5] = {};
};

}  // namespace lumo
