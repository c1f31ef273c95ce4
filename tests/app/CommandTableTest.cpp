#include <set>
#include <string>

#include <QFile>
#include <QKeySequence>
#include <QStringList>
#include <gtest/gtest.h>

#include "framework/CommandTable.h"

// The images live in the core library's resources, which a static link drops unless asked for.
static void LoadResources() { Q_INIT_RESOURCE(brindle); }

namespace {

void CollectIds(const std::vector<MenuItem> &items, std::vector<int> &ids) {
    for (const MenuItem &item : items) {
        if (!item.children.empty())
            CollectIds(item.children, ids);
        else if (item.id != 0)
            ids.push_back(item.id);
    }
}

// A menu as one line of texts, "-" for a separator and "[title: ...]" for a submenu.
std::string Describe(const std::vector<MenuItem> &items) {
    std::string out;
    for (const MenuItem &item : items) {
        if (!out.empty())
            out += " | ";
        if (!item.children.empty())
            out += std::string("[") + item.title + ": " + Describe(item.children) + "]";
        else if (item.id == 0)
            out += "-";
        else
            out += MenuItemText(item) ? MenuItemText(item) : "?";
    }
    return out;
}

} // namespace

TEST(CommandTable, HoldsEveryCommandOnceWithItsTexts) {
    const int allIds[] = {57600, 57601, 57602, 57603, 57604, 57606, 57607, 57609, 57616, 57617,
                          57618, 57619, 57634, 57635, 57636, 57637, 57640, 57642, 57643, 57649,
                          57650, 57651, 57652, 57664, 57665, 57667, 57669, 57670, 57680, 57681,
                          59392, 59393, 32783, 32784, 32789, 32790, 32791, 32792, 32801, 32805,
                          32806, 32807, 32814, 32816, 32817, 32818, 32819, 32820, 32821, 32823,
                          32824, 32825, 32827, 32828, 32834, 32835, 32836, 32837, 32838, 32840};
    // Newer commands, with ids apart from the others.
    const int ownIds[] = {32900};
    std::set<int> seen;
    for (const CommandInfo &info : CommandTable()) {
        EXPECT_TRUE(seen.insert(info.id).second) << "twice: " << info.id;
        EXPECT_EQ(FindCommand(info.id), &info);
        ASSERT_NE(info.prompt, nullptr) << info.id;
        ASSERT_NE(info.accelerators, nullptr) << info.id;
    }
    for (int id : allIds)
        EXPECT_NE(FindCommand(id), nullptr) << id;
    for (int id : ownIds)
        EXPECT_NE(FindCommand(id), nullptr) << id;
    EXPECT_EQ(seen.size(), std::size(allIds) + std::size(ownIds));
    EXPECT_EQ(FindCommand(12345), nullptr);

    struct Expect {
        int id;
        const char *menu;
        const char *keys;
        const char *prompt;
    };
    const Expect samples[] = {
        {57600, "&New...", "Ctrl+N", "Creates a new ODBC connect\nNew "},
        {57643, "&Undo", "Ctrl+Z, Alt+Backspace", "Undo the last action\nUndo"},
        {57634, "&Copy", "Ctrl+C, Ctrl+Ins",
         "Copy the selection and put it on the Clipboard\nCopy"},
        {57665, "E&xit", "", "Quits the application; prompts to save documents\nExit"},
        {32783, "Se&ttings...", "", "Edits the current connection's settings\nSettings"},
        {32784, "&Query...", "Ctrl+W", "Creates a new query\nQuery Wizard"},
        {32791, "Paste &Syntax...", "",
         "Inserts an element from the Syntax Dictionary at the insertion point\nSyntax"},
        {32806, "Auto &Format", "Ctrl+H",
         "Resizes the columns to have the same width as the data\nAuto Format"},
        {32819, "St&atistics...", "", "Gets the object's statistics\nStatistics"},
        {32828, "&Refresh", "F5", "Refreshes the active ODBC connect\nRefresh"},
        {57618, "Recent File", "", "Opens this ODBC connect"},
        {57640, "Find &Next", "F3", "Repeat the last action\nRepeat"},
        {57669, nullptr, "Shift+F1", "Display help for clicked buttons, menus and windows\nHelp"},
    };
    for (const Expect &e : samples) {
        SCOPED_TRACE(e.id);
        const CommandInfo *info = FindCommand(e.id);
        ASSERT_NE(info, nullptr);
        if (e.menu)
            EXPECT_STREQ(info->menuText, e.menu);
        else
            EXPECT_EQ(info->menuText, nullptr);
        EXPECT_STREQ(info->accelerators, e.keys);
        EXPECT_STREQ(info->prompt, e.prompt);
    }
}

TEST(CommandTable, AcceleratorsAreUniqueValidKeySequences) {
    std::set<QString> used;
    for (const CommandInfo &info : CommandTable()) {
        if (!*info.accelerators)
            continue;
        for (const QString &text : QString::fromLatin1(info.accelerators).split(", ")) {
            SCOPED_TRACE(text.toStdString());
            const QKeySequence keys = QKeySequence::fromString(text, QKeySequence::PortableText);
            EXPECT_EQ(keys.count(), 1);
            EXPECT_EQ(keys.toString(QKeySequence::PortableText), text);
            EXPECT_TRUE(used.insert(text).second) << "bound twice";
        }
    }
}

TEST(CommandTable, ToolbarHasTheButtonsInOrderEachWithAnIcon) {
    LoadResources();
    const std::vector<int> expected = {57600, 57601, 57603, 0,     32827, 32789, 32790, 32792,
                                       32823, 0,     57635, 57634, 57637, 32791, 57643, 57636,
                                       0,     32814, 32816, 32806, 32783, 32784, 0,     32828,
                                       32840, 57607, 57664, 57669, 0,     57665};
    EXPECT_EQ(ToolbarLayout(), expected);

    std::set<int> onToolbar(expected.begin(), expected.end());
    onToolbar.erase(0);
    std::set<std::string> icons;
    for (const CommandInfo &info : CommandTable()) {
        SCOPED_TRACE(info.id);
        EXPECT_EQ(info.toolbar, onToolbar.count(info.id) == 1);
        if (info.toolbar) {
            ASSERT_NE(info.icon, nullptr);
            EXPECT_EQ(std::string(info.icon).rfind(":/toolbar/", 0), 0u);
            EXPECT_TRUE(icons.insert(info.icon).second);
            EXPECT_TRUE(QFile::exists(QString::fromLatin1(info.icon))) << info.icon;
        }
        // Every button also has a tooltip after the line break.
        if (info.toolbar) {
            EXPECT_NE(std::string(info.prompt).find('\n'), std::string::npos);
        }
    }
}

TEST(CommandTable, MenusListTheirItemsInOrder) {
    const auto &menu128 = MainMenu128();
    ASSERT_EQ(menu128.size(), 3u);
    EXPECT_STREQ(menu128[0].title, "&File");
    EXPECT_EQ(Describe(menu128[0].items),
              "&New... | &Open... | - | Se&ttings... | - | Recent File | "
              "Recent File | Recent File | Recent File | - | E&xit");
    EXPECT_STREQ(menu128[1].title, "&View");
    EXPECT_EQ(Describe(menu128[1].items), "&Toolbar | &Status Bar");
    EXPECT_STREQ(menu128[2].title, "&Help");
    EXPECT_EQ(Describe(menu128[2].items), "&Help Topics | - | &About...");

    const auto &menu129 = ConnectionMenu129();
    QStringList titles;
    for (const MenuLayout &menu : menu129)
        titles << menu.title;
    EXPECT_EQ(titles.join(" "), "&File &Edit &View &Web &Window &Help");
    EXPECT_EQ(Describe(menu129[2].items),
              "&Toolbar | &Status Bar | Tree &Header | &List Header | - | Auto &Format | "
              "Show &Grid | - | [&Catalog: &Schema | &Privileges | St&atistics... | Special "
              "&Columns] | D&ata | - | [&DDL Wizards: &Create Table... | &Drop Table...] | "
              "[D&ML Wizards: &Query... | &Insert... | &Update... | &Delete...] | - | &Refresh");

    // Every item of every menu names a command of the table.
    std::vector<int> ids;
    for (const auto *menus : {&menu128, &menu129})
        for (const MenuLayout &menu : *menus)
            CollectIds(menu.items, ids);
    for (int resource : {132, 168, 177, 167})
        CollectIds(ContextMenu(resource), ids);
    for (int id : ids)
        EXPECT_NE(FindCommand(id), nullptr) << id;
}

TEST(CommandTable, ContextMenus) {
    EXPECT_EQ(Describe(ContextMenu(132)), "&Schema | &Privileges | St&atistics... | Special "
                                          "&Columns | - | &Data | Query &Wizard...");
    EXPECT_EQ(Describe(ContextMenu(168)), "&Schema | &Privileges");
    EXPECT_EQ(Describe(ContextMenu(177)), "&Schema | &Data");
    EXPECT_EQ(Describe(ContextMenu(167)), "&Export All... | Export Selecte&d... | - | Select &All");
    EXPECT_TRUE(ContextMenu(999).empty());
    EXPECT_EQ(ContextMenu(132)[5].id, 32821);
}
