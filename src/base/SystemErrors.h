#pragma once
// System failures in German words. Messages are German from end to end: the
// C library, SQLite and Qt describe their failures in English, so a message
// that quoted them would switch language half-way and hide the cause from
// users who do not read it.
#include <QString>

namespace lumo {

// The German words for an errno value ("Zugriff verweigert", "Kein Platz
// mehr auf dem Datenträger", ...); unknown values give "Systemfehler " + number.
QString systemErrorText(int errnum);

// A failure text from the C library, SQLite or Qt with every known English
// cause replaced by its German words; text without a known cause is
// returned as it is.
QString germanSystemText(const QString& text);

}  // namespace lumo
