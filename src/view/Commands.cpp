#include "view/Commands.h"

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
};

// Menu items in their order within each menu.
constexpr MenuItemDef kItems[] = {
    // &Datei
    {"mnuDatei", "mnuDokument", "&Dokument öffnen ...", "Ctrl+D", C::OpenDocument, 0, -1},
    {"mnuDatei", "mnuNeu", "&Neu", "Ctrl+N", C::New, 0, -1},
    {"mnuDatei", "mnuEnde", "&Beenden", "", C::Quit, kSeparatorBefore, -1},
    // &Bearbeiten
    {"mnuBearbeiten", "mnuBearbeiten_Code", "&Code Einlesen", "F2", C::ReadCode, 0, -1},
    // -- navigation and search
    {"mnuBearbeiten", "mnuBearbeiten_Suchen", "&Suchen", "F3", C::Search, kSeparatorBefore, -1},
    {"mnuBearbeiten", "mnuBearbeiten_SuchenWeiter", "Suchen ab P&osition", "Ctrl+F3", C::SearchFromPosition, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Suchen_Projekt", "&Projektsuche An/Aus", "", C::ToggleProjectSearch, kCheckable, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Suchen_GanzWort", "&Ganzes Wort Suche An/Aus", "", C::ToggleWholeWord, kCheckable, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Suchen_Auswahl", "&Auswahl nach Suche", "Ctrl+F", C::SelectionToSearch, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Rout", "Aktuelle &Routine Aufrufe", "Ctrl+F8", C::Callers, kSeparatorBefore, -1},
    {"mnuBearbeiten", "mnuBearbeiten_Definition", "&Definition", "F8", C::Definition, 0, -1},
    {"mnuBearbeiten", "mnuBearbeiten_RouBew", "Routine &Zurück", "F4", C::RoutineBack, 0, 3},
    {"mnuBearbeiten", "mnuBearbeiten_RouBew", "Routine &Vor", "Ctrl+F4", C::RoutineNext, 0, 4},
    // --
    // &Ansicht
    {"mnuAnsicht", "mnuAnsicht_App_Aktualisieren", "&Aktualisieren VBA Projekte", "F5", C::Refresh, 0, -1},
    {"mnuAnsicht", "mnuAnsicht_Zoom", "&Zoom", "", C::Zoom, kCheckable, -1},
    {"mnuAnsicht", "mnuAnsicht_RouClose", "&Routinensuche schliessen", "", C::CloseCallers, 0, -1},
    {"mnuAnsicht", "mnuVB", "&VB Einlesen", "", C::None, kHidden, -1},
    // &Extras
    {"mnuExtras", "mnuExtras_Screen_define", "Benutzer Bildschirm &Festlegen", "", C::ScreenDefine, 0, -1},
    {"mnuExtras", "mnuExtras_Screen_call", "&Benutzer Bildschirm Aufrufen", "", C::ScreenCall, 0, -1},
    {"mnuExtras", "mnuExtras_ClearClip", "&Zwischenablage Leeren", "Ctrl+Q", C::ClearClipboard, kSeparatorBefore, -1},
    // &?
    {"mnuHilfe", "mnuHilfe_Hilfe", "&Hilfe", "F1", C::Help, 0, -1},
    {"mnuHilfe", "mnuHilfe_Info", "&Info", "", C::About, 0, -1},
    // Pop-ups
    {"mnuPopUpHaupt", "mnuPopUpHaupt_Definition", "Definition", "", C::Definition, 0, -1},
    {"mnuPopUpHaupt", "mnuPopUpHaupt_Aufruf", "Aufruf", "", C::Callers, 0, -1},
    {"mnuPopUpHaupt", "mnuPopUpHaupt_Zoom", "&Zoom", "", C::Zoom, 0, -1},
    {"mnuPopUp_Zoom", "mnuPopUp_Zoom_Aus", "&Zoom Aus", "", C::Zoom, 0, -1},
    {"mnuPopUpEinlesen", "mnuPopUpEinlesen_Code", "&Code Einlesen", "", C::ReadCode, 0, -1},
};

// Toolbar tobSymb1, buttons in order.
constexpr ToolButtonDef kToolButtons[] = {
    {"neu", "Neu", C::New, 0},
    {"refresh", "Aktualisieren Excel Projekte (F5)", C::Refresh, 0},
    {"doit", "Code Lesen", C::ReadCode, 0},
    {"blind", "", C::None, 0},
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
    {C::Definition, true, false},
    {C::Callers, true, false},
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
