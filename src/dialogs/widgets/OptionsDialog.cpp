#include "dialogs/widgets/OptionsDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>

#include "base/Ui.h"

namespace lumo {
namespace {

// The dialog's measures in twips (1440 to the inch).
// The form's 5100 twips of height held its title bar and borders; the
// client area gets what remains below the buttons.
constexpr int kWidth = 6456, kHeight = 4740;
constexpr int kFrameLeft = 240, kFrameTop = 600, kFrameWidth = 5835, kFrameHeight = 3315;
constexpr int kSwatchSize = 195, kSwatchLeft = 120, kSwatchStep = 240, kSwatchTops[2] = {300, 540};
constexpr int kColourFrameWidth = 2115, kColourFrameHeight = 870;

QColor colourOf(qint32 bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace

OptionsDialog::OptionsDialog(Options& options, Ui& ui, QWidget* parent)
    : QDialog(parent), options_(options), ui_(ui), form_(OptionsForm::load(options)) {
    setObjectName(QStringLiteral("frmOptionen"));
    setWindowTitle(QStringLiteral("Optionen"));
    setModal(true);
    setFixedSize(px(kWidth), py(kHeight));

    tbOptionen_ = new QTabBar(this);
    tbOptionen_->setObjectName(QStringLiteral("tbOptionen"));
    for (const char* caption : {"&Anzeige", "&Dateien", "&Code", "&Formate"}) tbOptionen_->addTab(QString::fromUtf8(caption));
    tbOptionen_->setDrawBase(false);
    place(tbOptionen_, kFrameLeft, 200, kFrameWidth, 400);
    for (int i = 0; i < 4; ++i) fraOptionen_[size_t(i)] = makeFrame(i + 1);

    // 1 Anzeige
    QFrame* f = fraOptionen_[0];
    chkAufgeklappt_ = makeCheck(f, "chkAufgeklappt", "Modulliste aufgeklappt", "Zeigt alle Einträge im linken Fenster",
                                form_.expandModuleTree);
    chkMeldung_ = makeCheck(f, "chkMeldung", "Meldung nach Clip", "Meldung nach Transport in die Zwischenablage ausgeben",
                            form_.confirmClipboard);
    chkVorschau_ = makeCheck(f, "chkVorschau", "Vorschau Html ", "", form_.previewInBrowser);
    chkUserBild_ = makeCheck(f, "chkUserBild", "Beim Start Benutzer Bildschirm Anwenden", "", form_.applyScreenLayout);
    chkZeilen_ = makeCheck(f, "chkZeilen", "Zeilennummern anzeigen",
                           "Zeigt links vom Code die Nummer jeder Zeile", form_.showLineNumbers);
    int top = 360;
    for (QCheckBox* c : {chkAufgeklappt_, chkMeldung_, chkVorschau_, chkUserBild_, chkZeilen_}) {
        place(c, 240, top, 5200, 300);
        top += 480;
    }

    // 2 Dateien
    f = fraOptionen_[1];
    auto* folderFrame = new QGroupBox(QStringLiteral("Standard Verzeichnis"), f);
    folderFrame->setObjectName(QStringLiteral("fraStandartProjektVerzeichnis"));
    place(folderFrame, 120, 240, 5595, 2040);
    txtSpeichern_ = new QLineEdit(form_.folder, folderFrame);
    txtSpeichern_->setObjectName(QStringLiteral("txtSpeichern"));
    place(txtSpeichern_, 180, 420, 5235, 315);
    auto* change = new QPushButton(QStringLiteral("Ändern ..."), folderFrame);
    change->setObjectName(QStringLiteral("cmdSpeichernÄndern"));
    place(change, 180, 900, 1455, 375);
    auto* make = new QPushButton(QStringLiteral("Neu..."), folderFrame);
    make->setObjectName(QStringLiteral("cmdNeu"));
    make->setToolTip(QStringLiteral("Neuen Ordner anlegen"));
    place(make, 1755, 900, 1455, 375);
    chkStandardImmer_ = makeCheck(folderFrame, "chkStandardImmer", "Immer benutzen", "", form_.saveBelowProjectFolder);
    place(chkStandardImmer_, 180, 1500, 3000, 300);
    connect(change, &QPushButton::clicked, this, [this] {
        const QString folder = changeStandardFolder(ui_, txtSpeichern_->text());
        if (!folder.isEmpty()) txtSpeichern_->setText(folder);
    });
    connect(make, &QPushButton::clicked, this, [this] {
        const QString folder = makeNewFolder(ui_, txtSpeichern_->text());
        if (!folder.isEmpty()) txtSpeichern_->setText(folder);
    });

    // 3 Code
    f = fraOptionen_[2];
    chkEinrueck_ = makeCheck(f, "chkEinrueck", "Einrücken", "", form_.reindentBlocks);
    chkRouEinruecken_ = makeCheck(f, "chkRouEinruecken", "Zwischen Routinen Einrücken", "", form_.indentRoutineBodies);
    chkLeer_ = makeCheck(f, "chkLeer", "Leerzeilen entfernen", "", form_.removeBlankLines);
    chkRoutLeer_ = makeCheck(f, "chkRoutLeer", "Leerzeile vor Routinen einfügen", "", form_.blankLineBeforeRoutines);
    place(chkEinrueck_, 240, 360, 5200, 300);
    place(chkRouEinruecken_, 600, 840, 4840, 300);
    place(chkLeer_, 240, 1320, 5200, 300);
    place(chkRoutLeer_, 240, 1800, 5200, 300);
    chkRouEinruecken_->setEnabled(form_.rerEnabled());
    connect(chkEinrueck_, &QCheckBox::clicked, this, [this](bool on) {
        form_.reindentBlocks = on;
        chkRouEinruecken_->setEnabled(form_.rerEnabled());
    });

    // 4 Formate
    f = fraOptionen_[3];
    colourFrames_[size_t(ColourFrame::Keyword)] =
        makeColourFrame(f, "fraKeyfarbe", "Schlüsselwortfarbe", ColourFrame::Keyword, 120);
    colourFrames_[size_t(ColourFrame::Comment)] =
        makeColourFrame(f, "fraKomFarbe", "Kommentarfarbe", ColourFrame::Comment, 1140);
    colourFrames_[size_t(ColourFrame::String)] =
        makeColourFrame(f, "fraStringFarbe", "Stringfarbe", ColourFrame::String, 2160);
    showFrameColours();
    chkRoutinen_ = makeCheck(f, "chkRoutinen", "Routinen Fett", "Die erste Zeile einer Routine kursiv ", form_.boldRoutineLines);
    place(chkRoutinen_, 2460, 180, 3200, 300);
    cboSchriftArt_ = new QComboBox(f);
    cboSchriftArt_->setObjectName(QStringLiteral("cboSchriftArt"));
    place(cboSchriftArt_, 2460, 660, 2280, 330);
    cboSchriftGr_ = new QComboBox(f);
    cboSchriftGr_->setObjectName(QStringLiteral("cboSchriftGr"));
    place(cboSchriftGr_, 4860, 660, 840, 330);
    lblSchrift_ = new QLabel(QStringLiteral("Standardschrift Normal"), f);
    lblSchrift_->setObjectName(QStringLiteral("lblSchrift"));
    lblSchrift_->setFrameShape(QFrame::StyledPanel);
    lblSchrift_->setFrameShadow(QFrame::Sunken);
    lblSchrift_->setAlignment(Qt::AlignCenter);
    place(lblSchrift_, 2460, 1200, 3240, 1080);
    auto* tabLabel = new QLabel(QStringLiteral("Tabstops in mm"), f);
    tabLabel->setObjectName(QStringLiteral("lblTabStop"));
    place(tabLabel, 2460, 2640, 1800, 300);
    cboTabStop_ = new QComboBox(f);
    cboTabStop_->setObjectName(QStringLiteral("cboTabStop"));
    cboTabStop_->addItems(tabStopEntries());
    cboTabStop_->setCurrentText(form_.tabStop);
    place(cboTabStop_, 4380, 2600, 840, 330);
    connect(cboSchriftArt_, &QComboBox::activated, this, [this] { fontChosen(); });
    connect(cboSchriftGr_, &QComboBox::activated, this, [this] { fontChosen(); });

    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setDefault(true);
    place(okButton, 3360, 4140, 1275, 400);
    auto* cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancelButton->setObjectName(QStringLiteral("cmdEscape"));
    place(cancelButton, 4800, 4140, 1275, 400);
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::ok);
    connect(cancelButton, &QPushButton::clicked, this, &OptionsDialog::cancel);

    connect(tbOptionen_, &QTabBar::currentChanged, this, [this](int i) { showTab(i + 1); });
    showTab(1);
}

int OptionsDialog::px(int twips) const { return qRound(twips * logicalDpiX() / 1440.0); }
int OptionsDialog::py(int twips) const { return qRound(twips * logicalDpiY() / 1440.0); }

void OptionsDialog::place(QWidget* w, int left, int top, int width, int height) const {
    // A control is never smaller than its text needs at the screen's font.
    const int h = std::max(py(height), w->sizeHint().height());
    w->setGeometry(px(left), py(top), px(width), h);
}

QFrame* OptionsDialog::makeFrame(int index) {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraOptionen"));
    frame->setProperty("index", index);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setGeometry(px(kFrameLeft), py(kFrameTop), px(kFrameWidth), py(kFrameHeight));
    frame->hide();
    return frame;
}

QCheckBox* OptionsDialog::makeCheck(QWidget* parent, const char* name, const char* caption, const char* tip, bool on) {
    auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
    c->setObjectName(QString::fromUtf8(name));
    if (*tip) c->setToolTip(QString::fromUtf8(tip));
    c->setChecked(on);
    return c;
}

QGroupBox* OptionsDialog::makeColourFrame(QWidget* parent, const char* name, const char* caption, ColourFrame which,
                                          int top) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), parent);
    frame->setObjectName(QString::fromUtf8(name));
    place(frame, 120, top, kColourFrameWidth, kColourFrameHeight);
    if (lblFarbe_.empty()) lblFarbe_.resize(kSwatchCount, nullptr);
    for (int k = 0; k < kSwatchesPerFrame; ++k) {
        const int index = int(which) * kSwatchesPerFrame + k;
        auto* swatch = new QLabel(frame);
        swatch->setObjectName(QStringLiteral("lblFarbe"));
        swatch->setProperty("index", index);
        swatch->setFrameShape(QFrame::Box);
        swatch->setAutoFillBackground(true);
        QPalette pal = swatch->palette();
        pal.setColor(QPalette::Window, colourOf(colourOfSwatch(index)));
        swatch->setPalette(pal);
        swatch->setGeometry(px(kSwatchLeft + kSwatchStep * swatchColumn(index)),
                            py(kSwatchTops[swatchInUpperRow(index) ? 0 : 1]), px(kSwatchSize), py(kSwatchSize));
        swatch->setCursor(Qt::PointingHandCursor);
        swatch->installEventFilter(this);
        lblFarbe_[size_t(index)] = swatch;
    }
    return frame;
}

void OptionsDialog::showFrameColours() {
    for (ColourFrame which : {ColourFrame::Comment, ColourFrame::Keyword, ColourFrame::String}) {
        QGroupBox* frame = colourFrames_[size_t(which)];
        if (!frame) continue;
        const QColor c = colourOf(form_.colour(which));
        QPalette pal = frame->palette();
        pal.setColor(QPalette::WindowText, c);
        frame->setPalette(pal);
        frame->setProperty("colour", form_.colour(which));
        // The swatches keep their own look.
        for (QLabel* s : frame->findChildren<QLabel*>()) {
            QPalette sp = s->palette();
            sp.setColor(QPalette::WindowText, Qt::black);
            s->setPalette(sp);
        }
    }
}

qint32 OptionsDialog::frameColour(ColourFrame frame) const { return form_.colour(frame); }

void OptionsDialog::clickSwatch(int index) {
    form_.clickSwatch(index);
    showFrameColours();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QVariant index = watched->property("index");
        if (watched->objectName() == QLatin1String("lblFarbe") && index.isValid()) {
            clickSwatch(index.toInt());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OptionsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    showTab(shownTab());
}

int OptionsDialog::shownTab() const { return tbOptionen_->currentIndex() + 1; }

void OptionsDialog::showTab(int index) {
    if (index < 1 || index > 4) return;
    if (tbOptionen_->currentIndex() != index - 1) {
        tbOptionen_->setCurrentIndex(index - 1);  // comes back here through currentChanged
        return;
    }
    for (QFrame* f : fraOptionen_) f->hide();
    fraOptionen_[size_t(index - 1)]->show();
    if (index == 4 && !form_.fontListsFilled) {
        form_.fillFontLists(QFontDatabase::families(), options_);
        cboSchriftArt_->addItems(QFontDatabase::families());
        cboSchriftGr_->addItems(fontSizeEntries());
        cboSchriftArt_->setCurrentIndex(cboSchriftArt_->findText(form_.fontName, Qt::MatchExactly));
        cboSchriftGr_->setCurrentIndex(cboSchriftGr_->findText(form_.fontSize, Qt::MatchExactly));
        fontChosen();
    }
}

void OptionsDialog::fontChosen() {
    form_.fontName = cboSchriftArt_->currentText();
    form_.fontSize = cboSchriftGr_->currentText();
    QString family;
    int size = 0;
    if (!form_.sampleFont(family, size)) return;
    QFont font(family);
    if (size > 0) font.setPointSize(size);
    lblSchrift_->setFont(font);
}

void OptionsDialog::collect() {
    form_.folder = txtSpeichern_->text();
    form_.expandModuleTree = chkAufgeklappt_->isChecked();
    form_.confirmClipboard = chkMeldung_->isChecked();
    form_.previewInBrowser = chkVorschau_->isChecked();
    form_.applyScreenLayout = chkUserBild_->isChecked();
    form_.showLineNumbers = chkZeilen_->isChecked();
    form_.saveBelowProjectFolder = chkStandardImmer_->isChecked();
    form_.reindentBlocks = chkEinrueck_->isChecked();
    form_.indentRoutineBodies = chkRouEinruecken_->isChecked();
    form_.removeBlankLines = chkLeer_->isChecked();
    form_.blankLineBeforeRoutines = chkRoutLeer_->isChecked();
    form_.boldRoutineLines = chkRoutinen_->isChecked();
    form_.fontName = cboSchriftArt_->currentText();
    form_.fontSize = cboSchriftGr_->currentText();
    form_.tabStop = cboTabStop_->currentText();
}

void OptionsDialog::ok() {
    collect();
    options_ = form_.apply(options_);
    storeOptions(options_);
    accept();
}

void OptionsDialog::cancel() { reject(); }

}  // namespace lumo
