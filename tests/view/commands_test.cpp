// The command tables against the menus, pop-ups, toolbar and command states
// as the users' documentation lists them: every row that exists must carry
// exactly the listed caption, shortcut, tooltip and state.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "view/Commands.h"

using namespace lumo;

namespace {

struct Expected {
    const char* menu;
    const char* caption;
    const char* shortcut;
};

// Object name -> menu, caption, shortcut. Items of our own (beyond the
// original window) are listed too, so that none slips in unchecked.
const std::map<std::string, Expected>& expectedItems() {
    static const std::map<std::string, Expected> m = {
        {"mnuÖffnen", {"mnuDatei", "&Öffnen ...", "Ctrl+O"}},
        {"mnuNeu", {"mnuDatei", "&Neu", "Ctrl+N"}},
        {"mnuSpeichern", {"mnuDatei", "&Speichern Unter ...", "Ctrl+S"}},
        {"mnuEnde", {"mnuDatei", "&Beenden", ""}},
        {"mnuDokument", {"mnuDatei", "&Dokument öffnen ...", "Ctrl+D"}},
        {"mnuModulordner", {"mnuDatei", "&Modulordner öffnen ...", ""}},
        {"mnuBearbeiten_Code", {"mnuBearbeiten", "&Code Einlesen", "F2"}},
        {"mnuBearbeiten_Suchen", {"mnuBearbeiten", "&Suchen", "F3"}},
        {"mnuBearbeiten_SuchenWeiter", {"mnuBearbeiten", "Suchen ab P&osition", "Ctrl+F3"}},
        {"mnuBearbeiten_Fundstellen", {"mnuBearbeiten", "Alle &Fundstellen", "Ctrl+Shift+F"}},
        {"mnuBearbeiten_Suchen_Projekt", {"mnuBearbeiten", "&Projektsuche An/Aus", ""}},
        {"mnuBearbeiten_Suchen_GanzWort", {"mnuBearbeiten", "&Ganzes Wort Suche An/Aus", ""}},
        {"mnuBearbeiten_Suchen_Auswahl", {"mnuBearbeiten", "&Auswahl nach Suche", "Ctrl+F"}},
        {"mnuBearbeiten_Rout", {"mnuBearbeiten", "Aktuelle &Routine Aufrufe", "Ctrl+F8"}},
        {"mnuBearbeiten_Definition", {"mnuBearbeiten", "&Definition", "F8"}},
        {"mnuBearbeiten_Kopieren_Modul", {"mnuBearbeiten", "Kopieren &Modul", ""}},
        {"mnuBearbeiten_Kopieren_Auswahl", {"mnuBearbeiten", "&Kopieren Auswahl", ""}},
        {"mnuAnsicht_App_Aktualisieren", {"mnuAnsicht", "&Aktualisieren VBA Projekte", "F5"}},
        {"mnuAnsicht_Zoom", {"mnuAnsicht", "&Zoom", ""}},
        {"mnuAnsicht_RouClose", {"mnuAnsicht", "&Routinensuche schliessen", ""}},
        {"mnuAnsicht_Spezial", {"mnuAnsicht", "&Spezialansicht", "F9"}},
        {"mnuVB", {"mnuAnsicht", "&VB Einlesen", ""}},
        {"mnuExtras_Struktur", {"mnuExtras", "&Struktur nach Zwischenablage", ""}},
        {"mnuExtras_StrukturLang", {"mnuExtras", "Struktur &ausführlich nach Zwischenablage", ""}},
        {"mnuExtras_Pruefen", {"mnuExtras", "&Prüfen", "Ctrl+Shift+P"}},
        {"mnuExtras_Optionen", {"mnuExtras", "&Optionen", "Ctrl+E"}},
        {"mnuExtras_Screen_define", {"mnuExtras", "Benutzer Bildschirm &Festlegen", ""}},
        {"mnuExtras_Screen_call", {"mnuExtras", "&Benutzer Bildschirm Aufrufen", ""}},
        {"mnuExtras_ClearClip", {"mnuExtras", "&Zwischenablage Leeren", "Ctrl+Q"}},
        {"mnuRtf_Projekt", {"mnuRtf", "&Projekt", ""}},
        {"mnuRtf_Modul", {"mnuRtf", "&Modul", ""}},
        {"mnuHtml_Clipboard", {"mnuHtml", "&Zwischenablage", ""}},
        {"mnuHtml_Auswahl", {"mnuHtml", "&Auswahl", ""}},
        {"mnuHtml_Modul", {"mnuHtml", "&Modul", ""}},
        {"mnuHtml_projekt", {"mnuHtml", "&Projekt", ""}},
        {"mnuHtml_Website", {"mnuHtml", "&Website erstellen ...", ""}},
        {"mnuVergleichen", {"mnuDatei", "&Vergleichen mit ...", ""}},
        {"mnuText_Auswahl", {"mnuText", "&Auswahl", ""}},
        {"mnuText_Modul", {"mnuText", "&Modul", ""}},
        {"mnuHilfe_Hilfe", {"mnuHilfe", "&Hilfe", "F1"}},
        {"mnuHilfe_Info", {"mnuHilfe", "&Info", ""}},
        {"mnuPopUpHaupt_Copy_Modul", {"mnuPopUpHaupt_Copy", "&Modul", ""}},
        {"mnuPopUpHaupt_Copy_Auswahl", {"mnuPopUpHaupt_Copy", "&Auswahl", ""}},
        {"mnuPopUpHaupt_Definition", {"mnuPopUpHaupt", "Definition", ""}},
        {"mnuPopUpHaupt_Aufruf", {"mnuPopUpHaupt", "Aufruf", ""}},
        {"mnuBearbeiten_Verweise", {"mnuBearbeiten", "Alle &Verweise", "Shift+F8"}},
        {"mnuPopUpHaupt_Verweise", {"mnuPopUpHaupt", "Alle Verweise", ""}},
        {"mnuPopUpHaupt_Zoom", {"mnuPopUpHaupt", "&Zoom", ""}},
        {"mnuPopUp_Zoom_Html", {"mnuPopUp_Zoom", "Zoom nach &Html", ""}},
        {"mnuPopUp_Zoom_Copy", {"mnuPopUp_Zoom", "&Zoom Kopieren", ""}},
        {"mnuPopUp_Zoom_Aus", {"mnuPopUp_Zoom", "&Zoom Aus", ""}},
        {"mnuPopUpEinlesen_Clip", {"mnuPopUpEinlesen", "&HTML Zwischenablage", ""}},
        {"mnuPopUpEinlesen_Code", {"mnuPopUpEinlesen", "&Code Einlesen", ""}},
    };
    return m;
}

// Indexed groups: object name -> captions by index.
const std::map<std::string, std::vector<std::string>>& expectedIndexed() {
    static const std::map<std::string, std::vector<std::string>> m = {
        {"mnuBearbeiten_RouBew", {"", "", "", "Routine &Zurück", "Routine &Vor"}},
        {"mnuPopUpHaupt_Html_Index", {"&Zwischenablage", "&Auswahl", "&Modul", "&Projekt"}},
        {"mnuOpenIndex", {"&0 - ", "&1 - ", "&2 - ", "&3 - ", "&4 - ", "&5 - ", "&6 - ", "&7 - ", "&8 - ", "&9 - "}},
    };
    return m;
}

const std::map<std::string, std::string>& expectedTooltips() {
    static const std::map<std::string, std::string> m = {
        {"neu", "Neu"},
        {"open", "Öffnen"},
        {"save", "Speichern"},
        {"refresh", "Aktualisieren Excel Projekte (F5)"},
        {"doit", "Code Lesen"},
        {"blind", ""},
        {"ht_clip", "Zwischenablage nach HTML"},
        {"ht_aus", "Auswahl nach HTML"},
        {"ht_mod", "Modul nach HTML"},
        {"ht_pro", "Projekt nach HTML"},
        {"su_a", "Suchen (F3)"},
        {"su_w", "Suchen ab Position(STRG+F3)"},
        {"su_p", "Projektweite Suche Ein/Aus"},
        {"su_g", "Ganzes Wort Ein/Aus"},
        {"su_i", "Markierten Text in's Suchfenster"},
        {"zoom", "Zoom"},
    };
    return m;
}

}  // namespace

TEST(CommandTables, MenuItemsCarryTheirCaptionsAndShortcuts) {
    std::set<std::string> menus;
    for (const MenuDef& m : menuTable()) EXPECT_TRUE(menus.insert(m.objectName).second) << m.objectName;
    std::set<std::string> seen;
    for (const MenuItemDef& item : menuItemTable()) {
        const std::string name = item.objectName;
        EXPECT_TRUE(menus.count(item.menu)) << name << " hangs in unknown menu " << item.menu;
        if (item.index >= 0) {
            const auto it = expectedIndexed().find(name);
            ASSERT_NE(it, expectedIndexed().end()) << name;
            ASSERT_LT(size_t(item.index), it->second.size()) << name;
            EXPECT_EQ(item.caption, it->second[size_t(item.index)]) << name << " " << item.index;
            EXPECT_TRUE(seen.insert(name + "#" + std::to_string(item.index)).second) << name;
            continue;
        }
        EXPECT_TRUE(seen.insert(name).second) << "twice: " << name;
        const auto it = expectedItems().find(name);
        ASSERT_NE(it, expectedItems().end()) << "unlisted item " << name;
        EXPECT_STREQ(item.menu, it->second.menu) << name;
        EXPECT_STREQ(item.caption, it->second.caption) << name;
        EXPECT_STREQ(item.shortcut, it->second.shortcut) << name;
    }
}

TEST(CommandTables, MenusAndToolbarAsListed) {
    const std::map<std::string, std::string> captions = {
        {"mnuDatei", "&Datei"}, {"mnuBearbeiten", "&Bearbeiten"}, {"mnuAnsicht", "&Ansicht"},
        {"mnuExtras", "&Extras"}, {"mnuRtf", "RTF"},           {"mnuTest", "Tests"},
        {"mnuHtml", "HTML"},     {"mnuText", "&Nur-Text"},      {"mnuHilfe", "&?"},
        {"mnuPopUpHaupt_Html", "&HTML"}, {"mnuPopUpHaupt_Copy", "&Kopieren"}};
    std::vector<std::string> bar;
    for (const MenuDef& m : menuTable()) {
        if (m.place == MenuPlace::Bar) bar.push_back(m.objectName);
        const auto it = captions.find(m.objectName);
        if (it != captions.end()) EXPECT_EQ(m.caption, it->second) << m.objectName;
    }
    EXPECT_EQ(bar, (std::vector<std::string>{"mnuDatei", "mnuBearbeiten", "mnuAnsicht", "mnuExtras", "mnuRtf",
                                             "mnuTest", "mnuHtml", "mnuText", "mnuHilfe"}));
    // Toolbar buttons keep the listed order among themselves.
    const std::vector<std::string> order = {"neu",  "open", "save", "refresh", "doit", "blind", "ht_clip", "ht_aus",
                                            "ht_mod", "ht_pro", "su_a", "su_w", "su_p", "su_g", "su_i", "zoom"};
    size_t last = 0;
    for (const ToolButtonDef& b : toolButtonTable()) {
        const auto it = expectedTooltips().find(b.key);
        ASSERT_NE(it, expectedTooltips().end()) << "unlisted button " << b.key;
        EXPECT_EQ(b.tooltip, it->second) << b.key;
        const size_t pos = size_t(std::find(order.begin(), order.end(), b.key) - order.begin());
        EXPECT_GE(pos, last) << b.key << " out of order";
        last = pos;
    }
}

TEST(CommandTables, CommandStatesAsListed) {
    // Enabled in states 1 and 2, disabled in state 0 -- or the other way round.
    const std::map<Command, bool> shownOnly = {
        {Command::Definition, true},  {Command::Callers, true},      {Command::RtfMenu, true},
        {Command::TextMenu, true},    {Command::SaveProject, true},  {Command::HtmlSelection, true},
        {Command::HtmlModule, true},  {Command::HtmlProject, true},  {Command::ReadCode, false},
        {Command::New, true},         {Command::Refresh, false},     {Command::Zoom, true},
        {Command::CopySelection, true}, {Command::CopyModule, true},  {Command::Website, true},
        {Command::AllHits, true},     {Command::CompareWith, true},     {Command::StructureLong, true},
        {Command::AllReferences, true}, {Command::Check, true},
    };
    for (const CommandStateDef& row : commandStateTable()) {
        const auto it = shownOnly.find(row.command);
        ASSERT_NE(it, shownOnly.end()) << "unlisted state row " << int(row.command);
        EXPECT_EQ(row.enabledWhenShown, it->second) << int(row.command);
        EXPECT_EQ(row.enabledWhenEmpty, !it->second) << int(row.command);
    }
    bool listed = true;
    EXPECT_TRUE(enabledInState(Command::Help, CommandState::NothingShown, &listed));
    EXPECT_FALSE(listed);
    EXPECT_FALSE(enabledInState(Command::ReadCode, CommandState::StoredProject));
    EXPECT_TRUE(enabledInState(Command::ReadCode, CommandState::NothingShown));
    // Every command of a row that works is reachable from the dispatch:
    // rows never name the placeholder of a button without a command, except "blind" and "&VB Einlesen".
    for (const MenuItemDef& item : menuItemTable())
        if (item.command == Command::None) EXPECT_STREQ(item.objectName, "mnuVB");
    for (const ToolButtonDef& b : toolButtonTable())
        if (b.command == Command::None) EXPECT_STREQ(b.key, "blind");
}

TEST(CommandTables, NoTwoItemsShareAKey) {
    std::set<std::string> keys;
    for (const MenuItemDef& item : menuItemTable())
        if (*item.shortcut) EXPECT_TRUE(keys.insert(item.shortcut).second) << item.objectName << " " << item.shortcut;
}
