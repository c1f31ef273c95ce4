#include "TreeFixture.h"

#include "catalog/CatalogTreeBuilder.h"
#include "catalog/CatalogTreeSink.h"

namespace {

// The builder's nodes as an indented outline, each node's children in the
// order they were added.
class OutlineSink : public CatalogTreeSink {
public:
    int AddNode(int parent, int kind, const std::string &label) override {
        nodes_.push_back({parent, kind, label});
        return static_cast<int>(nodes_.size() - 1);
    }
    std::string Outline() const {
        std::string text;
        for (int i = 0; i < static_cast<int>(nodes_.size()); ++i)
            if (nodes_[size_t(i)].parent == NoParent)
                Write(i, 0, text);
        return text;
    }

private:
    struct Node {
        int parent;
        int kind;
        std::string label;
    };
    void Write(int id, int depth, std::string &text) const {
        const Node &node = nodes_[size_t(id)];
        text +=
            std::string(size_t(depth), ' ') + std::to_string(node.kind) + " " + node.label + "\n";
        for (int i = id + 1; i < static_cast<int>(nodes_.size()); ++i)
            if (nodes_[size_t(i)].parent == id)
                Write(i, depth + 1, text);
    }
    std::vector<Node> nodes_;
};

class TreeColumnsTest : public TreeFixture {
protected:
    // The fields listed under the table node `label` of an outline.
    static std::vector<std::string> FieldsOf(const std::string &outline, const std::string &label) {
        std::vector<std::string> fields;
        const std::string table = " " + label + "\n   5 Fields\n";
        size_t at = outline.find(table);
        if (at == std::string::npos)
            return {"(no table " + label + ")"};
        at += table.size();
        while (outline.compare(at, 6, "    4 ") == 0) {
            const size_t end = outline.find('\n', at);
            fields.push_back(outline.substr(at + 6, end - at - 6));
            at = end + 1;
        }
        return fields;
    }

    std::string BuildOutline(CatalogTreeBuilder::ColumnFetch fetch,
                             size_t tablesPerCall = CatalogTreeBuilder::TablesPerColumnCall) {
        OutlineSink sink;
        CatalogTreeBuilder builder(*doc_, sink, fetch, tablesPerCall, tablesPerCall);
        builder.Build(false);
        fromDbmsCatalog_ = builder.TablesFromDbmsCatalog();
        return sink.Outline();
    }

    size_t fromDbmsCatalog_ = 0;
};

// One call for every table (or one per group of names), from the driver or from
// the DBMS's catalog, with the per-table call for what it misses, gives the tree of
// one call per table: a name with "_" (a pattern character), one with a quote, a
// relation with no columns, and (PostgreSQL) an index the driver also lists.
TEST_P(TreeColumnsTest, OneCallForEveryTableGivesTheTreeOfOneCallPerTable) {
    // A relation without columns: a table on PostgreSQL, a view whose table is
    // gone on SQLite; MariaDB has neither, and lists no index as a relation.
    const bool sqlite = source_.name == "sqlite";
    const bool columnless = source_.name != "mariadb";
    const std::string dropColumnless =
        sqlite ? "DROP VIEW IF EXISTS tree_columnless" : "DROP TABLE IF EXISTS tree_columnless";
    const std::string quoted = sqlite ? "\"tree_q'!%\"" : "\"tree_Q'!%\"";
    std::vector<std::string> setup = {dropColumnless, "DROP TABLE IF EXISTS tree_gone",
                                      "DROP TABLE IF EXISTS tree_indexed"};
    if (source_.name != "mariadb") {
        setup.push_back("DROP TABLE IF EXISTS " + quoted);
        setup.push_back("CREATE TABLE " + quoted + " (z INTEGER, y INTEGER)");
    }
    if (!sqlite) {
        if (columnless)
            setup.push_back("CREATE TABLE tree_columnless ()");
        setup.push_back("CREATE TABLE tree_indexed (a INTEGER, b INTEGER)");
        setup.push_back("CREATE INDEX tree_indexed_ba ON tree_indexed (b, a)");
    } else {
        // The SQLite driver lists a view whose table is gone, and no column of it.
        setup.push_back("CREATE TABLE tree_gone (a INTEGER)");
        setup.push_back("CREATE VIEW tree_columnless AS SELECT a FROM tree_gone");
        setup.push_back("DROP TABLE tree_gone");
    }
    ExecuteSql(source_.connect, setup);
    app_->Settings().Views = 1;
    ASSERT_NE(Open(), nullptr);

    const std::string bulk = BuildOutline(CatalogTreeBuilder::ColumnFetch::EveryTableAtOnce);
    EXPECT_EQ(bulk, BuildOutline(CatalogTreeBuilder::ColumnFetch::TableByTable));
    // Split by name prefix ("tree\_c%", "order\_%", ...) into calls of two tables.
    EXPECT_EQ(bulk, BuildOutline(CatalogTreeBuilder::ColumnFetch::EveryTableAtOnce, 2));
    for (const size_t perCall : {CatalogTreeBuilder::TablesPerColumnCall, size_t(2)}) {
        EXPECT_EQ(bulk, BuildOutline(CatalogTreeBuilder::ColumnFetch::DbmsCatalog, perCall));
        // SQLite and PostgreSQL read it from their own catalog; MariaDB from its driver.
        EXPECT_EQ(fromDbmsCatalog_ > 0, source_.name != "mariadb") << perCall;
    }
    if (columnless) {
        EXPECT_EQ(FieldsOf(bulk, "tree_columnless"), std::vector<std::string>{});
    }
    EXPECT_EQ(FieldsOf(bulk, "order_items"),
              (std::vector<std::string>{"order_id", "product_id", "quantity", "unit_price"}));
    if (!sqlite) {
        EXPECT_EQ(FieldsOf(bulk, "tree_indexed"), (std::vector<std::string>{"a", "b"}));
        EXPECT_EQ(bulk.find("tree_indexed_ba"), std::string::npos);
    }
    if (source_.name != "mariadb") {
        EXPECT_EQ(FieldsOf(bulk, sqlite ? "tree_q'!%" : "tree_Q'!%"),
                  (std::vector<std::string>{"z", "y"}));
    }
    ExecuteSql(source_.connect, {dropColumnless, "DROP TABLE IF EXISTS tree_indexed"});
    if (source_.name != "mariadb")
        ExecuteSql(source_.connect, {"DROP TABLE IF EXISTS " + quoted});
}

INSTANTIATE_TEST_SUITE_P(Drivers, TreeColumnsTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

// psqlODBC with row versioning lists a column "xmin" the catalog does not have:
// the tree then takes every table's columns from the driver, as it shows them.
class DriverOwnColumnsTest : public TreeColumnsTest {};

TEST_P(DriverOwnColumnsTest, ADriverThatAddsColumnsIsNotReplacedByTheCatalog) {
    source_.connect += ";RowVersioning=1";
    ASSERT_NE(Open(), nullptr);
    const std::string tree = BuildOutline(CatalogTreeBuilder::ColumnFetch::DbmsCatalog);
    EXPECT_EQ(fromDbmsCatalog_, 0u);
    EXPECT_EQ(tree, BuildOutline(CatalogTreeBuilder::ColumnFetch::TableByTable));
    EXPECT_EQ(
        FieldsOf(tree, "order_items"),
        (std::vector<std::string>{"order_id", "product_id", "quantity", "unit_price", "xmin"}));
}

INSTANTIATE_TEST_SUITE_P(Postgres, DriverOwnColumnsTest, ::testing::Values("postgres"),
                         [](const auto &info) { return info.param; });

} // namespace
