#include "Panes.h"
#include "TreeFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>

#include "catalog/CStatisticParamsDlg.h"
#include "console/CDBOutputView.h"
#include "wizards/CListCtrlEx.h"
#include "wizards/CQueryWizard.h"
#include "wizards/CTableWizard.h"
#include "wizards/CWizTable.h"
#include "wizards/CWizardPage1.h"
#include "wizards/RowListEditor.h"

namespace {

const int CatalogCommands[] = {ID_CATALOG_SCHEMA, ID_CATALOG_PRIVILEGES, ID_CATALOG_STATISTICS,
                               ID_CATALOG_SPECIAL_COLUMNS, ID_DATA};

class TreeCommandTest : public TreeFixture {
protected:
    // Schema, Privileges, Statistics, Special Columns, Data as "1" or "0".
    std::string Enabled() {
        std::string flags;
        for (int id : CatalogCommands)
            flags += Frame().QueryCommand(id).enabled ? '1' : '0';
        return flags;
    }
    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int row = 0; row < GridOf(doc_)->RowCount(); ++row)
            texts.push_back(GridOf(doc_)->GetCellText(row, column));
        return texts;
    }
    static std::vector<std::string> ActionTexts(const QMenu &menu) {
        std::vector<std::string> texts;
        for (QAction *action : menu.actions())
            texts.push_back(action->isSeparator() ? "" : action->text().toStdString());
        return texts;
    }
    static bool Contains(const std::vector<std::string> &texts, const std::string &text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    // Sends a right click at a point of the tree's viewport; returns the title
    // of the menu it opened (closed again at once), or "" when none opened.
    std::string RightClick(QPoint pos) {
        std::string title;
        QTimer::singleShot(0, [&title] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                title = menu->title().toStdString();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree_->viewport()->mapToGlobal(pos));
        QCoreApplication::sendEvent(tree_->viewport(), &event);
        QCoreApplication::processEvents();
        return title;
    }
};

TEST_P(TreeCommandTest, CatalogCommandsAreEnabledByTheCurrentNodesKind) {
    app_->Settings().Views = 1;
    app_->Settings().Procedures = ListsProcedures() ? 1 : 0;
    ASSERT_NE(Open(), nullptr);
    FocusTree();
    ASSERT_EQ(FrameOf(doc_)->ActiveView(), static_cast<CommandTarget *>(tree_));
    EXPECT_EQ(Enabled(), "00000");

    Node({"Tables", "orders"})->setExpanded(true);
    struct Case {
        std::vector<std::string> path;
        const char *enabled;
    };
    std::vector<Case> cases = {
        {{}, "00000"},
        {{"Tables"}, "00000"},
        {{"Views"}, "00000"},
        {{"Tables", "orders"}, "11111"},
        {{"Views", "customer_orders"}, "11111"},
        {{"Tables", "orders", "Fields"}, "11000"},
        {{"Tables", "orders", "Fields", "status"}, "11000"},
        {{"Tables", "orders", "Primary Keys"}, "00000"},
        {{"Tables", "orders", "Primary Keys", "id"}, "00000"},
        {{"Tables", "orders", "Foreign Keys", "customer_id"}, "00000"},
    };
    if (ListsProcedures()) {
        cases.push_back({{"Procedures"}, "00000"});
        cases.push_back({{"Procedures", "order_count"}, "10001"});
        cases.push_back({{"Procedures", "order_count", "Columns"}, "00000"});
    }
    for (const Case &c : cases) {
        QTreeWidgetItem *node = Node(c.path);
        ASSERT_NE(node, nullptr) << (c.path.empty() ? "root" : c.path.back());
        Select(node);
        EXPECT_EQ(Enabled(), c.enabled) << CDBTreeView::Label(node);
        EXPECT_EQ(Frame().MessageText(), "For Help, press F1");
    }
    // Without a selection nothing applies, whatever node was current.
    tree_->clearSelection();
    EXPECT_EQ(Enabled(), "00000");
}

TEST_P(TreeCommandTest, WizardsStartWithTheSelectedTableOrView) {
    app_->Settings().Views = 1;
    ASSERT_NE(Open(), nullptr);
    FocusTree();
    Node({"Tables", "orders"})->setExpanded(true);
    std::string preset;
    prompts_->onExec = [&preset](QDialog &dialog) {
        dialog.show();
        if (auto *query = dynamic_cast<CQueryWizard *>(&dialog))
            preset = query->Step1()->Editor()->List()->GetItemText(0, 0).toStdString();
        else if (auto *table = dynamic_cast<CTableWizard *>(&dialog))
            preset = table->TablePage()->m_strTable;
        return int(QDialog::Rejected);
    };
    struct Case {
        std::vector<std::string> path;
        int command;
        std::string preset;
    };
    const std::vector<Case> cases = {
        {{"Views", "customer_orders"}, ID_QUERY_WIZARD, "customer_orders"},
        {{"Tables", "orders", "Fields", "status"}, ID_QUERY_WIZARD, ""},
        {{"Tables", "orders"}, ID_DROP_TABLE_WIZARD, "orders"},
        {{"Tables", "orders"}, ID_CREATE_TABLE_WIZARD, ""},
    };
    for (const Case &c : cases) {
        Select(Node(c.path));
        preset = "unset";
        ASSERT_TRUE(Frame().SendCommand(c.command));
        EXPECT_EQ(preset, c.preset) << c.path.back();
    }
}

TEST_P(TreeCommandTest, SelectingANodeShowsItsCatalogInformation) {
    ASSERT_NE(Open(), nullptr);
    CDBListView *grid = GridOf(doc_);
    Select(tree_->RootNode());
    EXPECT_EQ(grid->Caption(), "General information about the driver and data source:");
    Select(Node({"Tables"}));
    EXPECT_EQ(grid->Caption(), "List of table, catalog, or schema names, and table types:");
    EXPECT_FALSE(grid->PropertyMode);
    EXPECT_EQ(Column(0), ListedTables("TABLE"));
    Select(Node({"Tables", "order_items", "Fields"}));
    EXPECT_EQ(grid->Caption(), "List of column names in specified tables:");
    EXPECT_EQ(Column(0),
              (std::vector<std::string>{"order_id", "product_id", "quantity", "unit_price"}));
    Select(Node({"Tables", "order_items", "Fields", "quantity"}));
    EXPECT_TRUE(grid->PropertyMode);
    EXPECT_EQ(grid->GetCellText(0, 1), "quantity");
    EXPECT_EQ(tree_->CurrentNode(), Node({"Tables", "order_items", "Fields", "quantity"}));
}

TEST_P(TreeCommandTest, ContextMenusByNodeKind) {
    app_->Settings().Procedures = ListsProcedures() ? 1 : 0;
    ASSERT_NE(Open(), nullptr);
    FocusTree();

    Select(Node({"Tables", "orders"}));
    std::unique_ptr<QMenu> menu(tree_->CreateContextMenu(nullptr));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "Table");
    EXPECT_EQ(ActionTexts(*menu),
              (std::vector<std::string>{"&Schema", "&Privileges", "St&atistics...",
                                        "Special &Columns", "", "&Data", "Query &Wizard..."}));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(menu->actions()[i]->isEnabled()) << i;
    EXPECT_TRUE(menu->actions()[5]->isEnabled());

    for (const std::vector<std::string> &path :
         {std::vector<std::string>{"Tables", "orders", "Fields"},
          std::vector<std::string>{"Tables", "orders", "Fields", "id"}}) {
        Select(Node(path));
        menu.reset(tree_->CreateContextMenu(nullptr));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), "Field");
        EXPECT_EQ(ActionTexts(*menu), (std::vector<std::string>{"&Schema", "&Privileges"}));
    }
    // A menu item runs its command on the current node.
    menu->actions()[1]->trigger();
    EXPECT_EQ(GridOf(doc_)->Caption(), "List of columns and associated privileges:");

    if (ListsProcedures()) {
        Select(Node({"Procedures", "order_count"}));
        menu.reset(tree_->CreateContextMenu(nullptr));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), "Procedure");
        EXPECT_EQ(ActionTexts(*menu), (std::vector<std::string>{"&Schema", "&Data"}));
    }
    for (const std::vector<std::string> &path :
         {std::vector<std::string>{}, std::vector<std::string>{"Tables"}}) {
        Select(Node(path));
        EXPECT_EQ(tree_->CreateContextMenu(nullptr), nullptr);
    }
}

TEST_P(TreeCommandTest, RightClickSelectsTheNodeAndEmptySpaceClearsTheSelection) {
    ASSERT_NE(Open(), nullptr);
    QTreeWidgetItem *orders = Node({"Tables", "orders"});
    Node({"Tables"})->setExpanded(true);
    tree_->scrollToItem(orders);
    const QPoint onOrders = tree_->visualItemRect(orders).center();
    EXPECT_EQ(RightClick(onOrders), "Table");
    EXPECT_EQ(tree_->CurrentNode(), orders);
    EXPECT_TRUE(orders->isSelected());
    EXPECT_EQ(GridOf(doc_)->Caption(), "List of table, catalog, or schema names, and table types:");
    EXPECT_EQ(FrameOf(doc_)->ActiveView(), static_cast<CommandTarget *>(tree_));

    // Root and folders have no menu, but the click still selects.
    EXPECT_EQ(RightClick(tree_->visualItemRect(tree_->RootNode()).center()), "");
    EXPECT_EQ(tree_->CurrentNode(), tree_->RootNode());

    Node({"Tables"})->setExpanded(false);
    const QPoint below(5, tree_->viewport()->height() - 3);
    ASSERT_EQ(tree_->itemAt(below), nullptr);
    EXPECT_EQ(RightClick(below), "");
    EXPECT_TRUE(tree_->selectedItems().isEmpty());
    EXPECT_EQ(tree_->CurrentNode(), nullptr);
    EXPECT_EQ(Enabled(), "00000");
}

TEST_P(TreeCommandTest, StatisticParametersCancelKeepsTheGridAndOkPassesTheChoice) {
    ASSERT_NE(Open(), nullptr);
    FocusTree();
    Select(Node({"Tables", "orders"}));
    CDBListView *grid = GridOf(doc_);
    const QString shownCaption = grid->Caption();
    const std::vector<std::string> shownNames = Column(0);

    ASSERT_TRUE(Frame().SendCommand(ID_CATALOG_STATISTICS));
    EXPECT_EQ(prompts_->execCount, 1);
    EXPECT_EQ(grid->Caption(), shownCaption);
    EXPECT_EQ(Column(0), shownNames);

    const char *const statistics =
        "List of statistics about a single table and the indexes associated with the table:";
    const int indexName = 4;
    // OK as the dialog opens: every index, the non-unique one too.
    prompts_->onExec = [](QDialog &) { return int(QDialog::Accepted); };
    ASSERT_TRUE(Frame().SendCommand(ID_CATALOG_STATISTICS));
    EXPECT_EQ(grid->Caption(), statistics);
    EXPECT_TRUE(Contains(Column(indexName), "idx_orders_customer"));

    prompts_->onExec = [](QDialog &dialog) {
        auto &params = dynamic_cast<CStatisticParamsDlg &>(dialog);
        params.UniqueButton()->click();
        params.QuickButton()->click();
        return int(QDialog::Accepted);
    };
    ASSERT_TRUE(Frame().SendCommand(ID_CATALOG_STATISTICS));
    EXPECT_EQ(grid->Caption(), statistics);
    EXPECT_FALSE(Contains(Column(indexName), "idx_orders_customer"));
    EXPECT_EQ(prompts_->execCount, 3);
    EXPECT_EQ(Frame().MessageText(), "For Help, press F1");
}

TEST_P(TreeCommandTest, DataLoadsATableAndCallsAProcedure) {
    app_->Settings().Procedures = ListsProcedures() ? 1 : 0;
    ASSERT_NE(Open(), nullptr);
    FocusTree();
    Select(Node({"Tables", "customers"}));
    ASSERT_TRUE(Frame().SendCommand(ID_DATA));
    CDBListView *grid = GridOf(doc_);
    EXPECT_EQ(grid->Caption(), "Result set for the most recently executed query:");
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->GetColumnTitle(1), "name");
    EXPECT_NE(ConsoleOf(doc_)->LastStatement().find("customers"), std::string::npos);

    if (!ListsProcedures())
        return;
    Select(Node({"Procedures", "order_count"}));
    ASSERT_TRUE(Frame().SendCommand(ID_DATA));
    const std::string call = ConsoleOf(doc_)->LastStatement();
    EXPECT_EQ(call.rfind("{call ", 0), 0u) << call;
    EXPECT_NE(call.find("order_count"), std::string::npos) << call;
    // order_count wants an argument: the server's refusal is reported, not hidden.
    ASSERT_EQ(prompts_->messages.size(), 1u);
    EXPECT_TRUE(prompts_->messages[0].first.contains("order_count"));
    EXPECT_EQ(grid->RowCount(), 0);
}

TEST(StatisticParamsDlgTest, OpensOnAllAndEnsureAndEachClickSetsItsValue) {
    CStatisticParamsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Statistic Parameters");
    EXPECT_TRUE(dialog.AllButton()->isChecked());
    EXPECT_TRUE(dialog.EnsureButton()->isChecked());
    EXPECT_EQ(dialog.Unique(), 1);
    EXPECT_EQ(dialog.Accuracy(), 1);
    dialog.UniqueButton()->click();
    EXPECT_EQ(dialog.Unique(), 0);
    EXPECT_EQ(dialog.Accuracy(), 1);
    dialog.QuickButton()->click();
    EXPECT_EQ(dialog.Accuracy(), 0);
    dialog.AllButton()->click();
    dialog.EnsureButton()->click();
    EXPECT_EQ(dialog.Unique(), 1);
    EXPECT_EQ(dialog.Accuracy(), 1);
}

INSTANTIATE_TEST_SUITE_P(Drivers, TreeCommandTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
