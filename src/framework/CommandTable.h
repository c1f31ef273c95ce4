#pragma once

#include <vector>

// Command ids sent by menus, the toolbar and accelerators.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_FILE2 = 57617,
    ID_FILE_MRU_FILE3 = 57618,
    ID_FILE_MRU_FILE4 = 57619,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_FIND = 57636,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_REPEAT = 57640,
    ID_EDIT_SELECT_ALL = 57642,
    ID_EDIT_UNDO = 57643,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_WINDOW_TILE_VERT = 57652,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_INDEX = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_SETTINGS = 32783,
    ID_QUERY_WIZARD = 32784,
    ID_OPEN_SQL = 32789,
    ID_SAVE_SQL = 32790,
    ID_PASTE_SYNTAX = 32791,
    ID_EXPORT_ALL = 32792,
    ID_LINE_INDICATOR = 32801,
    ID_EXPORT_SELECTED = 32805,
    ID_AUTO_FORMAT = 32806,
    ID_PROGRESS_INDICATOR = 32807,
    ID_SPOOL = 32814,
    ID_SHOW_GRID = 32816,
    ID_CATALOG_SCHEMA = 32817,
    ID_CATALOG_PRIVILEGES = 32818,
    ID_CATALOG_STATISTICS = 32819,
    ID_CATALOG_SPECIAL_COLUMNS = 32820,
    ID_DATA = 32821,
    ID_DEPLOY = 32823,
    ID_TREE_HEADER = 32824,
    ID_LIST_HEADER = 32825,
    ID_RUN_SCRIPT = 32827,
    ID_REFRESH = 32828,
    ID_CREATE_TABLE_WIZARD = 32834,
    ID_DROP_TABLE_WIZARD = 32835,
    ID_INSERT_WIZARD = 32836,
    ID_UPDATE_WIZARD = 32837,
    ID_DELETE_WIZARD = 32838,
    ID_CANCEL_WORK = 32840,
    ID_EXPORT_QUERY = 32900,
};

// One row of the command table.
struct CommandInfo {
    int id;
    const char *menuText;     // with its "&" mnemonic; nullptr when no menu item shows it
    const char *accelerators; // portable key texts, ", "-separated ("Ctrl+Z, Alt+Backspace"), or ""
    bool toolbar;             // a button of the main toolbar
    const char *prompt;       // status-bar text; the part after "\n" is the tooltip
    const char *icon;         // Qt resource path of its 16x16 image, or nullptr
};

// Every command, in a stable order.
const std::vector<CommandInfo> &CommandTable();
// nullptr for an unknown id.
const CommandInfo *FindCommand(int id);
// Buttons of the main toolbar in order; 0 stands for a separator.
const std::vector<int> &ToolbarLayout();

// A menu bar as data: each menu has a title and items; an item is a command id,
// 0 for a separator, or a submenu.
struct MenuItem {
    int id = 0;                     // 0 with empty children: separator
    const char *title = nullptr;    // submenu title
    std::vector<MenuItem> children; // non-empty for a submenu
    const char *text = nullptr;     // item text when it differs from the command's menu text
};
struct MenuLayout {
    const char *title;
    std::vector<MenuItem> items;
};
// Menu 128 (no connection open) and menu 129 (a connection window is active).
const std::vector<MenuLayout> &MainMenu128();
const std::vector<MenuLayout> &ConnectionMenu129();
// Context menus: 132 "Table", 168 "Field", 177 "Procedure", 167 "Result"; an
// empty list for any other id.
const std::vector<MenuItem> &ContextMenu(int resourceId);
// The text an item shows: its own text, or else its command's menu text (nullptr when neither).
const char *MenuItemText(const MenuItem &item);
