#include "dialogs/OptionsForm.h"

#include <QDir>

#include "acquire/BrowseForFolder.h"
#include "base/FileHelpers.h"
#include "base/OptionsStore.h"
#include "base/Settings.h"
#include "base/TextHelpers.h"
#include "base/Ui.h"

namespace lumo {
namespace {

QStringList numbers(int from, int to) {
    QStringList out;
    for (int i = from; i <= to; ++i) out << QString::number(i);
    return out;
}

qint16 leadingShort(const QString& text) { return qint16(leadingInteger(text, -32768, 32767)); }

}  // namespace

const std::array<qint32, kSwatchesPerFrame>& swatchColours() {
    static const std::array<qint32, kSwatchesPerFrame> colours = {
        0xFFFFFF, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0x000000};
    return colours;
}

ColourFrame frameOfSwatch(int index) { return ColourFrame(index / kSwatchesPerFrame); }

bool swatchInUpperRow(int index) { return index % kSwatchesPerFrame >= 8; }
int swatchColumn(int index) { return index % 8; }

qint32 colourOfSwatch(int index) {
    return swatchColours()[size_t((swatchInUpperRow(index) ? 0 : 8) + swatchColumn(index))];
}

QStringList tabStopEntries() { return numbers(kTabStopMin, kTabStopMax); }
QStringList fontSizeEntries() { return numbers(kFontSizeMin, kFontSizeMax); }

OptionsForm OptionsForm::load(const Options& o) {
    OptionsForm f;
    f.folder = o.projectFolder;
    f.keyColour = o.keywordColour;
    f.commentColour = o.commentColour;
    f.stringColour = o.stringColour;
    f.expandModuleTree = o.expandModuleTree;
    f.confirmClipboard = o.confirmClipboard;
    f.previewInBrowser = o.previewInBrowser;
    f.applyScreenLayout = o.applyScreenLayout;
    f.showLineNumbers = o.showLineNumbers;
    f.saveBelowProjectFolder = o.saveBelowProjectFolder;
    f.reindentBlocks = o.reindentBlocks;
    f.indentRoutineBodies = o.indentRoutineBodies;
    f.removeBlankLines = o.removeBlankLines;
    f.blankLineBeforeRoutines = o.blankLineBeforeRoutines;
    f.boldRoutineLines = o.boldRoutineLines;
    const bool offered = o.tabStopMm >= kTabStopMin && o.tabStopMm <= kTabStopMax;
    f.tabStop = QString::number(offered ? o.tabStopMm : kTabStopFallback);
    return f;
}

qint32& OptionsForm::colour(ColourFrame frame) {
    switch (frame) {
        case ColourFrame::Comment: return commentColour;
        case ColourFrame::Keyword: return keyColour;
        case ColourFrame::String: break;
    }
    return stringColour;
}

void OptionsForm::clickSwatch(int index) {
    if (index < 0 || index >= kSwatchCount) return;
    colour(frameOfSwatch(index)) = colourOfSwatch(index);
}

void OptionsForm::fillFontLists(const QStringList& families, const Options& o) {
    if (fontListsFilled) return;
    fontListsFilled = true;
    fontName = families.contains(o.fontName) ? o.fontName : QString();
    fontSize = o.fontSize >= kFontSizeMin && o.fontSize <= kFontSizeMax ? QString::number(o.fontSize) : QString();
}

bool OptionsForm::sampleFont(QString& family, int& pointSize) const {
    if (fontName.isEmpty() || fontSize.isEmpty()) return false;
    family = fontName;
    pointSize = int(leadingNumber(fontSize));
    return true;
}

Options OptionsForm::apply(const Options& before) const {
    Options o = before;
    o.projectFolder = folder;
    o.keywordColour = keyColour;
    o.commentColour = commentColour;
    o.stringColour = stringColour;
    if (!fontName.isEmpty()) o.fontName = fontName;
    if (!fontSize.isEmpty()) o.fontSize = leadingShort(fontSize);
    o.tabStopMm = leadingShort(tabStop);
    o.boldRoutineLines = boldRoutineLines;
    o.expandModuleTree = expandModuleTree;
    o.confirmClipboard = confirmClipboard;
    o.saveBelowProjectFolder = saveBelowProjectFolder;
    o.removeBlankLines = removeBlankLines;
    o.reindentBlocks = reindentBlocks;
    o.previewInBrowser = previewInBrowser;
    o.applyScreenLayout = applyScreenLayout;
    o.showLineNumbers = showLineNumbers;
    o.indentRoutineBodies = indentRoutineBodies;
    o.blankLineBeforeRoutines = blankLineBeforeRoutines;
    return o;
}

void storeOptions(const Options& options) {
    saveSetting(QStringLiteral("proj"), QStringLiteral("proj_pf"), options.projectFolder);
    saveOptions(options);
}

bool lookChanged(const Options& a, const Options& b) {
    return a.keywordColour != b.keywordColour || a.commentColour != b.commentColour ||
           a.stringColour != b.stringColour || a.boldRoutineLines != b.boldRoutineLines || a.tabStopMm != b.tabStopMm ||
           a.fontName != b.fontName || a.fontSize != b.fontSize;
}

bool textChanged(const Options& a, const Options& b) {
    return a.reindentBlocks != b.reindentBlocks || a.indentRoutineBodies != b.indentRoutineBodies || a.removeBlankLines != b.removeBlankLines || a.blankLineBeforeRoutines != b.blankLineBeforeRoutines;
}

QString changeStandardFolder(Ui& ui, const QString& current) {
    return browseForFolder(ui, QStringLiteral("Bitte Standardordner für Projekte auswählen"), current);
}

QString makeNewFolder(Ui& ui, const QString& current) {
    const QString chosen = browseForFolder(
        ui, QStringLiteral("Bitte Verzeichnis auswählen,\r\nin welchem der neue Ordner erzeugt werden soll"), current);
    if (chosen.isEmpty()) return {};
    const std::optional<QString> answer =
        ui.input(QStringLiteral("Namen für neuen Ordner angeben"), QStringLiteral("Neuer Ordner"), QString());
    if (!answer) return {};
    const QString name = removeInvalidFileNameChars(answer->trimmed());
    if (name.isEmpty()) return {};
    const QString folder = withTrailingBackslash(chosen) + name;
    QDir().mkdir(folder);  // it may exist already, or not be ours to make: the text is taken all the same
    return folder;
}

}  // namespace lumo
