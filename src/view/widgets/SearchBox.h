#pragma once
// txtSuche: the search text on the toolbar. Taking the focus selects the
// whole text, so that typing replaces the last search; Enter continues the
// search from the caret.
#include <QLineEdit>

namespace lumo {

class SearchBox : public QLineEdit {
    Q_OBJECT
public:
    explicit SearchBox(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    bool selectOnClick_ = false;
};

}  // namespace lumo
