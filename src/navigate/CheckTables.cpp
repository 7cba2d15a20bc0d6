#include "navigate/CheckTables.h"

#include <QRegularExpression>

namespace lumo {

namespace {

struct EntryPoint {
    const char* name;  // a whole name, or a suffix when it starts with "_"
    const char* when;
};

const EntryPoint kEntryPoints[] = {
    {"AutoOpen", "beim Öffnen des Dokuments (Word)"},
    {"AutoExec", "beim Start von Word"},
    {"AutoClose", "beim Schließen des Dokuments (Word)"},
    {"AutoNew", "beim Anlegen eines Dokuments aus der Vorlage (Word)"},
    {"AutoExit", "beim Beenden von Word"},
    {"Auto_Open", "beim Öffnen der Mappe oder des Add-ins"},
    {"Auto_Close", "beim Schließen der Mappe oder des Add-ins"},
    {"Auto_Exec", "beim Start der Anwendung"},
    {"Auto_Activate", "beim Aktivieren der Mappe"},
    {"Auto_Deactivate", "beim Deaktivieren der Mappe"},
    {"Document_Open", "beim Öffnen des Dokuments"},
    {"Document_Close", "beim Schließen des Dokuments"},
    {"Document_New", "beim Anlegen eines Dokuments aus der Vorlage"},
    {"Document_ContentControlOnEnter", "beim Betreten eines Inhaltssteuerelements"},
    {"Workbook_Open", "beim Öffnen der Mappe"},
    {"Workbook_Activate", "beim Aktivieren der Mappe"},
    {"Workbook_BeforeClose", "vor dem Schließen der Mappe"},
    {"Workbook_Deactivate", "beim Deaktivieren der Mappe"},
    {"Workbook_WindowActivate", "beim Aktivieren eines Fensters der Mappe"},
    {"Presentation_Open", "beim Öffnen der Präsentation"},
    {"_Layout", "wenn das Steuerelement sich anordnet (beim Öffnen)"},
    {"_Painted", "wenn das Steuerelement gezeichnet wird (beim Öffnen)"},
    {"_Painting", "wenn das Steuerelement gezeichnet wird (beim Öffnen)"},
    {"_GotFocus", "wenn das Steuerelement den Fokus bekommt"},
};

const EntryPoint* entryPoint(QStringView name) {
    for (const EntryPoint& e : kEntryPoints) {
        const QLatin1StringView n(e.name);
        if (e.name[0] == '_' ? name.endsWith(n, Qt::CaseInsensitive) && name.size() > n.size()
                             : name.compare(n, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

const OutsideCall kOutside[] = {
    {"Shell", false, false, "startet ein Programm"},
    {"CreateObject", false, true, "legt ein Objekt einer anderen Anwendung oder Bibliothek an"},
    {"GetObject", false, true, "greift auf ein Objekt oder eine Datei außerhalb zu"},
    {"URLDownloadToFile", false, false, "lädt eine Datei aus dem Netz"},
    {"URLDownloadToFileA", false, false, "lädt eine Datei aus dem Netz"},
    {"Kill", false, false, "löscht Dateien"},
    {"FileCopy", false, false, "kopiert eine Datei"},
    {"Environ", false, false, "liest Umgebungsvariablen"},
    {"SendKeys", false, false, "sendet Tastendrücke an das aktive Fenster"},
    {"CallByName", false, false, "ruft eine Methode über ihren Namen auf"},
    {"MacScript", false, false, "führt ein AppleScript aus"},
    {"AppleScriptTask", false, false, "führt ein AppleScript aus"},
    {"ExecuteExcel4Macro", false, false, "führt ein Excel-4-Makro aus"},
    {"ShellExecute", true, false, "startet ein Programm oder öffnet eine Datei"},
    {"Exec", true, false, "startet ein Programm"},
    {"RegWrite", true, false, "schreibt in die Registry"},
    {"RegDelete", true, false, "löscht aus der Registry"},
    {"DownloadFile", true, false, "lädt eine Datei aus dem Netz"},
    {"SaveToFile", true, false, "schreibt einen Datenstrom in eine Datei"},
};

const char* const kEventObjects[] = {"class", "userform", "document", "workbook", "worksheet", "chart",
                                     "presentation", "app", "application"};

bool looksBase64(const QString& s) {
    if (s.size() < 40) return false;
    bool upper = false, lower = false, digit = false;
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 'A' && u <= 'Z') upper = true;
        else if (u >= 'a' && u <= 'z') lower = true;
        else if (u >= '0' && u <= '9') digit = true;
        else if (u != '+' && u != '/' && u != '=' && u != '-' && u != '_') return false;
    }
    return upper && lower && digit;
}

bool looksHex(const QString& s) {
    if (s.size() < 32 || s.size() % 2 != 0) return false;
    for (const QChar c : s)
        if (!c.isDigit() && !(c.toLower() >= u'a' && c.toLower() <= u'f')) return false;
    return true;
}

}  // namespace

bool isEntryPoint(QStringView routineName) { return entryPoint(routineName) != nullptr; }

QString entryPointWhen(QStringView routineName) {
    const EntryPoint* e = entryPoint(routineName);
    return e ? QString::fromUtf8(e->when) : QString();
}

bool isEventObject(const QString& foldedPrefix) {
    for (const char* o : kEventObjects)
        if (foldedPrefix == QLatin1StringView(o)) return true;
    return false;
}

const OutsideCall* outsideCall(QStringView name, bool member) {
    for (const OutsideCall& c : kOutside)
        if (c.member == member && name.compare(QLatin1StringView(c.name), Qt::CaseInsensitive) == 0) return &c;
    return nullptr;
}

QString encodedText(const QString& literal) {
    if (looksHex(literal)) return QStringLiteral("Hexadezimalzahlen");
    if (looksBase64(literal)) return QStringLiteral("Base64");
    return {};
}

QString addressIn(const QString& literal) {
    static const QRegularExpression kUrl(QStringLiteral(R"((?:https?|ftp|file)://[^\s"]+|\bwww\.[^\s"]+)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression kIp(QStringLiteral(R"(\b(?:(?:25[0-5]|2[0-4]\d|1?\d?\d)\.){3}(?:25[0-5]|2[0-4]\d|1?\d?\d)\b)"));
    static const QRegularExpression kProgram(
        QStringLiteral(R"([\w\-]+\.(?:exe|scr|bat|cmd|ps1|vbs|vbe|jse?|hta|dll|pif|msi|jar|wsf|lnk)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QRegularExpression* re : {&kUrl, &kIp, &kProgram}) {
        const QRegularExpressionMatch m = re->match(literal);
        if (m.hasMatch()) return m.captured();
    }
    return {};
}

}  // namespace lumo
