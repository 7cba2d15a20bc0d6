#pragma once
// The tables of the security triage: the routines Office runs by itself,
// the calls that reach outside the document, and what text in a string
// looks encoded or like an address. Each reads like the list it is.
#include <QString>
#include <QStringView>

namespace lumo {

// A routine of this name runs without being called: when the document
// opens, closes, is made from its template, or a control draws itself.
bool isEntryPoint(QStringView routineName);
// When it runs, in German ("beim Öffnen des Dokuments").
QString entryPointWhen(QStringView routineName);

// A prefix of an event procedure that VBA itself calls (Class_, UserForm_,
// Workbook_, ...), folded.
bool isEventObject(const QString& foldedPrefix);

struct OutsideCall {
    const char* name;
    bool member;      // called on an object (x.Name), not as a function
    bool takesClass;  // CreateObject / GetObject: the class name follows
    const char* what; // German
};
// The call of that name (member: after a "."), nullptr when it reaches nothing outside.
const OutsideCall* outsideCall(QStringView name, bool member);

// "Base64" or "Hexadezimalzahlen" when a string literal looks like encoded
// data, "" otherwise.
QString encodedText(const QString& literal);
// The first URL, IP address or program file named in a string literal, "" for none.
QString addressIn(const QString& literal);

}  // namespace lumo
