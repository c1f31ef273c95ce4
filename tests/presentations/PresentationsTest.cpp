#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <sqlext.h>

#include "PresentationsFixture.h"
#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CTables.h"
#include "connection/CDriverInfo.h"
#include "odbc/DatabaseError.h"

// Every presentation against what the fixture's driver returns, on both drivers.

namespace {

using Texts = std::vector<std::string>;

// The parts of a "|"-separated driver fact.
Texts Fields(const std::string &fact) {
    Texts fields;
    size_t start = 0;
    for (size_t bar = fact.find('|'); bar != std::string::npos; bar = fact.find('|', start)) {
        fields.push_back(fact.substr(start, bar - start));
        start = bar + 1;
    }
    fields.push_back(fact.substr(start));
    return fields;
}
// PROCEDURE_TYPE and COLUMN_TYPE numbers of the facts, and their texts in the grid.
const std::map<std::string, std::string> TypeTexts{{std::to_string(SQL_PT_PROCEDURE), "PROCEDURE"},
                                                   {std::to_string(SQL_PT_FUNCTION), "FUNCTION"}};
const std::map<std::string, std::string> ColumnTypeTexts{
    {std::to_string(SQL_PARAM_INPUT), "PARAM INPUT"},
    {std::to_string(SQL_RETURN_VALUE), "RETURN VALUE"}};

const Texts PrivilegeTitles{"Name", "Privilege", "Grantable", "Grantor", "Grantee"};
const Texts ForeignKeyTitles{"FK Column", "FK Name",  "Sequence",  "Update",
                             "Delete",    "PK Table", "PK Column", "PK Name"};

bool IsNumber(const std::string &text) {
    if (text.empty())
        return false;
    for (size_t i = text[0] == '-' ? 1 : 0; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

class PresentationsTest : public PresentationsFixture {};

TEST_P(PresentationsTest, DriverInfoShowsTheDocumentsTextsAsProperties) {
    Show().ShowDriverInfo();
    EXPECT_EQ(grid_->Caption(), "General information about the driver and data source:");
    const CDriverInfo *info = doc_->DriverInfo();
    ASSERT_NE(info, nullptr);
    Texts labels(CDriverInfo::Labels().begin(), CDriverInfo::Labels().end());
    ExpectPropertyLayout(labels);
    ASSERT_EQ(grid_->RowCount(), CDriverInfo::InfoCount);
    for (int i = 0; i < CDriverInfo::InfoCount; ++i)
        EXPECT_EQ(grid_->GetCellText(i, 1), info->Text(static_cast<CDriverInfo::Info>(i))) << i;
    EXPECT_FALSE(Value("DBMS Name").empty());
}

TEST_P(PresentationsTest, TablesOfATypeComeFromTheDocumentsTableList) {
    app_->Settings().Views = 1;
    ASSERT_TRUE(doc_->FetchTables());
    const std::string version = doc_->DriverInfo()->Text(CDriverInfo::OdbcVersion);
    // The driver manager here speaks ODBC 3, so the newer wording applies.
    ASSERT_TRUE(version.starts_with("03.")) << version;
    const Texts titles{"Name", "Type", "Catalog", "Schema", "Remarks"};

    Show().ShowTables(nullptr, "TABLE");
    EXPECT_EQ(grid_->Caption(), "List of table, catalog, or schema names, and table types:");
    ExpectGridLayout(titles);
    const Texts names = Column(0);
    for (const char *table :
         {"customers", "products", "orders", "order_items", "order1items", "audit_log"})
        EXPECT_NE(std::find(names.begin(), names.end(), table), names.end()) << table;
    for (const std::string &type : Column(1))
        EXPECT_EQ(type, "TABLE");
    EXPECT_EQ(RowNamed("customers")[3], Facts().schema);

    Show().ShowTables(nullptr, "VIEW");
    EXPECT_EQ(Column(0), (Texts{"customer_orders", "order_totals"}));
    // Only what the document fetched: system tables were not asked for.
    Show().ShowTables(nullptr, "SYSTEM TABLE");
    ExpectGridLayout(titles);
    EXPECT_EQ(grid_->RowCount(), 0);

    Show().ShowTables("order_items", nullptr);
    ExpectPropertyLayout(titles);
    EXPECT_EQ(Column(1), (Texts{"order_items", "TABLE", Catalog(), Facts().schema, ""}));
    ExpectNoError();
}

// Cases only the PostgreSQL server can stage.
class PostgresPresentationsTest : public PresentationsTest {};

// The SQLite driver lists one table per name, MariaDB's the current database's only.
TEST_P(PostgresPresentationsTest, ASingleObjectShowsTheLastOfTwoMatchingRecords) {
    // A second owner's table of the same name, inside a transaction that is
    // rolled back: only this connection ever sees it.
    const SQLHDBC dbc = doc_->Database().Dbc();
    const SQLRETURN rc = SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                                           reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
    // This has failed now and then under load: the driver's words say why.
    ASSERT_TRUE(SQL_SUCCEEDED(rc))
        << DatabaseError::FromDiagnostics(rc, SQL_NULL_HENV, dbc, SQL_NULL_HSTMT).ErrorText()
        << " (worker busy: " << doc_->IsWorking() << ")";
    struct Rollback {
        SQLHDBC dbc;
        ~Rollback() {
            SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
            SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                              reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
        }
    } rollback{dbc};
    Execute("CREATE SCHEMA zz_second_owner");
    Execute("CREATE TABLE zz_second_owner.customers (id VARCHAR(9), remark VARCHAR(5))");
    ASSERT_TRUE(doc_->FetchTables());
    std::vector<std::string> owners;
    CTables &tables = *doc_->Tables();
    for (tables.MoveFirst(); !tables.IsEOF(); tables.MoveNext())
        if (tables.TableName == "customers")
            owners.push_back(tables.TableOwner);
    ASSERT_EQ(owners.size(), 2u);

    Show().ShowTables("customers", nullptr);
    EXPECT_EQ(Value("Schema"), owners.back());

    // Columns of both tables come back for the name; the last "id" stays.
    AllColumnInfo(true);
    Show().ShowColumns("customers", "id");
    std::string lastType;
    CColumns &columns = *doc_->Columns();
    for (columns.MoveFirst(); !columns.IsEOF(); columns.MoveNext())
        if (columns.ColumnName == "id")
            lastType = columns.TypeName;
    EXPECT_EQ(Value("Type"), lastType);
}

TEST_P(PresentationsTest, ColumnsShowTheOptionalCellsAndNaForNullScale) {
    AllColumnInfo(true);
    Show().ShowColumns("customers", nullptr);
    EXPECT_EQ(grid_->Caption(), "List of column names in specified tables:");
    ExpectGridLayout(
        {"Name", "Type", "Length", "Precision", "Scale", "Radix", "Nullable", "Remarks"});
    ASSERT_EQ(Column(0), (Texts{"id", "name", "city", "created"}));
    EXPECT_EQ(Column(6), (Texts{"No", "No", "Yes", "Yes"}));
    EXPECT_EQ(Row(1)[3], "60");
    EXPECT_EQ(Row(2)[3], "40");

    // The cells are the driver's values, row for row.
    CColumns &columns = *doc_->Columns();
    columns.MoveFirst();
    for (int row = 0; row < grid_->RowCount(); ++row, columns.MoveNext()) {
        ASSERT_FALSE(columns.IsEOF());
        const Texts cells = Row(row);
        EXPECT_EQ(cells[1], columns.TypeName);
        EXPECT_EQ(cells[2], std::to_string(columns.Length));
        EXPECT_EQ(cells[3], std::to_string(columns.Precision));
    }
    if (!Facts().customerScales.empty()) {
        // SCALE and RADIX the driver leaves NULL show as <na>.
        for (int row = 0; row < grid_->RowCount(); ++row) {
            std::string cells = Row(row)[0] + "|" + Row(row)[4] + "|" + Row(row)[5];
            for (size_t at = cells.find("<na>"); at != std::string::npos; at = cells.find("<na>"))
                cells.replace(at, 4, "NULL");
            EXPECT_EQ(cells, Facts().customerScales[static_cast<size_t>(row)]);
        }
    } else {
        for (const std::string &scale : Column(4))
            EXPECT_TRUE(IsNumber(scale)) << scale;
    }

    AllColumnInfo(false);
    Show().ShowColumns("order_items", "quantity");
    ExpectPropertyLayout({"Name", "Type", "Remarks"});
    EXPECT_EQ(Value("Name"), "quantity");
    // The pattern escape keeps order1items' columns out.
    Show().ShowColumns("order_items", nullptr);
    EXPECT_EQ(Column(0), (Texts{"order_id", "product_id", "quantity", "unit_price"}));

    Show().ShowColumns("customers", "no_such_column");
    ExpectPropertyLayout({"Name", "Type", "Remarks"});
    EXPECT_EQ(Column(1), (Texts{"", "", ""}));
    ExpectNoError();
}

TEST_P(PresentationsTest, ProcedureColumnsAndProcedures) {
    AllColumnInfo(true);
    const Texts columnTitles{"Name",  "Data",  "Type",     "Length", "Precision",
                             "Scale", "Radix", "Nullable", "Remarks"};
    Show().ShowProcedureColumns("order_count", nullptr);
    EXPECT_EQ(grid_->Caption(),
              "List of input/output parameters, and the columns that make up the result set:");
    ExpectGridLayout(columnTitles);
    Show().ShowProcedures(nullptr);
    EXPECT_EQ(grid_->Caption(), "List of procedure names:");
    ExpectGridLayout({"Name", "Type", "Catalog", "Schema", "Remarks"});
    const DriverFacts &facts = Facts();
    if (facts.procedure.empty()) {
        EXPECT_EQ(grid_->RowCount(), 0);
        Show().ShowProcedureColumns("order_count", nullptr);
        EXPECT_EQ(grid_->RowCount(), 0);
        ExpectNoError();
        return;
    }
    if (facts.listsSystemProcedures) {
        EXPECT_GT(grid_->RowCount(), 100);
    }
    // The facts read SCHEMA|NAME|REMARKS|TYPE, and NAME|COLUMN|COLUMN_TYPE|DATA_TYPE|SCALE|RADIX.
    const Texts procedure = Fields(facts.procedure);
    const Texts procedureRow{"order_count", TypeTexts.at(procedure[3]),
                             facts.procedureCatalogIsDatabase ? Catalog() : "", procedure[0], ""};
    EXPECT_EQ(RowNamed("order_count"), procedureRow);

    Show().ShowProcedureColumns("order_count", nullptr);
    ASSERT_EQ(grid_->RowCount(), static_cast<int>(facts.procedureColumns.size()));
    for (int row = 0; row < grid_->RowCount(); ++row) {
        const Texts column = Fields(facts.procedureColumns[static_cast<size_t>(row)]);
        EXPECT_EQ(Row(row)[0], column[1]);
        EXPECT_EQ(Row(row)[2], ColumnTypeTexts.at(column[2]));
        EXPECT_EQ(Row(row)[5], column[4]);
        EXPECT_EQ(Row(row)[6], column[5]);
    }

    AllColumnInfo(false);
    // The column restriction goes to the driver; where it matches no parameter by
    // name, the labels stand with empty values.
    Show().ShowProcedureColumns("order_count", "cust");
    ExpectPropertyLayout({"Name", "Data", "Type", "Remarks"});
    EXPECT_EQ(Column(1), facts.namedProcedureColumn);

    Show().ShowProcedures("order_count");
    ExpectPropertyLayout({"Name", "Type", "Catalog", "Schema", "Remarks"});
    EXPECT_EQ(Column(1), procedureRow);
    ExpectNoError();
}

TEST_P(PresentationsTest, MissingColumnPrivilegesLeaveCaptionAndLabelsSilently) {
    Show().ShowColumnPrivileges("orders", nullptr);
    EXPECT_EQ(grid_->Caption(), "List of columns and associated privileges:");
    ExpectGridLayout(PrivilegeTitles);
    EXPECT_EQ(grid_->RowCount(), 0);
    Show().ShowColumnPrivileges("orders", "status");
    ExpectGridLayout(PrivilegeTitles);
    EXPECT_EQ(grid_->RowCount(), 0);
    ExpectNoError();
}

TEST_P(PresentationsTest, TablePrivilegesListTheTablesGrants) {
    Show().ShowTablePrivileges("orders");
    EXPECT_EQ(grid_->Caption(), "List of privileges associated with the table:");
    ExpectGridLayout(PrivilegeTitles);
    ASSERT_GT(grid_->RowCount(), 0);
    for (const std::string &name : Column(0))
        EXPECT_EQ(name, "orders");
    const Texts privileges = Column(1);
    EXPECT_NE(std::find(privileges.begin(), privileges.end(), "SELECT"), privileges.end());
    if (!Facts().granteeOfOrders.empty()) {
        // GRANTEE|PRIVILEGE|IS_GRANTABLE
        const Texts grant = Fields(Facts().granteeOfOrders);
        bool found = false;
        for (int row = 0; row < grid_->RowCount(); ++row)
            found = found ||
                    (Row(row)[1] == grant[1] && Row(row)[2] == grant[2] && Row(row)[4] == grant[0]);
        EXPECT_TRUE(found);
    }
    ExpectNoError();
}

TEST_P(PresentationsTest, StatisticsShowIndexRowsAsAsked) {
    Show().ShowStatistics("orders", SQL_INDEX_ALL, SQL_ENSURE);
    EXPECT_EQ(grid_->Caption(),
              "List of statistics about a single table and the indexes associated with the table:");
    ExpectGridLayout({"Type", "Table Name", "Table Catalog", "Table Schema", "Index Name",
                      "Index Qualifier", "Non Unique", "Index Sequence", "Column Name", "Collation",
                      "Cardinality", "Pages", "Filter Condition"});
    const auto indexRow = [this](const std::string &index) {
        for (int row = 0; row < grid_->RowCount(); ++row)
            if (grid_->GetCellText(row, 4) == index)
                return Row(row);
        return Texts();
    };
    const Texts byCustomer = indexRow("idx_orders_customer");
    ASSERT_FALSE(byCustomer.empty());
    EXPECT_EQ(byCustomer[1], "orders");
    EXPECT_EQ(byCustomer[3], Facts().schema);
    EXPECT_EQ(byCustomer[6], "Yes");
    EXPECT_EQ(byCustomer[7], "1");
    EXPECT_EQ(byCustomer[8], "customer_id");
    EXPECT_EQ(byCustomer[9], "Ascending");
    for (int row = 0; row < grid_->RowCount(); ++row) {
        const Texts cells = Row(row);
        EXPECT_TRUE(IsNumber(cells[10]) && IsNumber(cells[11])) << cells[10] << " " << cells[11];
        // The table's own statistic describes no index.
        if (cells[0] == "Table Statistic") {
            EXPECT_EQ(Texts(cells.begin() + 4, cells.begin() + 10), Texts(6, ""));
        }
    }

    Show().ShowStatistics("orders", SQL_INDEX_UNIQUE, SQL_QUICK);
    EXPECT_TRUE(indexRow("idx_orders_customer").empty());
    const Texts uniqueColumns = Column(8);
    EXPECT_NE(std::find(uniqueColumns.begin(), uniqueColumns.end(), "id"), uniqueColumns.end());
    ExpectNoError();
}

TEST_P(PresentationsTest, SpecialColumnsListRowIdsBeforeRowVersions) {
    AllColumnInfo(true);
    const DriverFacts &facts = Facts();
    // A driver with a row id of its own shows it for a table without a key.
    const bool ownRowId = !facts.bestRowIdOfKeylessTable.empty();
    Show().ShowSpecialColumns(ownRowId ? "audit_log" : "orders");
    EXPECT_EQ(grid_->Caption(), "Information about special columns:");
    ExpectGridLayout({"Name", "Type", "Length", "Precision", "Scale", "Return", "Scope", "Pseudo"});
    if (ownRowId) {
        ASSERT_EQ(grid_->RowCount(), 1);
        const Texts only = Row(0);
        EXPECT_EQ(only[0], facts.bestRowIdOfKeylessTable);
        EXPECT_EQ(Texts(only.begin() + 5, only.end()), (Texts{"ROWID", "SESSION", "Yes"}));
    } else {
        ASSERT_GE(grid_->RowCount(), 1);
        int rowIds = grid_->RowCount();
        if (!facts.rowVersionColumn.empty()) {
            const Texts last = Row(--rowIds);
            EXPECT_EQ(last[0], facts.rowVersionColumn);
            EXPECT_EQ(Texts(last.begin() + 5, last.end()), (Texts{"ROWVER", "<na>", "Yes"}));
        }
        for (int row = 0; row < rowIds; ++row)
            EXPECT_EQ(Row(row)[5], "ROWID");
    }
    ExpectNoError();
}

TEST_P(PresentationsTest, KeysOfATableAndOfOneColumn) {
    Show().ShowPrimaryKeys("order_items", nullptr);
    EXPECT_EQ(grid_->Caption(), "List of column names that make up the primary key:");
    ExpectGridLayout({"PK Column", "PK Name", "Sequence"});
    EXPECT_EQ(Column(0), (Texts{"order_id", "product_id"}));
    EXPECT_EQ(Column(2), (Texts{"1", "2"}));
    if (!Facts().primaryKeyName.empty()) {
        EXPECT_EQ(Column(1), Texts(2, Facts().primaryKeyName));
    }
    Show().ShowPrimaryKeys("order_items", "product_id");
    ExpectPropertyLayout({"PK Column", "PK Name", "Sequence"});
    EXPECT_EQ(Value("PK Column"), "product_id");
    EXPECT_EQ(Value("Sequence"), "2");
    // No primary key: nothing listed, nothing said.
    Show().ShowPrimaryKeys("audit_log", nullptr);
    EXPECT_EQ(grid_->RowCount(), 0);

    Show().ShowForeignKeys("order_items", nullptr);
    EXPECT_EQ(grid_->Caption(), "List of column names that make up foreign keys:");
    ExpectGridLayout(ForeignKeyTitles);
    ASSERT_EQ(grid_->RowCount(), 2);
    const Texts product = RowNamed("product_id");
    ASSERT_FALSE(product.empty());
    EXPECT_EQ(product[2], "1");
    const std::string rule = Facts().foreignKeyRule == SQL_RESTRICT ? "RESTRICT" : "NO ACTION";
    EXPECT_EQ(product[3], rule);
    EXPECT_EQ(product[4], rule);
    EXPECT_EQ(product[5], "products");
    EXPECT_EQ(product[6], "id");
    if (!Facts().foreignKeyNames.empty()) {
        // FK_NAME|PK_NAME of the key to products.
        const Texts names = Fields(Facts().foreignKeyNames[1]);
        EXPECT_EQ(product[1], names[0]);
        EXPECT_EQ(product[7], names[1]);
    }
    Show().ShowForeignKeys("order_items", "order_id");
    ExpectPropertyLayout(ForeignKeyTitles);
    EXPECT_EQ(Value("FK Column"), "order_id");
    EXPECT_EQ(Value("PK Table"), "orders");
    ExpectNoError();
}

TEST_P(PresentationsTest, FinishingFollowsTheAutoFormatFlag) {
    doc_->AutoFormat = 0;
    Show().ShowPrimaryKeys("order_items", nullptr);
    // Off: every column as wide as its title plus 18.
    EXPECT_EQ(grid_->columnWidth(0), grid_->TextWidth(QStringLiteral("PK Column")) + 18);
    EXPECT_EQ(grid_->columnWidth(2), grid_->TextWidth(QStringLiteral("Sequence")) + 18);

    doc_->AutoFormat = 1;
    Show().ShowPrimaryKeys("order_items", nullptr);
    // On: wide enough for the longest cell, never narrower than inserted.
    EXPECT_GE(grid_->columnWidth(0), grid_->TextWidth(QStringLiteral("product_id")) + 18);
    EXPECT_EQ(grid_->columnWidth(2), grid_->TextWidth(QStringLiteral("Sequence")) + 15);
}

// Only a server connection can be cut from inside.
class ServerPresentationsTest : public PresentationsTest {};

TEST_P(ServerPresentationsTest, ADatabaseErrorIsReportedAndSkipsTheFinishingStep) {
    doc_->AutoFormat = 0;
    // The server ends this connection's session: the next catalog call fails.
    try {
        Execute(Facts().dropOwnConnection);
    } catch (const DatabaseError &) {
    }
    Show().ShowPrimaryKeys("orders", nullptr);
    EXPECT_EQ(grid_->Caption(), "List of column names that make up the primary key:");
    ExpectGridLayout({"PK Column", "PK Name", "Sequence"});
    EXPECT_EQ(grid_->RowCount(), 0);
    EXPECT_EQ(prompts_->messages.size(), 1u);
    EXPECT_NE(console_->toPlainText().indexOf(QStringLiteral("Error: (")), -1);
    // Not finished: the columns keep their inserted width (title plus 15).
    EXPECT_EQ(grid_->columnWidth(0), grid_->TextWidth(QStringLiteral("PK Column")) + 15);
}

// After a failed Refresh the document has no driver information, table list or
// connection: each presentation still shows its caption and labels, and says nothing.
class UnconnectedPresentationsTest : public ShellFixture {};

TEST_F(UnconnectedPresentationsTest, ShowCaptionAndLabelsWithoutRecords) {
    CBrindleDoc doc(*app_);
    CDBListView grid(doc, nullptr);
    CatalogPresentations show(doc, grid);
    show.ShowDriverInfo();
    EXPECT_EQ(grid.RowCount(), CDriverInfo::InfoCount);
    EXPECT_EQ(grid.GetCellText(0, 0), "User Name");
    EXPECT_EQ(grid.GetCellText(0, 1), "");

    show.ShowTables(nullptr, "TABLE");
    // Without an "ODBC Version" the older wording stands.
    EXPECT_EQ(grid.GetColumnTitle(2), "Qualifier");
    EXPECT_EQ(grid.RowCount(), 0);
    show.ShowTables("orders", nullptr);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.GetCellText(0, 1), "");

    show.ShowColumns("orders", nullptr);
    EXPECT_EQ(grid.Caption(), "List of column names in specified tables:");
    EXPECT_EQ(grid.ColumnCount, 3);
    EXPECT_EQ(grid.RowCount(), 0);
    show.ShowSpecialColumns("orders");
    EXPECT_EQ(grid.Caption(), "Information about special columns:");
    EXPECT_EQ(grid.RowCount(), 0);
    show.ShowProcedures(nullptr);
    EXPECT_EQ(grid.GetColumnTitle(3), "Owner");
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_TRUE(prompts_->messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Postgres, PostgresPresentationsTest, ::testing::Values("postgres"),
                         [](const auto &info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Servers, ServerPresentationsTest,
                         ::testing::ValuesIn(SourcesWhere([](const DriverFacts &f) {
                             return !f.dropOwnConnection.empty();
                         })),
                         [](const auto &info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Sources, PresentationsTest, ::testing::ValuesIn(TestSourceNames()),
                         [](const auto &info) { return info.param; });

} // namespace
