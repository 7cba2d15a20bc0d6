#include "dialogs/OptionsForm.h"

#include <QDir>

#include "acquire/BrowseForFolder.h"
#include "acquire/FileHelpers.h"
#include "app/OptionsStore.h"
#include "app/Settings.h"
#include "app/TextHelpers.h"
#include "app/Ui.h"

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
    f.folder = o.proj_pf;
    f.keyColour = o.fkey;
    f.commentColour = o.fkom;
    f.stringColour = o.fstr;
    f.aufk = o.aufk;
    f.meld = o.meld;
    f.vor = o.vor;
    f.usb = o.usb;
    f.stapro = o.stapro;
    f.einr = o.einr;
    f.rer = o.rer;
    f.leer = o.leer;
    f.rle = o.rle;
    f.rouf = o.rouf;
    const bool offered = o.tab >= kTabStopMin && o.tab <= kTabStopMax;
    f.tabStop = QString::number(offered ? o.tab : kTabStopFallback);
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
    o.proj_pf = folder;
    o.fkey = keyColour;
    o.fkom = commentColour;
    o.fstr = stringColour;
    if (!fontName.isEmpty()) o.fontName = fontName;
    if (!fontSize.isEmpty()) o.fontSize = leadingShort(fontSize);
    o.tab = leadingShort(tabStop);
    o.rouf = rouf;
    o.aufk = aufk;
    o.meld = meld;
    o.stapro = stapro;
    o.leer = leer;
    o.einr = einr;
    o.vor = vor;
    o.usb = usb;
    o.rer = rer;
    o.rle = rle;
    return o;
}

void storeOptions(const Options& options) {
    saveSetting(QStringLiteral("proj"), QStringLiteral("proj_pf"), options.proj_pf);
    saveOptions(options);
}

bool lookChanged(const Options& a, const Options& b) {
    return a.fkey != b.fkey || a.fkom != b.fkom || a.fstr != b.fstr || a.rouf != b.rouf || a.tab != b.tab ||
           a.fontName != b.fontName || a.fontSize != b.fontSize;
}

bool textChanged(const Options& a, const Options& b) {
    return a.einr != b.einr || a.rer != b.rer || a.leer != b.leer || a.rle != b.rle;
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
