#pragma once
// frmMin: a small window that stays above the others at the top-left corner
// of the screen and turns the clipboard's code into HTML with one click. It
// stands in for the main window, which stays loaded and hidden meanwhile.
#include <functional>

#include <QWidget>

class QPushButton;

namespace lumo {

class CompactWindow : public QWidget {
    Q_OBJECT
public:
    explicit CompactWindow(QWidget* parent = nullptr);

    // cmdHtml: HTML of the clipboard.
    std::function<void()> onHtml;
    // The window closed: back (true) when "<< Vollansicht" closed it, false
    // when its own close button did.
    std::function<void(bool back)> onClosed;

    // Shows the window anew, its return flag cleared.
    void open();

    QPushButton* htmlButton() const { return cmdHtml_; }
    QPushButton* backButton() const { return cmdClose_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* cmdHtml_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    bool back_ = false;
};

}  // namespace lumo
