#pragma once
// frmOptionen: four tabs over four frames, every field of the options
// record. The state and the rules live in OptionsForm; this class shows
// them, passes the clicks on and stores on OK.
#include <array>
#include <vector>

#include <QDialog>

#include "base/Options.h"
#include "dialogs/OptionsForm.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

namespace lumo {

class Ui;

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    // Edits options; OK stores them in the settings and in options.
    OptionsDialog(Options& options, Ui& ui, QWidget* parent = nullptr);

    // Tab 1 to 4, as a click on it.
    void showTab(int index);
    int shownTab() const;
    // Swatch 0 to 47, as a click on it.
    void clickSwatch(int index);
    qint32 frameColour(ColourFrame frame) const;
    const OptionsForm& form() const { return form_; }
    // OK and Abbrechen, as their clicks.
    void ok();
    void cancel();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int px(int twips) const;
    int py(int twips) const;
    void place(QWidget* w, int left, int top, int width, int height) const;
    QFrame* makeFrame(int index);
    QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, const char* tip, bool on);
    QGroupBox* makeColourFrame(QWidget* parent, const char* name, const char* caption, ColourFrame which, int top);
    void showFrameColours();
    void fontChosen();
    void collect();

    Options& options_;
    Ui& ui_;
    OptionsForm form_;
    QTabBar* tbOptionen_ = nullptr;
    std::array<QFrame*, 4> fraOptionen_{};
    std::array<QGroupBox*, 3> colourFrames_{};  // by ColourFrame
    std::vector<QLabel*> lblFarbe_;
    QCheckBox *chkAufgeklappt_ = nullptr, *chkMeldung_ = nullptr, *chkVorschau_ = nullptr, *chkUserBild_ = nullptr;
    QCheckBox* chkZeilen_ = nullptr;
    QCheckBox* chkStandardImmer_ = nullptr;
    QCheckBox *chkEinrueck_ = nullptr, *chkRouEinruecken_ = nullptr, *chkLeer_ = nullptr, *chkRoutLeer_ = nullptr;
    QCheckBox* chkRoutinen_ = nullptr;
    QLineEdit* txtSpeichern_ = nullptr;
    QComboBox *cboSchriftArt_ = nullptr, *cboSchriftGr_ = nullptr, *cboTabStop_ = nullptr;
    QLabel* lblSchrift_ = nullptr;
};

}  // namespace lumo
