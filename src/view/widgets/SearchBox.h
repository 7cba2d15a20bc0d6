#pragma once
// txtSuche: the search text on the toolbar. Taking the focus selects the
// whole text, so that typing replaces the last search; Enter continues the
// search from the caret. The keys of the window's commands work while it
// has the focus: it keeps only the keys no command uses.
#include <QLineEdit>

namespace lumo {

class SearchBox : public QLineEdit {
    Q_OBJECT
public:
    explicit SearchBox(QWidget* parent = nullptr);

protected:
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool selectOnClick_ = false;
};

}  // namespace lumo
