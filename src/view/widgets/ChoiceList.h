#pragma once
// A short list to pick one entry from, shown as a pop-up where the user is
// reading (at the caret): Enter or a double click takes the entry, Escape or
// a click elsewhere closes it without a choice.
#include <optional>

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace lumo {

class ChoiceList : public QDialog {
    Q_OBJECT
public:
    ChoiceList(QWidget* parent, const QString& title, const QStringList& entries);

    // Shown with its top left at `globalPos` (kept on the screen) until the
    // user decides; the index chosen, or nothing.
    std::optional<int> chooseAt(const QPoint& globalPos);
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_ = nullptr;
};

}  // namespace lumo
