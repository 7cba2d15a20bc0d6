#pragma once
// The user's options, one field per key of the settings section "optionen";
// each comment names the key the field is stored under.
// Colours are 0x00BBGGRR values, as the stored texts have always held them.
#include <QString>

namespace lumo {

struct Options {
    qint32 keywordColour = 0x800000;          // fkey: keywords, dark blue
    qint32 commentColour = 0x8000;            // fkom: comments, dark green
    qint32 stringColour = 0x80;               // fstr: string literals, dark red
    bool boldRoutineLines = true;             // rouf: routine lines bold
    bool expandModuleTree = false;            // aufk: module list expanded after reading
    bool removeBlankLines = false;            // leer: empty lines removed
    bool previewInBrowser = false;            // vor: HTML preview in the browser
    bool indentRoutineBodies = false;         // rer: one more tab inside routine bodies (with reindentBlocks)
    bool blankLineBeforeRoutines = false;     // rle: blank line before every routine
    bool confirmClipboard = true;             // meld: confirm clipboard exports
    bool reindentBlocks = false;              // einr: re-indent by block structure
    bool saveBelowProjectFolder = false;      // stapro: always save projects below projectFolder
    qint16 tabStopMm = 5;                     // tab: tab-stop distance in millimetres
    QString fontName = QStringLiteral("MS Sans Serif");  // font (with fontSize)
    qint16 fontSize = 10;
    bool applyScreenLayout = false;           // usb: apply the user screen layout at start-up
    bool showLineNumbers = true;              // zeilen: line numbers left of the code
    QString screenLayout = QStringLiteral("max");  // bis: "max" or left;top;width;height in twips
    QString projectFolder;                    // proj_pf: standard project folder (the user's home folder by default)
    QString makerWebPage;                     // webseite: the maker's web page (http or https); "" while none is set
    QString codePage = QStringLiteral("windows-1252");  // codepage: module files and names that are no UTF-8
};

}  // namespace lumo
