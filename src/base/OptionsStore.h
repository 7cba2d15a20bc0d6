#pragma once
// The Options record in the settings section "optionen", and the texts of
// the refresh command that loading the options sets.
#include <QString>

#include "base/Options.h"

namespace lumo {

// Reads every stored key into options; an empty or missing value leaves the field as it is.
void loadOptions(Options& options);
// Writes every key but "bis", "proj_pf", "webseite" and "codepage" (which
// only the user sets).
void saveOptions(const Options& options);

// The maker's web page as stored under "webseite": an http or https address
// without blanks, quotes or angle brackets; anything else counts as none ("").
QString webPageAddress(const QString& text);

// "&Aktualisieren Word VBA Projekte" for the menu entry, and its toolbar tooltip.
QString refreshCaption(const QString& hostName);
QString refreshToolTip(const QString& hostName);

// The stored forms of a switch and of the font.
QString encodeBool(bool on);
bool decodeBool(const QString& text);
QString encodeFont(const QString& name, qint16 size);
void decodeFont(const QString& text, QString& name, qint16& size);

}  // namespace lumo
