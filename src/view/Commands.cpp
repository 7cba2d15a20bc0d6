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
    {"mnuDatei", "mnuModulordner", "&Modulordner öffnen ...", "", C::OpenModuleFolder, 0, -1},
    {"mnuDatei", "mnuNeu", "&Neu", "Ctrl+N", C::New, 0, -1},
    {"mnuDatei", "mnuEnde", "&Beenden", "", C::Quit, kSeparatorBefore, -1},
    // &Bearbeiten
    {"mnuBearbeiten", "mnuBearbeiten_Code", "&Code Einlesen", "F2", C::ReadCode, 0, -1},
    // &Ansicht
    {"mnuAnsicht", "mnuAnsicht_App_Aktualisieren", "&Aktualisieren VBA Projekte", "F5", C::Refresh, 0, -1},
    {"mnuAnsicht", "mnuAnsicht_Zoom", "&Zoom", "", C::Zoom, kCheckable, -1},
    {"mnuAnsicht", "mnuVB", "&VB Einlesen", "", C::None, kHidden, -1},
    // &Extras
    {"mnuExtras", "mnuExtras_Screen_define", "Benutzer Bildschirm &Festlegen", "", C::ScreenDefine, 0, -1},
    {"mnuExtras", "mnuExtras_Screen_call", "&Benutzer Bildschirm Aufrufen", "", C::ScreenCall, 0, -1},
    {"mnuExtras", "mnuExtras_ClearClip", "&Zwischenablage Leeren", "Ctrl+Q", C::ClearClipboard, kSeparatorBefore, -1},
    // &?
    {"mnuHilfe", "mnuHilfe_Hilfe", "&Hilfe", "F1", C::Help, 0, -1},
    {"mnuHilfe", "mnuHilfe_Info", "&Info", "", C::About, 0, -1},
    // Pop-ups
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
    {"zoom", "Zoom", C::Zoom, kCheckable | kSeparatorBefore},
};

// Enabled in the states 1 and 2, and in state 0.
constexpr CommandStateDef kStates[] = {
    {C::ReadCode, false, true},
    {C::New, true, false},
    {C::Refresh, false, true},
    {C::Zoom, true, false},
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
