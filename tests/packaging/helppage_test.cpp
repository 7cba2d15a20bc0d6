#include <gtest/gtest.h>

#include <cstring>

#include <QProcess>
#include <QRegularExpression>

#include "packaging/HelpPage.h"

using namespace lumo::test;

namespace {

struct Command {
    const char* id;
    const char* caption;
    const char* shortcut;  // as the page writes it, "" for none
};

// Every command the main window offers: its menus, pop-ups and toolbars, each
// with the caption the user sees.
const Command kCommands[] = {
    {"mnuDokument", "Dokument öffnen ...", "Strg+D"},
    {"mnuÖffnen", "Öffnen ...", "Strg+O"},
    {"mnuNeu", "Neu", "Strg+N"},
    {"mnuSpeichern", "Speichern Unter ...", "Strg+S"},
    {"mnuEnde", "Beenden", ""},
    {"mnuOpenIndex", "0 -", ""},
    {"mnuBearbeiten_Code", "Code Einlesen", "F2"},
    {"mnuBearbeiten_Suchen", "Suchen", "F3"},
    {"mnuBearbeiten_SuchenWeiter", "Suchen ab Position", "Strg+F3"},
    {"mnuBearbeiten_Suchen_Projekt", "Projektsuche An/Aus", ""},
    {"mnuBearbeiten_Suchen_GanzWort", "Ganzes Wort Suche An/Aus", ""},
    {"mnuBearbeiten_Suchen_Auswahl", "Auswahl nach Suche", "Strg+F"},
    {"mnuBearbeiten_Rout", "Aktuelle Routine Aufrufe", "Strg+F8"},
    {"mnuBearbeiten_Definition", "Definition", "F8"},
    {"mnuBearbeiten_RouBew_3", "Routine Zurück", "F4"},
    {"mnuBearbeiten_RouBew_4", "Routine Vor", "Strg+F4"},
    {"mnuBearbeiten_Kopieren_Modul", "Kopieren Modul", ""},
    {"mnuBearbeiten_Kopieren_Auswahl", "Kopieren Auswahl", ""},
    {"mnuAnsicht_App_Aktualisieren", "Aktualisieren Word VBA Projekte", "F5"},
    {"mnuAnsicht_Zoom", "Zoom", ""},
    {"mnuAnsicht_RouClose", "Routinensuche schliessen", ""},
    {"mnuAnsicht_Spezial", "Spezialansicht", "F9"},
    {"mnuExtras_Struktur", "Struktur nach Zwischenablage", ""},
    {"mnuExtras_Optionen", "Optionen", "Strg+E"},
    {"mnuExtras_Screen_define", "Benutzer Bildschirm Festlegen", ""},
    {"mnuExtras_Screen_call", "Benutzer Bildschirm Aufrufen", ""},
    {"mnuExtras_ClearClip", "Zwischenablage Leeren", "Strg+Q"},
    {"mnuRtf_Projekt", "Projekt", ""},
    {"mnuRtf_Modul", "Modul", ""},
    {"mnuHtml_Clipboard", "Zwischenablage", ""},
    {"mnuHtml_Auswahl", "Auswahl", ""},
    {"mnuHtml_Modul", "Modul", ""},
    {"mnuHtml_projekt", "Projekt", ""},
    {"mnuText_Auswahl", "Auswahl", ""},
    {"mnuText_Modul", "Modul", ""},
    {"mnuHilfe_Hilfe", "Hilfe", "F1"},
    {"mnuHilfe_Info", "Info", ""},
    {"mnuPopUpHaupt_Html", "HTML", ""},
    {"mnuPopUpHaupt_Html_Index_0", "Zwischenablage", ""},
    {"mnuPopUpHaupt_Html_Index_1", "Auswahl", ""},
    {"mnuPopUpHaupt_Html_Index_2", "Modul", ""},
    {"mnuPopUpHaupt_Html_Index_3", "Projekt", ""},
    {"mnuPopUpHaupt_Copy", "Kopieren", ""},
    {"mnuPopUpHaupt_Copy_Modul", "Modul", ""},
    {"mnuPopUpHaupt_Copy_Auswahl", "Auswahl", ""},
    {"mnuPopUpHaupt_Definition", "Definition", ""},
    {"mnuPopUpHaupt_Aufruf", "Aufruf", ""},
    {"mnuPopUpHaupt_Zoom", "Zoom", ""},
    {"mnuPopUp_Zoom_Html", "Zoom nach Html", ""},
    {"mnuPopUp_Zoom_Copy", "Zoom Kopieren", ""},
    {"mnuPopUp_Zoom_Aus", "Zoom Aus", ""},
    {"mnuPopUpEinlesen_Clip", "HTML Zwischenablage", ""},
    {"mnuPopUpEinlesen_Code", "Code Einlesen", ""},
    {"tob_neu", "Neu", ""},
    {"tob_open", "Öffnen", ""},
    {"tob_save", "Speichern", ""},
    {"tob_refresh", "Aktualisieren Word VBA Projekte (F5)", ""},
    {"tob_doit", "Code Lesen", ""},
    {"tob_ht_clip", "Zwischenablage nach HTML", ""},
    {"tob_ht_aus", "Auswahl nach HTML", ""},
    {"tob_ht_mod", "Modul nach HTML", ""},
    {"tob_ht_pro", "Projekt nach HTML", ""},
    {"tob_su_a", "Suchen (F3)", ""},
    {"tob_su_w", "Suchen ab Position(STRG+F3)", ""},
    {"tob_su_p", "Projektweite Suche Ein/Aus", ""},
    {"tob_su_g", "Ganzes Wort Ein/Aus", ""},
    {"tob_su_i", "Markierten Text in's Suchfenster", ""},
    {"tob_zoom", "Zoom", ""},
    {"tob_close", "Schliesst die Routinensuche", ""},
};

TEST(HelpPage, DescribesEveryCommandWithItsCaptionAndShortcut) {
    const QString page = helpPageSource();
    ASSERT_FALSE(page.isEmpty());
    for (const Command& c : kCommands) {
        const QString row = helpRowText(page, QString::fromUtf8(c.id));
        ASSERT_FALSE(row.isNull()) << "no row for " << c.id;
        EXPECT_TRUE(row.contains(QString::fromUtf8(c.caption))) << c.id << ": " << row.toStdString();
        if (*c.shortcut) EXPECT_TRUE(row.contains(QString::fromUtf8(c.shortcut))) << c.id << ": " << row.toStdString();
        // A row that only names the command tells the user nothing.
        EXPECT_GT(row.size(), qsizetype(std::strlen(c.caption)) + 8) << c.id;
    }
}

TEST(HelpPage, ReadsAsUtf8InABrowserAndInTheHelpWindow) {
    const QString page = helpPageSource();
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>")));
    // The declaration must come before any umlaut, in the first 1024 bytes.
    const qsizetype charset = page.indexOf(QStringLiteral("charset=utf-8"));
    ASSERT_GE(charset, 0);
    EXPECT_LT(page.left(charset).toUtf8().size(), 1024);
    EXPECT_LT(charset, page.indexOf(QStringLiteral("ö")));
    // Ids are unique, or a row check could pass on the wrong row.
    static const QRegularExpression ids(QStringLiteral("id=\"([^\"]+)\""));
    QStringList seen;
    for (auto it = ids.globalMatch(page); it.hasNext();) {
        const QString id = it.next().captured(1);
        EXPECT_FALSE(seen.contains(id)) << "id twice: " << id.toStdString();
        seen << id;
    }
    // Every link inside the page leads somewhere.
    static const QRegularExpression links(QStringLiteral("href=\"#([^\"]+)\""));
    for (auto it = links.globalMatch(page); it.hasNext();) {
        const QString target = it.next().captured(1);
        EXPECT_TRUE(seen.contains(target)) << "dangling link #" << target.toStdString();
    }
}

TEST(HelpPage, DescribesEveryVerbOfTheHeadlessEntry) {
    const QString page = helpPageSource();
    QStringList verbs = {"help", "list", "dump", "build", "rtf", "info", "callers", "definition", "export"};
    // And whatever the entry lists today.
    QProcess cli;
    cli.start(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"), {QStringLiteral("help")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    const QStringList lines = QString::fromUtf8(cli.readAllStandardOutput()).split(QLatin1Char('\n'));
    static const QRegularExpression usage(QStringLiteral("^\\s+codelumo-cli (\\S+)"));
    int listed = 0;
    for (const QString& line : lines) {
        const auto m = usage.match(line);
        if (!m.hasMatch()) continue;
        ++listed;
        if (!verbs.contains(m.captured(1))) verbs << m.captured(1);
    }
    EXPECT_GE(listed, 5);
    for (const QString& verb : verbs) {
        const QString row = helpRowText(page, QStringLiteral("cli_") + verb);
        ASSERT_FALSE(row.isNull()) << "no row for codelumo-cli " << verb.toStdString();
        EXPECT_TRUE(row.contains(QStringLiteral("codelumo-cli ") + verb)) << row.toStdString();
    }
}

}  // namespace
