#pragma once
// frmAbout: the program's name and version, its web page, and the system
// information a user passes on when reporting a problem.
#include <QDialog>

namespace lumo {

class Ui;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(Ui& ui, QWidget* parent = nullptr);

    void openWebPage();     // cmdWeb
    void showSystemInfo();  // cmdSysInfo

private:
    Ui& ui_;
};

}  // namespace lumo
