#include "framework/CommandTable.h"

#include <unordered_map>

namespace {

// Separators in menus and in the toolbar layout.
constexpr int SEP = 0;

const std::vector<CommandInfo> &Commands() {
    // Icons are 16x16 images under :/toolbar, one per toolbar button.
    static const std::vector<CommandInfo> table = {
        // File
        {ID_FILE_NEW, "&New...", "Ctrl+N", true, "Creates a new ODBC connect\nNew ",
         ":/toolbar/new.png"},
        {ID_FILE_OPEN, "&Open...", "Ctrl+O", true, "Opens an existing ODBC connect\nOpen ",
         ":/toolbar/open.png"},
        // Ctrl+F4 closes through the connection window's own system menu.
        {ID_FILE_CLOSE, "&Close", "", false, "Closes the active connect\nClose", nullptr},
        {ID_FILE_SAVE, "&Save", "Ctrl+S", true, "Saves the active ODBC connect\nSave",
         ":/toolbar/save.png"},
        {ID_FILE_SAVE_AS, "Save &As...", "", false,
         "Saves the active ODBC connect with a new name\nSave As", nullptr},
        {ID_OPEN_SQL, "Open S&QL...", "", true, "Opens an existing SQL statement\nOpen SQL",
         ":/toolbar/open_sql.png"},
        {ID_SAVE_SQL, "Sa&ve SQL...", "", true, "Saves the last SQL statement\nSave SQL",
         ":/toolbar/save_sql.png"},
        {ID_RUN_SCRIPT, "&Run Script...", "", true, "Runs an existing SQL script\nRun Script",
         ":/toolbar/run_script.png"},
        {ID_SPOOL, "Spoo&l...", "", true, "Turns spooling on and off\nSpool",
         ":/toolbar/spool.png"},
        {ID_EXPORT_ALL, "&Export All...", "Ctrl+E", true,
         "Exports all the active results to the file\nExport All", ":/toolbar/export_all.png"},
        {ID_EXPORT_SELECTED, "Export Selecte&d...", "", false,
         "Exports the selected results to the file\nExport Selected", nullptr},
        {ID_EXPORT_QUERY, "Export Q&uery...", "", false,
         "Exports every row of a query's result to the file\nExport Query", nullptr},
        {ID_FILE_PRINT, "&Print...", "Ctrl+P", true, "Prints all the active results\nPrint",
         ":/toolbar/print.png"},
        {ID_FILE_PRINT_SETUP, "Pr&int Setup...", "", false,
         "Change the printer and printing options\nPrint Setup", nullptr},
        {ID_FILE_PRINT_PREVIEW, "Print Previe&w", "", false, "Display full pages\nPrint Preview",
         nullptr},
        {ID_SETTINGS, "Se&ttings...", "", true, "Edits the current connection's settings\nSettings",
         ":/toolbar/settings.png"},
        {ID_FILE_MRU_FILE1, "Recent File", "", false, "Opens this ODBC connect", nullptr},
        {ID_FILE_MRU_FILE2, "Recent File", "", false, "Opens this ODBC connect", nullptr},
        {ID_FILE_MRU_FILE3, "Recent File", "", false, "Opens this ODBC connect", nullptr},
        {ID_FILE_MRU_FILE4, "Recent File", "", false, "Opens this ODBC connect", nullptr},
        // Alt+F4 belongs to the window manager.
        {ID_APP_EXIT, "E&xit", "", true, "Quits the application; prompts to save documents\nExit",
         ":/toolbar/exit.png"},

        // Edit
        {ID_EDIT_UNDO, "&Undo", "Ctrl+Z, Alt+Backspace", true, "Undo the last action\nUndo",
         ":/toolbar/undo.png"},
        {ID_EDIT_CUT, "Cu&t", "Ctrl+X, Shift+Del", true,
         "Cut the selection and put it on the Clipboard\nCut", ":/toolbar/cut.png"},
        {ID_EDIT_COPY, "&Copy", "Ctrl+C, Ctrl+Ins", true,
         "Copy the selection and put it on the Clipboard\nCopy", ":/toolbar/copy.png"},
        // Esc is taken by the input gate while work runs, so it is no shortcut here.
        {ID_CANCEL_WORK, "Ca&ncel\tEsc", "", true,
         "Stops the statement, script or catalog read running\nCancel", ":/toolbar/cancel.png"},
        {ID_EDIT_PASTE, "&Paste", "Ctrl+V, Shift+Ins", true, "Insert Clipboard contents\nPaste",
         ":/toolbar/paste.png"},
        {ID_PASTE_SYNTAX, "Paste &Syntax...", "", true,
         "Inserts an element from the Syntax Dictionary at the insertion point\nSyntax",
         ":/toolbar/paste_syntax.png"},
        {ID_EDIT_SELECT_ALL, "Select &All", "Ctrl+A", false,
         "Select the entire document\nSelect All", nullptr},
        {ID_EDIT_FIND, "&Find...", "Ctrl+F", true, "Find the specified text\nFind",
         ":/toolbar/find.png"},
        {ID_EDIT_REPEAT, "Find &Next", "F3", false, "Repeat the last action\nRepeat", nullptr},

        // View: wizards
        {ID_CREATE_TABLE_WIZARD, "&Create Table...", "", false,
         "Creates a new create table statement\nCreate Wizard", nullptr},
        {ID_DROP_TABLE_WIZARD, "&Drop Table...", "", false,
         "Creates a new drop table statement\nDrop Wizard", nullptr},
        {ID_QUERY_WIZARD, "&Query...", "Ctrl+W", true, "Creates a new query\nQuery Wizard",
         ":/toolbar/query_wizard.png"},
        {ID_INSERT_WIZARD, "&Insert...", "", false, "Creates a new insert statement\nInsert Wizard",
         nullptr},
        {ID_UPDATE_WIZARD, "&Update...", "", false, "Creates a new update statement\nUpdate Wizard",
         nullptr},
        {ID_DELETE_WIZARD, "&Delete...", "", false, "Creates a new delete statement\nDelete Wizard",
         nullptr},

        // View: catalog
        {ID_CATALOG_SCHEMA, "&Schema", "", false, "Gets the object's schema\nSchema", nullptr},
        {ID_CATALOG_PRIVILEGES, "&Privileges", "", false,
         "Gets the object's privileges\nPrivileges", nullptr},
        {ID_CATALOG_STATISTICS, "St&atistics...", "", false,
         "Gets the object's statistics\nStatistics", nullptr},
        {ID_CATALOG_SPECIAL_COLUMNS, "Special &Columns", "", false,
         "Gets the object's special columns\nSpecial Columns", nullptr},
        {ID_DATA, "D&ata", "", false, "Gets the object's data\nData", nullptr},

        // View: bars and grid
        {ID_VIEW_TOOLBAR, "&Toolbar", "", false, "Show or hide the toolbar\nToggle ToolBar",
         nullptr},
        {ID_VIEW_STATUS_BAR, "&Status Bar", "", false,
         "Show or hide the status bar\nToggle StatusBar", nullptr},
        {ID_TREE_HEADER, "Tree &Header", "", false,
         "Shows or hides the tree view header\nToggle Tree Header", nullptr},
        {ID_LIST_HEADER, "&List Header", "", false,
         "Shows or hides the list view header\nToggle List Header", nullptr},
        {ID_AUTO_FORMAT, "Auto &Format", "Ctrl+H", true,
         "Resizes the columns to have the same width as the data\nAuto Format",
         ":/toolbar/auto_format.png"},
        {ID_SHOW_GRID, "Show &Grid", "Ctrl+G", true, "Toggles the grid on and off\nGrid",
         ":/toolbar/show_grid.png"},
        {ID_REFRESH, "&Refresh", "F5", true, "Refreshes the active ODBC connect\nRefresh",
         ":/toolbar/refresh.png"},

        // Window
        {ID_WINDOW_CASCADE, "&Cascade", "", false,
         "Arrange windows so they overlap\nCascade Windows", nullptr},
        {ID_WINDOW_TILE_HORZ, "Tile &Horizontally", "", false,
         "Arrange windows as non-overlapping tiles\nTile Windows", nullptr},
        {ID_WINDOW_TILE_VERT, "&Tile Vertically", "", false,
         "Arrange windows as non-overlapping tiles\nTile Windows", nullptr},
        {ID_WINDOW_ARRANGE, "&Arrange Icons", "", false,
         "Arrange icons at the bottom of the window\nArrange Icons", nullptr},

        // Web
        {ID_DEPLOY, "&Deploy...", "", true,
         "Copies all or selected results into a web server\nDeploy", ":/toolbar/deploy.png"},

        // Help
        {ID_HELP_INDEX, "&Help Topics", "", false, "List Help topics\nHelp Topics", nullptr},
        {ID_APP_ABOUT, "&About...", "", true,
         "Display program information, version number and copyright\nAbout", ":/toolbar/about.png"},
        {ID_HELP, nullptr, "F1", false, "Display help for current task or command\nHelp", nullptr},
        {ID_CONTEXT_HELP, nullptr, "Shift+F1", true,
         "Display help for clicked buttons, menus and windows\nHelp", ":/toolbar/context_help.png"},

        // Panes of the connection window
        {ID_NEXT_PANE, nullptr, "F6", false, "Switch to the next window pane\nNext Pane", nullptr},
        {ID_PREV_PANE, nullptr, "Shift+F6", false,
         "Switch back to the previous window pane\nPrevious Pane", nullptr},

        // Status-bar panes: ids without a menu item or a prompt of their own.
        {ID_LINE_INDICATOR, nullptr, "", false, "", nullptr},
        {ID_PROGRESS_INDICATOR, nullptr, "", false, "", nullptr},
    };
    return table;
}

MenuItem Cmd(int id, const char *text = nullptr) {
    MenuItem item;
    item.id = id;
    item.text = text;
    return item;
}

MenuItem Separator() { return MenuItem{}; }

MenuItem Submenu(const char *title, std::vector<MenuItem> children) {
    MenuItem item;
    item.title = title;
    item.children = std::move(children);
    return item;
}

} // namespace

const std::vector<CommandInfo> &CommandTable() { return Commands(); }

const CommandInfo *FindCommand(int id) {
    static const std::unordered_map<int, const CommandInfo *> byId = [] {
        std::unordered_map<int, const CommandInfo *> map;
        for (const CommandInfo &info : Commands())
            map.emplace(info.id, &info);
        return map;
    }();
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : found->second;
}

const std::vector<int> &ToolbarLayout() {
    // clang-format off
    static const std::vector<int> layout = {
        ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, SEP,
        ID_RUN_SCRIPT, ID_OPEN_SQL, ID_SAVE_SQL, ID_EXPORT_ALL, ID_DEPLOY, SEP,
        ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_PASTE_SYNTAX, ID_EDIT_UNDO, ID_EDIT_FIND, SEP,
        ID_SPOOL, ID_SHOW_GRID, ID_AUTO_FORMAT, ID_SETTINGS, ID_QUERY_WIZARD, SEP,
        ID_REFRESH, ID_CANCEL_WORK, ID_FILE_PRINT, ID_APP_ABOUT, ID_CONTEXT_HELP, SEP,
        ID_APP_EXIT,
    };
    // clang-format on
    return layout;
}

const std::vector<MenuLayout> &MainMenu128() {
    static const std::vector<MenuLayout> menu = {
        {"&File",
         {Cmd(ID_FILE_NEW), Cmd(ID_FILE_OPEN), Separator(), Cmd(ID_SETTINGS), Separator(),
          Cmd(ID_FILE_MRU_FILE1), Cmd(ID_FILE_MRU_FILE2), Cmd(ID_FILE_MRU_FILE3),
          Cmd(ID_FILE_MRU_FILE4), Separator(), Cmd(ID_APP_EXIT)}},
        {"&View", {Cmd(ID_VIEW_TOOLBAR), Cmd(ID_VIEW_STATUS_BAR)}},
        {"&Help", {Cmd(ID_HELP_INDEX), Separator(), Cmd(ID_APP_ABOUT)}},
    };
    return menu;
}

const std::vector<MenuLayout> &ConnectionMenu129() {
    static const std::vector<MenuLayout> menu = {
        {"&File",
         {Cmd(ID_FILE_NEW),
          Cmd(ID_FILE_OPEN),
          Cmd(ID_FILE_CLOSE),
          Cmd(ID_FILE_SAVE),
          Cmd(ID_FILE_SAVE_AS),
          Separator(),
          Cmd(ID_OPEN_SQL),
          Cmd(ID_SAVE_SQL),
          Cmd(ID_RUN_SCRIPT),
          Cmd(ID_SPOOL),
          Separator(),
          Cmd(ID_EXPORT_ALL),
          Cmd(ID_EXPORT_SELECTED),
          Cmd(ID_EXPORT_QUERY),
          Separator(),
          Cmd(ID_FILE_PRINT),
          Cmd(ID_FILE_PRINT_PREVIEW),
          Cmd(ID_FILE_PRINT_SETUP),
          Separator(),
          Cmd(ID_SETTINGS),
          Separator(),
          Cmd(ID_FILE_MRU_FILE1),
          Cmd(ID_FILE_MRU_FILE2),
          Cmd(ID_FILE_MRU_FILE3),
          Cmd(ID_FILE_MRU_FILE4),
          Separator(),
          Cmd(ID_APP_EXIT)}},
        {"&Edit",
         {Cmd(ID_EDIT_UNDO), Separator(), Cmd(ID_EDIT_CUT), Cmd(ID_EDIT_COPY), Cmd(ID_EDIT_PASTE),
          Cmd(ID_PASTE_SYNTAX), Separator(), Cmd(ID_EDIT_SELECT_ALL), Separator(),
          Cmd(ID_EDIT_FIND), Cmd(ID_EDIT_REPEAT), Separator(), Cmd(ID_CANCEL_WORK)}},
        {"&View",
         {Cmd(ID_VIEW_TOOLBAR), Cmd(ID_VIEW_STATUS_BAR), Cmd(ID_TREE_HEADER), Cmd(ID_LIST_HEADER),
          Separator(), Cmd(ID_AUTO_FORMAT), Cmd(ID_SHOW_GRID), Separator(),
          Submenu("&Catalog", {Cmd(ID_CATALOG_SCHEMA), Cmd(ID_CATALOG_PRIVILEGES),
                               Cmd(ID_CATALOG_STATISTICS), Cmd(ID_CATALOG_SPECIAL_COLUMNS)}),
          Cmd(ID_DATA), Separator(),
          Submenu("&DDL Wizards", {Cmd(ID_CREATE_TABLE_WIZARD), Cmd(ID_DROP_TABLE_WIZARD)}),
          Submenu("D&ML Wizards", {Cmd(ID_QUERY_WIZARD), Cmd(ID_INSERT_WIZARD),
                                   Cmd(ID_UPDATE_WIZARD), Cmd(ID_DELETE_WIZARD)}),
          Separator(), Cmd(ID_REFRESH)}},
        {"&Web", {Cmd(ID_DEPLOY)}},
        {"&Window",
         {Cmd(ID_WINDOW_CASCADE), Cmd(ID_WINDOW_TILE_HORZ), Cmd(ID_WINDOW_TILE_VERT),
          Cmd(ID_WINDOW_ARRANGE)}},
        {"&Help", {Cmd(ID_HELP_INDEX), Separator(), Cmd(ID_APP_ABOUT)}},
    };
    return menu;
}

const std::vector<MenuItem> &ContextMenu(int resourceId) {
    static const std::vector<MenuItem> table = {
        Cmd(ID_CATALOG_SCHEMA),
        Cmd(ID_CATALOG_PRIVILEGES),
        Cmd(ID_CATALOG_STATISTICS),
        Cmd(ID_CATALOG_SPECIAL_COLUMNS),
        Separator(),
        Cmd(ID_DATA, "&Data"),
        Cmd(ID_QUERY_WIZARD, "Query &Wizard..."),
    };
    static const std::vector<MenuItem> field = {Cmd(ID_CATALOG_SCHEMA), Cmd(ID_CATALOG_PRIVILEGES)};
    static const std::vector<MenuItem> procedure = {Cmd(ID_CATALOG_SCHEMA), Cmd(ID_DATA, "&Data")};
    static const std::vector<MenuItem> result = {Cmd(ID_EXPORT_ALL), Cmd(ID_EXPORT_SELECTED),
                                                 Separator(), Cmd(ID_EDIT_SELECT_ALL)};
    static const std::vector<MenuItem> none;
    switch (resourceId) {
    case 132:
        return table;
    case 168:
        return field;
    case 177:
        return procedure;
    case 167:
        return result;
    default:
        return none;
    }
}

const char *MenuItemText(const MenuItem &item) {
    if (item.text)
        return item.text;
    if (!item.children.empty())
        return item.title;
    const CommandInfo *info = FindCommand(item.id);
    return info ? info->menuText : nullptr;
}
