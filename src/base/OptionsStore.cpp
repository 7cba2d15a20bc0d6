#include "base/OptionsStore.h"

#include <limits>

#include <QRegularExpression>

#include "base/Settings.h"
#include "base/TextHelpers.h"

namespace lumo {
namespace {

const QString kSection = QStringLiteral("optionen");

qint32 decodeInt32(const QString& text) {
    return qint32(leadingInteger(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}
qint16 decodeInt16(const QString& text) {
    return qint16(leadingInteger(text, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
}

}  // namespace

QString encodeBool(bool on) { return on ? QStringLiteral("-1") : QStringLiteral("0"); }
bool decodeBool(const QString& text) { return leadingNumber(text) != 0.0; }

QString encodeFont(const QString& name, qint16 size) { return name + QLatin1Char(',') + QString::number(size); }

void decodeFont(const QString& text, QString& name, qint16& size) {
    // The name ends at the first comma, the size follows the last one.
    name = beforeFirst(text, QStringLiteral(","));
    size = decodeInt16(afterLast(text, QStringLiteral(",")));
}

QString refreshCaption(const QString& hostName) {
    return QStringLiteral("&Aktualisieren ") + hostName + QStringLiteral(" VBA Projekte");
}
QString refreshToolTip(const QString& hostName) {
    return QStringLiteral("Aktualisieren ") + hostName + QStringLiteral(" VBA Projekte (F5)");
}

void loadOptions(Options& o) {
    const auto read = [](const char* key) { return getSetting(kSection, QString::fromLatin1(key)); };
    const auto colour = [&](const char* key, qint32& field) {
        const QString t = read(key);
        if (!t.isEmpty()) field = decodeInt32(t);
    };
    const auto flag = [&](const char* key, bool& field) {
        const QString t = read(key);
        if (!t.isEmpty()) field = decodeBool(t);
    };
    colour("fkey", o.keywordColour);
    colour("fkom", o.commentColour);
    colour("fstr", o.stringColour);
    flag("einr", o.reindentBlocks);
    flag("rouf", o.boldRoutineLines);
    flag("vor", o.previewInBrowser);
    flag("rer", o.indentRoutineBodies);
    flag("rle", o.blankLineBeforeRoutines);
    if (const QString t = read("bis"); !t.isEmpty()) o.screenLayout = t;
    flag("meld", o.confirmClipboard);
    flag("usb", o.applyScreenLayout);
    flag("stapro", o.saveBelowProjectFolder);
    flag("aufk", o.expandModuleTree);
    flag("leer", o.removeBlankLines);
    flag("zeilen", o.showLineNumbers);
    if (const QString t = read("tab"); !t.isEmpty()) o.tabStopMm = decodeInt16(t);
    if (const QString t = read("font"); !t.isEmpty()) decodeFont(t, o.fontName, o.fontSize);
    if (const QString t = read("codepage"); !t.isEmpty()) o.codePage = t;
    o.makerWebPage = webPageAddress(read("webseite"));
}

QString webPageAddress(const QString& text) {
    // The address goes into the footer of pasted HTML and into the browser:
    // only a plain web address is taken, never a script or a local command.
    const QString address = text.trimmed();
    const bool web = address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
                     address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive);
    // Control and format characters included: written into a footer or shown,
    // they could hide what the address really is.
    if (!web || address.contains(QRegularExpression(QStringLiteral("[\\s\"<>`\\p{Cc}\\p{Cf}]")))) return QString();
    return address;
}

void saveOptions(const Options& o) {
    const SettingsBatch batch;
    const auto write = [](const char* key, const QString& value) { saveSetting(kSection, QString::fromLatin1(key), value); };
    write("fkey", QString::number(o.keywordColour));
    write("fkom", QString::number(o.commentColour));
    write("fstr", QString::number(o.stringColour));
    write("rouf", encodeBool(o.boldRoutineLines));
    write("aufk", encodeBool(o.expandModuleTree));
    write("leer", encodeBool(o.removeBlankLines));
    write("vor", encodeBool(o.previewInBrowser));
    write("rer", encodeBool(o.indentRoutineBodies));
    write("rle", encodeBool(o.blankLineBeforeRoutines));
    write("meld", encodeBool(o.confirmClipboard));
    write("einr", encodeBool(o.reindentBlocks));
    write("stapro", encodeBool(o.saveBelowProjectFolder));
    write("tab", QString::number(o.tabStopMm));
    write("font", encodeFont(o.fontName, o.fontSize));
    write("usb", encodeBool(o.applyScreenLayout));
    write("zeilen", encodeBool(o.showLineNumbers));
}

}  // namespace lumo
