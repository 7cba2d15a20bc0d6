#pragma once
// The options dialog without its widgets: what every control holds, what
// a click changes, and what OK makes of it. The dialog (widgets/OptionsDialog)
// mirrors this state and asks it; tests drive it directly.
#include <array>

#include <QString>
#include <QStringList>

#include "base/Options.h"

namespace lumo {

class Ui;

// The colour frames in the order of the 48 swatches: indices 0 to 15 belong
// to the comment colour, 16 to 31 to keywords, 32 to 47 to strings.
enum class ColourFrame { Comment = 0, Keyword = 1, String = 2 };
inline constexpr int kSwatchesPerFrame = 16;
inline constexpr int kSwatchCount = 3 * kSwatchesPerFrame;

// The 16 colours (0x00BBGGRR) of each frame as they sit: the upper row
// left to right, then the lower row.
const std::array<qint32, kSwatchesPerFrame>& swatchColours();
ColourFrame frameOfSwatch(int index);
// Within its frame, a swatch's first eight indices run along the lower row,
// the next eight along the upper one (swatch 20 is the keywords' red).
bool swatchInUpperRow(int index);
int swatchColumn(int index);
qint32 colourOfSwatch(int index);

// Offered in the lists.
inline constexpr int kTabStopMin = 3, kTabStopMax = 20, kTabStopFallback = 5;
inline constexpr int kFontSizeMin = 8, kFontSizeMax = 16;
QStringList tabStopEntries();   // "3" ... "20"
QStringList fontSizeEntries();  // "8" ... "16"

struct OptionsForm {
    QString folder;  // txtSpeichern
    qint32 keyColour = 0, commentColour = 0, stringColour = 0;  // the frames' text colours
    // tab 1
    bool expandModuleTree = false, confirmClipboard = false, previewInBrowser = false, applyScreenLayout = false;
    bool showLineNumbers = false;         // tab 1
    bool saveBelowProjectFolder = false;  // tab 2
    // tab 3
    bool reindentBlocks = false, indentRoutineBodies = false, removeBlankLines = false, blankLineBeforeRoutines = false;
    bool boldRoutineLines = false;  // tab 4
    // The texts of the three drop-down lists; "" while nothing is selected.
    // The font lists stay empty until tab 4 is first shown.
    QString fontName, fontSize, tabStop;
    bool fontListsFilled = false;

    // The controls as the dialog loads them from options.
    static OptionsForm load(const Options& options);

    // "Zwischen Routinen Einrücken" can be ticked only while "Einrücken" is.
    bool rerEnabled() const { return reindentBlocks; }
    qint32& colour(ColourFrame frame);
    qint32 colour(ColourFrame frame) const { return const_cast<OptionsForm*>(this)->colour(frame); }
    // The frame the swatch belongs to takes the swatch's colour.
    void clickSwatch(int index);
    // The first showing of tab 4: the current font selected when the list
    // has it, the current size when it is 8 to 16; otherwise nothing selected.
    void fillFontLists(const QStringList& families, const Options& options);
    // Whether the sample label takes the chosen font (both texts set).
    bool sampleFont(QString& family, int& pointSize) const;

    // What OK makes of the controls: the colours, the font only where its
    // list has a text, the tab stops always, every switch, the folder.
    Options apply(const Options& before) const;
};

// OK: the folder at once into section "proj", then the options record.
void storeOptions(const Options& options);

// Options that change how code looks: rendered views must be made again.
bool lookChanged(const Options& before, const Options& after);
// Options that shape the stored text: they act at the next read.
bool textChanged(const Options& before, const Options& after);

// "Ändern ...": the chosen folder, or "" when cancelled.
QString changeStandardFolder(Ui& ui, const QString& current);
// "Neu...": a folder chosen, a name asked for, the new folder made (errors
// ignored); its path without trailing separator, or "" when cancelled.
QString makeNewFolder(Ui& ui, const QString& current);

}  // namespace lumo
