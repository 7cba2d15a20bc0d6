#include "app/widgets/StatusPanels.h"

#include <QLabel>
#include <QMouseEvent>

#include "app/widgets/Twips.h"

namespace lumo {

namespace {

const char* const kPanelKeys[5] = {"Modul", "Routine", "Back", "Next", "Vorgang"};

}  // namespace

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("staBar"));
    setSizeGripEnabled(false);
    const QString texts[5] = {QStringLiteral("Modul:"), QStringLiteral("Routine:"), QStringLiteral("<<"),
                              QStringLiteral(">>"), QStringLiteral("Aktueller Vorgang")};
    const int stretch[5] = {3, 3, 0, 0, 2};
    for (int i = 0; i < 5; ++i) {
        auto* l = new QLabel(texts[i], this);
        l->setObjectName(QString::fromUtf8(kPanelKeys[i]));
        l->setFrameShape(QFrame::StyledPanel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMargin(2);
        if (i + 1 == PanelBack || i + 1 == PanelNext) {
            l->setAlignment(Qt::AlignCenter);
            l->setMinimumWidth(twipsToPixelsX(*this, 480));
        } else {
            l->setMinimumWidth(twipsToPixelsX(*this, 1500));
        }
        addWidget(l, stretch[i]);
        l->installEventFilter(this);
        panels_[i] = l;
    }
    label(PanelBack)->setToolTip(QStringLiteral("Eine Routine Zurück (F4)"));
    label(PanelNext)->setToolTip(QStringLiteral("Eine Routine Weiter (Strg+F4)"));
}

QLabel* StatusPanels::label(StatusPanel panel) const {
    return (panel >= PanelModule && panel <= PanelOperation) ? panels_[panel - 1] : nullptr;
}

QString StatusPanels::text(StatusPanel panel) const {
    const QLabel* l = label(panel);
    return l ? l->text() : QString();
}

void StatusPanels::setText(StatusPanel panel, const QString& text) {
    if (QLabel* l = label(panel)) l->setText(text);
}

void StatusPanels::showNothing() {
    setText(PanelModule, QStringLiteral("Modul"));
    setText(PanelRoutine, QStringLiteral("Routine"));
    setText(PanelOperation, QStringLiteral("Aktion"));
}

void StatusPanels::setHistoryEnabled(bool back, bool next) {
    label(PanelBack)->setEnabled(back);
    label(PanelNext)->setEnabled(next);
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event) {
    for (int i = 0; i < 5; ++i) {
        if (watched != panels_[i]) continue;
        const auto panel = StatusPanel(i + 1);
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            emit clicked(panel);
        else if (event->type() == QEvent::MouseButtonDblClick)
            emit doubleClicked(panel);
        return false;
    }
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace lumo
