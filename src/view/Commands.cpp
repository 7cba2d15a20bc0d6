#include "view/Commands.h"

#include "base/StatusPanel.h"

namespace lumo {

namespace {

using C = Command;
using P = MenuPlace;

// The menu bar in its order, then the pop-ups and their submenus.
constexpr MenuDef kMenus[] = {
    {"mnuDatei", "&Datei", P::Bar, "", C::None, false},
    {"mnuBearbeiten", "&Bearbeiten", P::Bar, "", C::None, false},
    {"mnuAnsicht", "&Ansicht", P::Bar, "", C::None, false},
    {"mnuExtras", "&Extras", P::Bar, "", C::None, false},
    {"mnuRtf", "RTF", P::Bar, "", C::RtfMenu, false},
    {"mnuTest", "Tests", P::Bar, "", C::None, true},
    {"mnuHtml", "HTML", P::Bar, "", C::None, false},
    {"mnuText", "&Nur-Text", P::Bar, "", C::TextMenu, false},
    {"mnuHilfe", "&?", P::Bar, "", C::None, false},
    {"mnuPopUpHaupt", "", P::Popup, "", C::None, false},
    {"mnuPopUp_Zoom", "", P::Popup, "", C::None, false},
    {"mnuPopUpEinlesen", "", P::Popup, "", C::None, false},
    // Export submenus of the code view's pop-up
    {"mnuPopUpHaupt_Html", "&HTML", P::Submenu, "mnuPopUpHaupt", C::None, false},
    {"mnuPopUpHaupt_Copy", "&Kopieren", P::Submenu, "mnuPopUpHaupt", C::None, false},
};

// Menu items in their order within each menu.
constexpr MenuItemDef kItems[] = {
    // &Datei
    {"mnuDatei", "mnuDokument", "&Dokument öffnen ...", "Ctrl+D", C::OpenDocument, 0, -1},
    {"mnuDatei", "mnuModulordner", "&Modulordner öffnen ...", "", C::OpenModuleFolder, 0, -1},
    {"mnuDatei", "mnuÖffnen", "&Öffnen ...", "Ctrl+O", C::OpenProject, 0, -1},
    {"mnuDatei", "mnuNeu", "&Neu", "Ctrl+N", C::New, 0, -1},
    {"mnuDatei", "mnuSpeichern", "&Speichern Unter ...", "Ctrl+S", C::SaveProject, 0, -1},
    {"mnuDatei", "mnuVergleichen", "&Vergleichen mit ...", "", C::CompareWith, kSeparatorBefore, -1},
    {"mnuDatei", "mnuEnde", "&Beenden", "", C::Quit, kSeparatorBefore, -1},
    // the recent projects, shown as they are filled
    {"mnuDatei", "mnuOpenIndex", "&0 - ", "", C::OpenRecent, kHidden | kSeparatorBefore, 0},
    {"mnuDatei", "mnuOpenIndex", "&1 - ", "", C::OpenRecent, kHidden, 1},
    {"mnuDatei", "mnuOpenIndex", "&2 - ", "", C::OpenRecent, kHidden, 2},
    {"mnuDatei", "mnuOpenIndex", "&3 - ", "", C::OpenRecent, kHidden, 3},
    {"mnuDatei", "mnuOpenIndex", "&4 - ", "", C::OpenRecent, kHidden, 4},
    {"mnuDatei", "mnuOpenIndex", "&5 - ", "", C::OpenRecent, kHidden, 5},
    {"mnuDatei", "mnuOpenIndex", "&6 - ", "", C::OpenRecent, kHidden, 6},
    {"mnuDatei", "mnuOpenIndex", "&7 - ", "", C::OpenRecent, kHidden, 7},
    {"mnuDatei", "mnuOpenIndex", "&8 - ", "", C::OpenRecent, kHidden, 8},
    {"mnuDatei", "mnuOpenIndex", "&9 - ", "", C::OpenRecent, kHidden, 9},
    // &Bearbeiten
    {"mnuBearbeiten", "mnuBearbeiten_Code", "&Code Einlesen", "F2", C::ReadCode, 0, -1},
    // -- navigation and search
    {"mnuBearbeiten", "mnuBearbeiten_Suchen", "&Suchen", "F3", C::Search, kSeparatorBefore, -1},
    {"mnuBearbeiten", "mnuBearbeiten_SuchenWeiter", "Suchen ab P&osition", "Ctrl+F3", C::SearchFromPosition, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Fundstellen", "Alle &Fundstellen", "Ctrl+Shift+F", C::AllHits, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Suchen_Projekt", "&Projektsuche An/Aus", "", C::ToggleProjectSearch, kCheckable, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Suchen_GanzWort", "&Ganzes Wort Suche An/Aus", "", C::ToggleWholeWord, kCheckable, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Suchen_Auswahl", "&Auswahl nach Suche", "Ctrl+F", C::SelectionToSearch, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Rout", "Aktuelle &Routine Aufrufe", "Ctrl+F8", C::Callers, kSeparatorBefore, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Definition", "&Definition", "F8", C::Definition, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Verweise", "Alle &Verweise", "Shift+F8", C::AllReferences, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_RouBew", "Routine &Zurück", "F4", C::RoutineBack, 0, PanelBack},
    {"mnuBearbeiten", "mnuBearbeiten_RouBew", "Routine &Vor", "Ctrl+F4", C::RoutineNext, 0, PanelNext},
    // --
    // &Bearbeiten: copies
    {"mnuBearbeiten", "mnuBearbeiten_Kopieren_Modul", "Kopieren &Modul", "", C::CopyModule, kSeparatorBefore, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Kopieren_Auswahl", "&Kopieren Auswahl", "", C::CopySelection, 0, -1},
    // &Ansicht
    {"mnuAnsicht", "mnuAnsicht_App_Aktualisieren", "&Aktualisieren VBA Projekte", "F5", C::Refresh, 0, -1},
    {"mnuAnsicht", "mnuAnsicht_Zoom", "&Zoom", "", C::Zoom, kCheckable, -1},
    {"mnuAnsicht", "mnuAnsicht_RouClose", "&Routinensuche schliessen", "", C::CloseCallers, 0, -1},
    {"mnuAnsicht", "mnuAnsicht_Spezial", "&Spezialansicht", "F9", C::CompactWindow, 0, -1},
    {"mnuAnsicht", "mnuVB", "&VB Einlesen", "", C::None, kHidden, -1},
    // &Extras
    {"mnuExtras", "mnuExtras_Struktur", "&Struktur nach Zwischenablage", "", C::Structure, 0, -1},
    {"mnuExtras", "mnuExtras_StrukturLang", "Struktur &ausführlich nach Zwischenablage", "", C::StructureLong, 0, -1},
    {"mnuExtras", "mnuExtras_Pruefen", "&Prüfen", "Ctrl+Shift+P", C::Check, 0, -1},
    {"mnuExtras", "mnuExtras_Optionen", "&Optionen", "Ctrl+E", C::Options, 0, -1},
    {"mnuExtras", "mnuExtras_Screen_define", "Benutzer Bildschirm &Festlegen", "", C::ScreenDefine, 0, -1},
    {"mnuExtras", "mnuExtras_Screen_call", "&Benutzer Bildschirm Aufrufen", "", C::ScreenCall, 0, -1},
    {"mnuExtras", "mnuExtras_ClearClip", "&Zwischenablage Leeren", "Ctrl+Q", C::ClearClipboard, kSeparatorBefore, -1},
    // RTF, HTML, &Nur-Text
    {"mnuRtf", "mnuRtf_Projekt", "&Projekt", "", C::RtfProject, 0, -1},
    {"mnuRtf", "mnuRtf_Modul", "&Modul", "", C::RtfModule, 0, -1},
    {"mnuHtml", "mnuHtml_Clipboard", "&Zwischenablage", "", C::HtmlClipboard, 0, -1},
    {"mnuHtml", "mnuHtml_Auswahl", "&Auswahl", "", C::HtmlSelection, 0, -1},
    {"mnuHtml", "mnuHtml_Modul", "&Modul", "", C::HtmlModule, 0, -1},
    {"mnuHtml", "mnuHtml_projekt", "&Projekt", "", C::HtmlProject, 0, -1},
    {"mnuHtml", "mnuHtml_Website", "&Website erstellen ...", "", C::Website, kSeparatorBefore, -1},
    {"mnuText", "mnuText_Auswahl", "&Auswahl", "", C::TextSelection, 0, -1},
    {"mnuText", "mnuText_Modul", "&Modul", "", C::TextModule, 0, -1},
    // &?
    {"mnuHilfe", "mnuHilfe_Hilfe", "&Hilfe", "F1", C::Help, 0, -1},
    {"mnuHilfe", "mnuHilfe_Info", "&Info", "", C::About, 0, -1},
    // Pop-ups: the exports first
    {"mnuPopUpHaupt_Html", "mnuPopUpHaupt_Html_Index", "&Zwischenablage", "", C::HtmlClipboard, 0, 0},
    {"mnuPopUpHaupt_Html", "mnuPopUpHaupt_Html_Index", "&Auswahl", "", C::HtmlSelection, 0, 1},
    {"mnuPopUpHaupt_Html", "mnuPopUpHaupt_Html_Index", "&Modul", "", C::HtmlModule, 0, 2},
    {"mnuPopUpHaupt_Html", "mnuPopUpHaupt_Html_Index", "&Projekt", "", C::HtmlProject, 0, 3},
    {"mnuPopUpHaupt_Copy", "mnuPopUpHaupt_Copy_Modul", "&Modul", "", C::CopyModule, 0, -1},
    {"mnuPopUpHaupt_Copy", "mnuPopUpHaupt_Copy_Auswahl", "&Auswahl", "", C::CopySelection, 0, -1},
    {"mnuPopUp_Zoom", "mnuPopUp_Zoom_Html", "Zoom nach &Html", "", C::ZoomToHtml, 0, -1},
    {"mnuPopUp_Zoom", "mnuPopUp_Zoom_Copy", "&Zoom Kopieren", "", C::ZoomCopy, 0, -1},
    {"mnuPopUpEinlesen", "mnuPopUpEinlesen_Clip", "&HTML Zwischenablage", "", C::HtmlClipboard, 0, -1},
    // Pop-ups
    {"mnuPopUpHaupt", "mnuPopUpHaupt_Definition", "Definition", "", C::Definition, 0, -1},
    {"mnuPopUpHaupt", "mnuPopUpHaupt_Aufruf", "Aufruf", "", C::Callers, 0, -1},
    {"mnuPopUpHaupt", "mnuPopUpHaupt_Verweise", "Alle Verweise", "", C::AllReferences, 0, -1},
    {"mnuPopUpHaupt", "mnuPopUpHaupt_Zoom", "&Zoom", "", C::Zoom, 0, -1},
    {"mnuPopUp_Zoom", "mnuPopUp_Zoom_Aus", "&Zoom Aus", "", C::Zoom, 0, -1},
    {"mnuPopUpEinlesen", "mnuPopUpEinlesen_Code", "&Code Einlesen", "", C::ReadCode, 0, -1},
};

// Toolbar tobSymb1, buttons in order.
constexpr ToolButtonDef kToolButtons[] = {
    {"neu", "Neu", C::New, 0},
    {"open", "Öffnen", C::OpenProject, 0},
    {"save", "Speichern", C::SaveProject, 0},
    {"refresh", "Aktualisieren Excel Projekte (F5)", C::Refresh, 0},
    {"doit", "Code Lesen", C::ReadCode, 0},
    {"blind", "", C::None, 0},
    {"ht_clip", "Zwischenablage nach HTML", C::HtmlClipboard, kSeparatorBefore},
    {"ht_aus", "Auswahl nach HTML", C::HtmlSelection, 0},
    {"ht_mod", "Modul nach HTML", C::HtmlModule, 0},
    {"ht_pro", "Projekt nach HTML", C::HtmlProject, 0},
    // The search box stands before "su_a".
    {"su_a", "Suchen (F3)", C::Search, kSeparatorBefore},
    {"su_w", "Suchen ab Position(STRG+F3)", C::SearchFromPosition, 0},
    {"su_p", "Projektweite Suche Ein/Aus", C::ToggleProjectSearch, kCheckable},
    {"su_g", "Ganzes Wort Ein/Aus", C::ToggleWholeWord, kCheckable},
    {"su_i", "Markierten Text in's Suchfenster", C::SelectionToSearch, 0},
    {"zoom", "Zoom", C::Zoom, kCheckable | kSeparatorBefore},
};

// Enabled in the states 1 and 2, and in state 0.
constexpr CommandStateDef kStates[] = {
    {C::ReadCode, false, true},
    {C::New, true, false},
    {C::Refresh, false, true},
    {C::Zoom, true, false},
    {C::SaveProject, true, false},
    {C::Definition, true, false},
    {C::Callers, true, false},
    {C::AllReferences, true, false},
    {C::AllHits, true, false},
    {C::StructureLong, true, false},
    {C::Check, true, false},
    // Exports
    {C::RtfMenu, true, false},
    {C::TextMenu, true, false},
    {C::HtmlSelection, true, false},
    {C::HtmlModule, true, false},
    {C::HtmlProject, true, false},
    {C::Website, true, false},
    {C::CompareWith, true, false},
    {C::CopySelection, true, false},
    {C::CopyModule, true, false},
};

}  // namespace

std::span<const MenuDef> menuTable() { return kMenus; }
std::span<const MenuItemDef> menuItemTable() { return kItems; }
std::span<const ToolButtonDef> toolButtonTable() { return kToolButtons; }
std::span<const CommandStateDef> commandStateTable() { return kStates; }

bool enabledInState(Command command, CommandState state, bool* listed) {
    for (const CommandStateDef& s : kStates) {
        if (s.command != command) continue;
        if (listed) *listed = true;
        return state == CommandState::NothingShown ? s.enabledWhenEmpty : s.enabledWhenShown;
    }
    if (listed) *listed = false;
    return true;
}

}  // namespace lumo
