#include "app/OptionsStore.h"

#include <limits>

#include "app/Settings.h"
#include "app/TextHelpers.h"

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
    colour("fkey", o.fkey);
    colour("fkom", o.fkom);
    colour("fstr", o.fstr);
    flag("einr", o.einr);
    flag("rouf", o.rouf);
    flag("vor", o.vor);
    flag("rer", o.rer);
    flag("rle", o.rle);
    if (const QString t = read("bis"); !t.isEmpty()) o.bis = t;
    flag("meld", o.meld);
    flag("usb", o.usb);
    flag("stapro", o.stapro);
    flag("aufk", o.aufk);
    flag("leer", o.leer);
    if (const QString t = read("tab"); !t.isEmpty()) o.tab = decodeInt16(t);
    if (const QString t = read("font"); !t.isEmpty()) decodeFont(t, o.fontName, o.fontSize);
}

void saveOptions(const Options& o) {
    const auto write = [](const char* key, const QString& value) { saveSetting(kSection, QString::fromLatin1(key), value); };
    write("fkey", QString::number(o.fkey));
    write("fkom", QString::number(o.fkom));
    write("fstr", QString::number(o.fstr));
    write("rouf", encodeBool(o.rouf));
    write("aufk", encodeBool(o.aufk));
    write("leer", encodeBool(o.leer));
    write("vor", encodeBool(o.vor));
    write("rer", encodeBool(o.rer));
    write("rle", encodeBool(o.rle));
    write("meld", encodeBool(o.meld));
    write("einr", encodeBool(o.einr));
    write("stapro", encodeBool(o.stapro));
    write("tab", QString::number(o.tab));
    write("font", encodeFont(o.fontName, o.fontSize));
    write("usb", encodeBool(o.usb));
}

}  // namespace lumo
