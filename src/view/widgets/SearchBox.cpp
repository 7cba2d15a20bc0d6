#include "view/widgets/SearchBox.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace lumo {

SearchBox::SearchBox(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("txtSuche"));
    setClearButtonEnabled(false);
}

void SearchBox::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    selectAll();
    // A click that brought the focus would place the cursor and lose the
    // selection at once; that one click keeps it.
    selectOnClick_ = e->reason() == Qt::MouseFocusReason;
}

void SearchBox::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    if (selectOnClick_) {
        selectOnClick_ = false;
        selectAll();
    }
}

}  // namespace lumo
