#include "view/widgets/ChoiceList.h"

#include <algorithm>

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

namespace lumo {

namespace {

constexpr int kMostRowsShown = 12;  // more scroll

}  // namespace

ChoiceList::ChoiceList(QWidget* parent, const QString& title, const QStringList& entries)
    : QDialog(parent, Qt::Popup) {
    setObjectName(QStringLiteral("frmAuswahl"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    // A pop-up has no window frame; this line sets it off from the code beneath.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    outer->addWidget(frame);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    auto* head = new QLabel(title, frame);
    head->setObjectName(QStringLiteral("lblAuswahl"));
    QFont bold = head->font();
    bold.setBold(true);
    head->setFont(bold);
    layout->addWidget(head);
    list_ = new QListWidget(frame);
    list_->setObjectName(QStringLiteral("lstAuswahl"));
    list_->addItems(entries);
    list_->setCurrentRow(0);
    const int rows = std::min(int(entries.size()), kMostRowsShown);
    const int rowHeight = list_->sizeHintForRow(0) > 0 ? list_->sizeHintForRow(0) : fontMetrics().height();
    list_->setFixedHeight(rows * rowHeight + 2 * list_->frameWidth() + 2);
    list_->setMinimumWidth(std::min(list_->sizeHintForColumn(0) + 2 * list_->frameWidth() + 24, 600));
    layout->addWidget(list_);
    // Enter and a double click both activate the row.
    connect(list_, &QListWidget::itemActivated, this, [this] { accept(); });
}

std::optional<int> ChoiceList::chooseAt(const QPoint& globalPos) {
    adjustSize();
    QPoint at = globalPos;
    if (const QScreen* screen = QGuiApplication::screenAt(globalPos)) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
    }
    move(at);
    list_->setFocus();
    if (exec() != QDialog::Accepted || list_->currentRow() < 0) return std::nullopt;
    return list_->currentRow();
}

}  // namespace lumo
