#pragma once
// The window's commands as data: the menus, their items, the pop-up menus,
// the toolbar buttons and which commands each command state enables. The
// window builds itself from these tables and reaches every item through its
// Command; nothing is looked up by name at run time.
//
// A new command is one enumerator, its rows here, and one short slot in the
// window's dispatch (MainWindow::run; an export in WindowExports::run).
#include <span>

namespace lumo {

// What an item runs. Items that run the same thing but are enabled apart
// (the menu's "&Neu" and the refresh item) are different commands.
enum class Command : int {
    None,  // an item without a command ("blind", "&VB Einlesen")
    // Datei
    OpenProject,
    New,
    SaveProject,
    OpenRecent,  // one item per recent project, by index
    OpenDocument,
    OpenModuleFolder,
    CompareWith,
    Quit,
    // Bearbeiten
    ReadCode,
    Search,
    SearchFromPosition,
    AllHits,
    ToggleProjectSearch,
    ToggleWholeWord,
    SelectionToSearch,
    Callers,
    Definition,
    AllReferences,
    RoutineBack,
    RoutineNext,
    CopyModule,
    CopySelection,
    // Ansicht
    Refresh,
    Zoom,
    CloseCallers,
    CompactWindow,
    // Extras
    Structure,
    StructureLong,
    Check,
    Options,
    ScreenDefine,
    ScreenCall,
    ClearClipboard,
    // Exports
    RtfProject,
    RtfModule,
    HtmlClipboard,
    HtmlSelection,
    HtmlModule,
    HtmlProject,
    TextSelection,
    TextModule,
    ZoomToHtml,
    ZoomCopy,
    Website,
    // ?
    Help,
    About,
    // Whole menus that the command states switch.
    RtfMenu,
    TextMenu,
    Count
};
inline constexpr int kCommandCount = int(Command::Count);

// 0 nothing shown, 1 a project read from a document, 2 a stored project.
enum class CommandState : int { NothingShown = 0, FromDocument = 1, StoredProject = 2 };

enum class MenuPlace { Bar, Popup, Submenu };

struct MenuDef {
    const char* objectName;
    const char* caption;
    MenuPlace place;
    const char* parent;  // the menu a submenu hangs in; "" otherwise
    Command state;       // the command whose state enables the whole menu; None when always on
    bool hidden;
};

enum ItemFlags : unsigned {
    kCheckable = 1,
    kHidden = 2,
    kSeparatorBefore = 4,
};

struct MenuItemDef {
    const char* menu;        // object name of the menu, pop-up or submenu holding it
    const char* objectName;
    const char* caption;
    const char* shortcut;    // portable key text ("Ctrl+O", "F2"); "" for none
    Command command;
    unsigned flags;
    int index;               // the item's index in an indexed group, or the status panel it clicks; -1 otherwise
};

struct ToolButtonDef {
    const char* key;         // the image key and object name; compared without regard to case
    const char* tooltip;
    Command command;
    unsigned flags;
};

struct CommandStateDef {
    Command command;
    bool enabledWhenShown;   // states 1 and 2
    bool enabledWhenEmpty;   // state 0
};

std::span<const MenuDef> menuTable();
std::span<const MenuItemDef> menuItemTable();
std::span<const ToolButtonDef> toolButtonTable();
std::span<const CommandStateDef> commandStateTable();

// Whether a command is enabled in a state; true for commands the state table leaves alone.
bool enabledInState(Command command, CommandState state, bool* listed = nullptr);

}  // namespace lumo
