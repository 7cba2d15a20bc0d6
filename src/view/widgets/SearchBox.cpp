#include "view/widgets/SearchBox.h"

#include <QFocusEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QSet>

#include "view/Commands.h"

namespace lumo {
namespace {

// The keys of the command tables. A line edit claims some of them for
// itself (Ctrl+E moves to the line end on this platform), so a command key
// pressed in the box would do nothing.
const QSet<int>& commandKeys() {
    static const QSet<int> keys = [] {
        QSet<int> out;
        for (const MenuItemDef& item : menuItemTable()) {
            const QKeySequence key(QString::fromUtf8(item.shortcut), QKeySequence::PortableText);
            if (key.count() == 1) out.insert(key[0].toCombined());
        }
        return out;
    }();
    return keys;
}

}  // namespace

SearchBox::SearchBox(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("txtSuche"));
    setClearButtonEnabled(false);
}

bool SearchBox::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride &&
        commandKeys().contains(static_cast<QKeyEvent*>(e)->keyCombination().toCombined())) {
        // Left unaccepted, the key goes to the command's shortcut.
        e->ignore();
        return true;
    }
    return QLineEdit::event(e);
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
