#include "TreeFixture.h"

#include "app/CTreeFrameWnd.h"
#include "catalog/CatalogNode.h"

using namespace CatalogNode;

namespace {

class TreeBuildTest : public TreeFixture {};

struct TableSettings {
    int systemTables, views, synonyms, procedures;
    const char *caption;
};

TEST_P(TreeBuildTest, ShapeAndOrderFollowTheTableSettings) {
    const TableSettings cases[] = {
        {0, 0, 0, 0, "All Tables:"},
        {0, 1, 0, 0, "All Tables, Views:"},
        {1, 0, 1, 1, "All Tables, SysTables, Synonyms, Procedures:"},
        {1, 1, 1, 1, "All Tables, SysTables, Views, Synonyms, Procedures:"},
    };
    for (const TableSettings &c : cases) {
        SCOPED_TRACE(c.caption);
        AppSettings &settings = app_->Settings();
        settings.SystemTables = c.systemTables;
        settings.Views = c.views;
        settings.Synonyms = c.synonyms;
        settings.Procedures = c.procedures;
        ASSERT_NE(Open(), nullptr);
        EXPECT_EQ(FrameOf(doc_)->TreeFrame()->GetCaption(), c.caption);

        QTreeWidgetItem *root = tree_->RootNode();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(tree_->topLevelItemCount(), 1);
        EXPECT_EQ(CDBTreeView::Kind(root), Root);
        EXPECT_EQ(CDBTreeView::Label(root), "DSN: " + doc_->GetDataSourceName());
        EXPECT_TRUE(root->isExpanded());

        std::vector<std::string> folders = {"Tables"};
        std::vector<int> kinds = {TablesFolder};
        if (c.systemTables) {
            folders.push_back("SysTables");
            kinds.push_back(SystemTablesFolder);
        }
        if (c.views) {
            folders.push_back("Views");
            kinds.push_back(ViewsFolder);
        }
        if (c.synonyms) {
            folders.push_back("Synonyms");
            kinds.push_back(SynonymsFolder);
        }
        if (c.procedures && ListsProcedures()) {
            folders.push_back("Procedures");
            kinds.push_back(ProceduresFolder);
        }
        EXPECT_EQ(ChildLabels(root), folders);
        EXPECT_EQ(ChildKinds(root), kinds);

        // Tables in the driver's order, unsorted, each with only its Fields before expansion.
        QTreeWidgetItem *tables = Child(root, "Tables");
        EXPECT_EQ(ChildLabels(tables), ListedTables("TABLE"));
        for (int i = 0; tables && i < tables->childCount(); ++i) {
            EXPECT_EQ(CDBTreeView::Kind(tables->child(i)), Table);
            EXPECT_EQ(ChildKinds(tables->child(i)), std::vector<int>{FieldsFolder});
        }
        QTreeWidgetItem *views = Child(root, "Views");
        if (c.views) {
            EXPECT_EQ(ChildLabels(views), ListedTables("VIEW"));
            ASSERT_NE(Child(views, "customer_orders"), nullptr);
            EXPECT_EQ(CDBTreeView::Kind(Child(views, "customer_orders")), View);
            EXPECT_EQ(ChildLabels(Child(Child(views, "customer_orders"), "Fields")),
                      (std::vector<std::string>{"customer_id", "name", "order_id", "order_date",
                                                "status"}));
        } else {
            // A view is not listed under Tables either.
            EXPECT_EQ(Child(tables, "customer_orders"), nullptr);
        }
        FrameOf(doc_)->close();
        QCoreApplication::processEvents();
    }
}

TEST_P(TreeBuildTest, FieldsListOnlyTheTableThatIsNamed) {
    ASSERT_NE(Open(), nullptr);
    // "order_items" as a pattern also matches order1items; its fields must not show.
    EXPECT_EQ(ChildLabels(Node({"Tables", "order_items", "Fields"})),
              (std::vector<std::string>{"order_id", "product_id", "quantity", "unit_price"}));
    EXPECT_EQ(ChildLabels(Node({"Tables", "order1items", "Fields"})),
              (std::vector<std::string>{"id", "note"}));
    QTreeWidgetItem *field = Node({"Tables", "order_items", "Fields", "order_id"});
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(CDBTreeView::Kind(field), Field);
}

// Drivers that list the fixture's procedure.
class ProcedureTreeBuildTest : public TreeBuildTest {};

TEST_P(ProcedureTreeBuildTest, ProceduresListTheirColumns) {
    app_->Settings().Procedures = 1;
    ASSERT_NE(Open(), nullptr);
    QTreeWidgetItem *procedure = Node({"Procedures", "order_count"});
    ASSERT_NE(procedure, nullptr);
    EXPECT_EQ(CDBTreeView::Kind(procedure), Procedure);
    EXPECT_EQ(ChildKinds(procedure), std::vector<int>{ColumnsFolder});
    QTreeWidgetItem *columns = Child(procedure, "Columns");
    ASSERT_NE(columns, nullptr);
    const std::vector<std::string> labels = ChildLabels(columns);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "cust"), labels.end());
    for (int kind : ChildKinds(columns))
        EXPECT_EQ(kind, ProcedureColumn);
}

TEST_P(TreeBuildTest, KeyFoldersLoadOnceOnFirstExpansion) {
    ASSERT_NE(Open(), nullptr);
    QTreeWidgetItem *orders = Node({"Tables", "orders"});
    ASSERT_NE(orders, nullptr);
    orders->setExpanded(true);
    EXPECT_EQ(ChildLabels(orders),
              (std::vector<std::string>{"Fields", "Primary Keys", "Foreign Keys"}));
    EXPECT_EQ(ChildKinds(orders),
              (std::vector<int>{FieldsFolder, PrimaryKeysFolder, ForeignKeysFolder}));
    EXPECT_EQ(ChildLabels(Child(orders, "Primary Keys")), std::vector<std::string>{"id"});
    EXPECT_EQ(ChildKinds(Child(orders, "Primary Keys")), std::vector<int>{PrimaryKeyColumn});
    EXPECT_EQ(ChildLabels(Child(orders, "Foreign Keys")), std::vector<std::string>{"customer_id"});
    EXPECT_EQ(ChildKinds(Child(orders, "Foreign Keys")), std::vector<int>{ForeignKeyColumn});

    orders->setExpanded(false);
    orders->setExpanded(true);
    EXPECT_EQ(orders->childCount(), 3);
    EXPECT_EQ(Child(orders, "Primary Keys")->childCount(), 1);

    // No foreign key: only the primary key folder.
    QTreeWidgetItem *customers = Node({"Tables", "customers"});
    customers->setExpanded(true);
    EXPECT_EQ(ChildLabels(customers), (std::vector<std::string>{"Fields", "Primary Keys"}));
    EXPECT_EQ(Frame().MessageText(), "For Help, press F1");
}

TEST_P(TreeBuildTest, TableWithoutKeysAsksAgainOnEveryExpansion) {
    ExecuteSql(source_.connect,
               {"DROP TABLE IF EXISTS tree_keyless", "CREATE TABLE tree_keyless (a INTEGER)"});
    ASSERT_NE(Open(), nullptr);
    QTreeWidgetItem *table = Node({"Tables", "tree_keyless"});
    ASSERT_NE(table, nullptr);
    table->setExpanded(true);
    EXPECT_EQ(ChildLabels(table), std::vector<std::string>{"Fields"});
    table->setExpanded(false);

    // The table gains a key behind the tree's back: the next expansion finds it.
    ExecuteSql(source_.connect,
               {"DROP TABLE tree_keyless", "CREATE TABLE tree_keyless (a INTEGER PRIMARY KEY)"});
    table->setExpanded(true);
    EXPECT_EQ(ChildLabels(table), (std::vector<std::string>{"Fields", "Primary Keys"}));
    EXPECT_EQ(ChildLabels(Child(table, "Primary Keys")), std::vector<std::string>{"a"});
    ExecuteSql(source_.connect, {"DROP TABLE tree_keyless"});
}

TEST_P(TreeBuildTest, RefreshRebuildsAndDropsLoadedKeys) {
    ASSERT_NE(Open(), nullptr);
    Node({"Tables", "orders"})->setExpanded(true);
    Select(Node({"Tables", "orders"}));
    ASSERT_EQ(Node({"Tables", "orders"})->childCount(), 3);

    // Settings changed now show after Refresh; the pane caption stays.
    app_->Settings().Views = 1;
    FocusTree();
    ASSERT_TRUE(Frame().SendCommand(ID_REFRESH));
    EXPECT_EQ(ChildLabels(tree_->RootNode()), (std::vector<std::string>{"Tables", "Views"}));
    EXPECT_EQ(Node({"Tables", "orders"})->childCount(), 1);
    EXPECT_EQ(tree_->CurrentNode(), nullptr);
    EXPECT_FALSE(tree_->IsBuilding());
    EXPECT_EQ(FrameOf(doc_)->TreeFrame()->GetCaption(), "All Tables:");
    EXPECT_EQ(Frame().MessageText(), "For Help, press F1");
}

INSTANTIATE_TEST_SUITE_P(Procedures, ProcedureTreeBuildTest,
                         ::testing::ValuesIn(SourcesWhere([](const DriverFacts &f) {
                             return !f.procedure.empty();
                         })),
                         [](const auto &info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Drivers, TreeBuildTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
