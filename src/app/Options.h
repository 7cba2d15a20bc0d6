#pragma once
// The user's options, one field per key of the settings section "optionen".
// Colours are 0x00BBGGRR values, as the stored texts have always held them.
#include <QString>

namespace lumo {

struct Options {
    qint32 fkey = 0x800000;  // keywords, dark blue
    qint32 fkom = 0x8000;    // comments, dark green
    qint32 fstr = 0x80;      // string literals, dark red
    bool rouf = true;        // routine lines bold
    bool aufk = false;       // module list expanded after reading
    bool leer = false;       // remove empty lines
    bool vor = false;        // HTML preview in the browser
    bool rer = false;        // one more tab inside routine bodies (with einr)
    bool rle = false;        // blank line before every routine
    bool meld = true;        // confirm clipboard exports
    bool einr = false;       // re-indent by block structure
    bool stapro = false;     // always save projects below proj_pf
    qint16 tab = 5;          // tab-stop distance in millimetres
    QString fontName = QStringLiteral("MS Sans Serif");
    qint16 fontSize = 10;
    bool usb = false;        // apply the user screen layout at start-up
    QString bis = QStringLiteral("max");  // "max" or left;top;width;height in twips
    QString proj_pf;         // standard project folder (the user's home folder by default)
};

}  // namespace lumo
