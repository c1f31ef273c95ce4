#include <algorithm>
#include <string>
#include <vector>

#include <sqlext.h>

#include "CatalogRecordsetFixture.h"
#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CForeignKeys.h"
#include "catalog/recordsets/CPrimaryKeys.h"
#include "catalog/recordsets/CProcedureColumns.h"
#include "catalog/recordsets/CProcedures.h"
#include "catalog/recordsets/CSpecialColumns.h"
#include "catalog/recordsets/CStatistics.h"
#include "catalog/recordsets/CTablePrivileges.h"
#include "catalog/recordsets/CTables.h"
#include "catalog/recordsets/CTypeInfo.h"
#include "odbc/DatabaseError.h"

// Each recordset against the fixture schema: the rows it must find, read twice
// through the counted scan, with whole rows (every field and its NULL flag)
// compared between the passes (ScanWholeRows).

namespace {

using namespace recordset_test;

using Rows = std::vector<std::string>;

std::string N(int32_t value) { return std::to_string(value); }

// One character per field: 1 where the field was NULL on the current row.
std::string NullFlags(const Recordset &rs) {
    std::string flags;
    for (int i = 0; i < rs.FieldCount(); ++i)
        flags += rs.IsFieldNull(i) ? '1' : '0';
    return flags;
}

std::string WholeRow(const CTables &t) {
    return Row({t.TableQualifier, t.TableOwner, t.TableName, t.TableType, t.Remarks, NullFlags(t)});
}

std::string WholeRow(const CColumns &c) {
    return Row({c.TableQualifier, c.TableOwner, c.TableName, c.ColumnName, N(c.DataType),
                c.TypeName, N(c.Precision), N(c.Length), N(c.Scale), N(c.Radix), N(c.Nullable),
                c.Remarks, NullFlags(c)});
}

std::string WholeRow(const CPrimaryKeys &k) {
    return Row({k.TableQualifier, k.TableOwner, k.TableName, k.ColumnName, N(k.KeySeq), k.PkName,
                NullFlags(k)});
}

std::string WholeRow(const CForeignKeys &k) {
    return Row({k.PkTableQualifier, k.PkTableOwner, k.PkTableName, k.PkColumnName,
                k.FkTableQualifier, k.FkTableOwner, k.FkTableName, k.FkColumnName, N(k.KeySeq),
                N(k.UpdateRule), N(k.DeleteRule), k.FkName, k.PkName, NullFlags(k)});
}

std::string WholeRow(const CStatistics &s) {
    return Row({s.TableQualifier, s.TableOwner, s.TableName, N(s.NonUnique), s.IndexQualifier,
                s.IndexName, N(s.Type), N(s.SeqInIndex), s.ColumnName, s.Collation,
                N(s.Cardinality), N(s.Pages), s.FilterCondition, NullFlags(s)});
}

std::string WholeRow(const CSpecialColumns &s) {
    return Row({N(s.Scope), s.ColumnName, N(s.DataType), s.TypeName, N(s.Precision), N(s.Length),
                N(s.Scale), N(s.PseudoColumn), NullFlags(s)});
}

std::string WholeRow(const CTablePrivileges &p) {
    return Row({p.TableQualifier, p.TableOwner, p.TableName, p.Grantor, p.Grantee, p.Privilege,
                p.IsGrantable, NullFlags(p)});
}

std::string WholeRow(const CProcedures &p) {
    return Row({p.ProcedureQualifier, p.ProcedureOwner, p.ProcedureName, p.Remarks,
                N(p.ProcedureType), NullFlags(p)});
}

std::string WholeRow(const CProcedureColumns &p) {
    return Row({p.ProcedureQualifier, p.ProcedureOwner, p.ProcedureName, p.ColumnName,
                N(p.ColumnType), N(p.DataType), p.TypeName, N(p.Precision), N(p.Length), N(p.Scale),
                N(p.Radix), N(p.Nullable), p.Remarks, NullFlags(p)});
}

template <class R> Rows ScanWholeRows(R &rs) {
    return CountedScan(rs, [](const R &r) { return WholeRow(r); });
}

Rows Sorted(Rows rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

class CatalogRecordsetTest : public recordset_test::CatalogRecordsetFixture {};

TEST_P(CatalogRecordsetTest, TablesListsTablesAndViewsOfTheTypesAsked) {
    CTables tables(conn);
    ASSERT_TRUE(tables.Open(nullptr, nullptr, nullptr, "'TABLE','VIEW'"));
    ScanWholeRows(tables);
    const Rows rows = ReadRows(tables, [](const CTables &t) {
        return Row({t.TableName, t.TableType});
    });
    for (const char *table :
         {"customers", "products", "orders", "order_items", "order1items", "audit_log"})
        EXPECT_TRUE(Has(rows, Row({table, "TABLE"}))) << table;
    EXPECT_TRUE(Has(rows, "customer_orders|VIEW"));
    EXPECT_TRUE(Has(rows, "order_totals|VIEW"));
    for (const std::string &row : rows)
        EXPECT_TRUE(row.ends_with("|TABLE") || row.ends_with("|VIEW")) << row;

    CTables onlyTables(conn);
    ASSERT_TRUE(onlyTables.Open(nullptr, nullptr, nullptr, "'TABLE'"));
    const Rows owners = ReadRows(onlyTables, [](const CTables &t) {
        return Row({t.TableOwner, t.TableName, t.TableType});
    });
    EXPECT_TRUE(Has(owners, Facts().schema + "|customers|TABLE"));
    for (const std::string &row : owners)
        EXPECT_TRUE(row.ends_with("|TABLE")) << row;
}

TEST_P(CatalogRecordsetTest, ColumnsDescribeOneTableInColumnOrder) {
    CColumns columns(conn);
    ASSERT_TRUE(columns.Open(nullptr, nullptr, "customers", nullptr));
    ScanWholeRows(columns);
    const Rows rows = ReadRows(columns, [](const CColumns &c) {
        return Row({c.TableName, c.ColumnName, N(c.Nullable)});
    });
    EXPECT_EQ(rows, (Rows{"customers|id|0", "customers|name|0", "customers|city|1",
                          "customers|created|1"}));

    const Rows types = ReadRows(columns, [](const CColumns &c) {
        return Row({c.ColumnName, N(c.DataType), N(c.Precision)});
    });
    EXPECT_EQ(types[1], "name|" + N(Facts().textColumnType) + "|60");
    EXPECT_EQ(types[2], "city|" + N(Facts().textColumnType) + "|40");

    // SCALE and RADIX mean nothing for a text column: a driver may say NULL there.
    const Rows scales = ReadRows(columns, [](const CColumns &c) {
        return Row({c.ColumnName, NullOr(c, CColumns::FieldScale, c.Scale),
                    NullOr(c, CColumns::FieldRadix, c.Radix)});
    });
    if (!Facts().customerScales.empty()) {
        EXPECT_EQ(scales, Facts().customerScales);
    } else {
        for (const std::string &row : scales)
            EXPECT_EQ(row.find("NULL"), std::string::npos) << row;
    }
    for (const std::string &name : ReadRows(columns, [](const CColumns &c) { return c.TypeName; }))
        EXPECT_FALSE(name.empty());
}

TEST_P(CatalogRecordsetTest, PrimaryKeysComeInKeyOrder) {
    CPrimaryKeys keys(conn);
    ASSERT_TRUE(keys.Open(nullptr, nullptr, "order_items"));
    ScanWholeRows(keys);
    const Rows rows = ReadRows(keys, [](const CPrimaryKeys &k) {
        return Row({k.TableName, k.ColumnName, N(k.KeySeq)});
    });
    EXPECT_EQ(rows, (Rows{"order_items|order_id|1", "order_items|product_id|2"}));
    if (!Facts().primaryKeyName.empty()) {
        keys.MoveFirst();
        EXPECT_EQ(keys.PkName, Facts().primaryKeyName);
    }
}

TEST_P(CatalogRecordsetTest, ForeignKeysOfATableNameBothSides) {
    CForeignKeys keys(conn);
    ASSERT_TRUE(keys.Open(nullptr, nullptr, nullptr, nullptr, nullptr, "order_items"));
    ScanWholeRows(keys);
    const Rows rows = ReadRows(keys, [](const CForeignKeys &k) {
        return Row({k.PkTableName, k.PkColumnName, k.FkTableName, k.FkColumnName, N(k.KeySeq),
                    N(k.UpdateRule), N(k.DeleteRule)});
    });
    const std::string rules = "|" + N(Facts().foreignKeyRule) + "|" + N(Facts().foreignKeyRule);
    EXPECT_EQ(Sorted(rows), (Rows{"orders|id|order_items|order_id|1" + rules,
                                  "products|id|order_items|product_id|1" + rules}));
    if (!Facts().foreignKeyNames.empty()) {
        const Rows names = ReadRows(keys, [](const CForeignKeys &k) {
            return Row({k.FkName, k.PkName});
        });
        EXPECT_EQ(Sorted(names), Facts().foreignKeyNames);
    }
}

TEST_P(CatalogRecordsetTest, StatisticsListIndexColumns) {
    const auto indexRows = [](const CStatistics &s) {
        return Row({s.TableName, s.IndexName, s.ColumnName, N(s.NonUnique), N(s.SeqInIndex)});
    };
    CStatistics all(conn);
    ASSERT_TRUE(all.Open(nullptr, nullptr, "orders", SQL_INDEX_ALL, SQL_QUICK));
    ScanWholeRows(all);
    const Rows rows = ReadRows(all, indexRows);
    EXPECT_TRUE(Has(rows, "orders|idx_orders_customer|customer_id|1|1"));
    for (const std::string &row : rows)
        EXPECT_TRUE(row.starts_with("orders|")) << row;

    CStatistics unique(conn);
    ASSERT_TRUE(unique.Open(nullptr, nullptr, "orders", SQL_INDEX_UNIQUE, SQL_ENSURE));
    const Rows uniqueRows = ReadRows(unique, indexRows);
    EXPECT_FALSE(Has(uniqueRows, "orders|idx_orders_customer|customer_id|1|1"));
    const Rows keyColumns = ReadRows(unique, [](const CStatistics &s) {
        return Row({s.ColumnName, N(s.NonUnique)});
    });
    EXPECT_TRUE(Has(keyColumns, "id|0"));

    CStatistics products(conn);
    ASSERT_TRUE(products.Open(nullptr, nullptr, "products", SQL_INDEX_ALL, SQL_QUICK));
    EXPECT_TRUE(Has(ReadRows(products, indexRows), "products|idx_products_sku|sku|0|1"));
}

TEST_P(CatalogRecordsetTest, SpecialColumnsReportScopeOrItsAbsence) {
    const auto rowText = [](const CSpecialColumns &s) {
        return Row({NullOr(s, CSpecialColumns::FieldScope, s.Scope), s.ColumnName,
                    NullOr(s, CSpecialColumns::FieldScale, s.Scale), N(s.PseudoColumn)});
    };
    CSpecialColumns best(conn);
    ASSERT_TRUE(
        best.Open(SQL_BEST_ROWID, nullptr, nullptr, "audit_log", SQL_SCOPE_SESSION, SQL_NULLABLE));
    ScanWholeRows(best);
    const Rows bestRows = ReadRows(best, rowText);

    CSpecialColumns version(conn);
    ASSERT_TRUE(
        version.Open(SQL_ROWVER, nullptr, nullptr, "orders", SQL_SCOPE_SESSION, SQL_NULLABLE));
    ScanWholeRows(version);
    const Rows versionRows = ReadRows(version, rowText);

    const std::string pseudo = N(SQL_PC_PSEUDO);
    const DriverFacts &facts = Facts();
    if (facts.bestRowIdOfKeylessTable.empty()) {
        EXPECT_TRUE(bestRows.empty());
    } else {
        ASSERT_EQ(bestRows.size(), 1u);
        EXPECT_TRUE(bestRows[0].starts_with(N(SQL_SCOPE_SESSION) + "|" +
                                            facts.bestRowIdOfKeylessTable + "|"))
            << bestRows[0];
        EXPECT_TRUE(bestRows[0].ends_with("|" + pseudo)) << bestRows[0];
    }
    if (facts.rowVersionColumn.empty()) {
        EXPECT_TRUE(versionRows.empty());
    } else {
        // The row version has no scope: the column is NULL, not 0.
        EXPECT_EQ(versionRows, (Rows{"NULL|" + facts.rowVersionColumn + "|0|" + pseudo}));
    }
}

TEST_P(CatalogRecordsetTest, TablePrivilegesBelongToTheTable) {
    CTablePrivileges privileges(conn);
    ASSERT_TRUE(privileges.Open(nullptr, nullptr, "orders"));
    const Rows rows = ScanWholeRows(privileges);
    ASSERT_FALSE(rows.empty());
    const Rows granted = ReadRows(privileges, [](const CTablePrivileges &p) {
        return Row({p.TableName, p.Privilege});
    });
    for (const std::string &row : granted)
        EXPECT_TRUE(row.starts_with("orders|")) << row;
    EXPECT_TRUE(Has(granted, "orders|SELECT"));
    if (!Facts().granteeOfOrders.empty()) {
        const Rows grantees = ReadRows(privileges, [](const CTablePrivileges &p) {
            return Row({p.Grantee, p.Privilege, p.IsGrantable});
        });
        EXPECT_TRUE(Has(grantees, Facts().granteeOfOrders));
    }
}

TEST_P(CatalogRecordsetTest, ProceduresAndTheirColumns) {
    CProcedures one(conn);
    ASSERT_TRUE(one.Open(nullptr, nullptr, "order_count"));
    const Rows procedures = ReadRows(one, [](const CProcedures &p) {
        return Row({p.ProcedureOwner, p.ProcedureName, p.Remarks, N(p.ProcedureType)});
    });
    CProcedureColumns columns(conn);
    ASSERT_TRUE(columns.Open(nullptr, nullptr, "order_count", nullptr));
    ScanWholeRows(columns);
    const Rows parameters = ReadRows(columns, [](const CProcedureColumns &p) {
        return Row({p.ProcedureName, p.ColumnName, N(p.ColumnType), N(p.DataType),
                    NullOr(p, CProcedureColumns::FieldScale, p.Scale),
                    NullOr(p, CProcedureColumns::FieldRadix, p.Radix)});
    });

    if (Facts().procedure.empty()) {
        EXPECT_TRUE(procedures.empty());
        EXPECT_TRUE(parameters.empty());
        return;
    }
    EXPECT_EQ(procedures, (Rows{Facts().procedure}));
    EXPECT_EQ(parameters, Facts().procedureColumns);

    // The tree reads every procedure: thousands of rows on PostgreSQL.
    CProcedures all(conn);
    ASSERT_TRUE(all.Open(nullptr, nullptr, nullptr));
    const Rows everything = ScanWholeRows(all);
    if (Facts().listsSystemProcedures) {
        EXPECT_GT(everything.size(), 100u);
    }
    EXPECT_TRUE(
        Has(ReadRows(all, [](const CProcedures &p) { return p.ProcedureName; }), "order_count"));
}

TEST_P(CatalogRecordsetTest, TypeInfoReadsForwardOnly) {
    CTypeInfo types(conn);
    ASSERT_TRUE(types.Open(SQL_ALL_TYPES));
    Rows rows;
    bool caseSensitiveText = false, caseSensitiveNumber = false;
    while (!types.IsEOF()) {
        rows.push_back(Row({types.TypeName, N(types.DataType), types.LiteralPrefix}));
        if (types.DataType == SQL_VARCHAR)
            caseSensitiveText |= types.CaseSensitive;
        if (types.DataType == SQL_INTEGER)
            caseSensitiveNumber |= types.CaseSensitive;
        types.MoveNext();
    }
    EXPECT_EQ(types.RecordCount(), static_cast<long>(rows.size()));
    EXPECT_THROW(types.MoveFirst(), DatabaseError);
    EXPECT_TRUE(Has(rows, Row({Facts().integerTypeName, N(SQL_INTEGER), ""})));
    EXPECT_TRUE(Has(rows, Row({Facts().varcharTypeName, N(SQL_VARCHAR), "'"})));
    EXPECT_FALSE(caseSensitiveNumber);
    EXPECT_EQ(caseSensitiveText, Facts().textIsCaseSensitive);

    CTypeInfo integers(conn);
    ASSERT_TRUE(integers.Open(SQL_INTEGER));
    ASSERT_FALSE(integers.IsEOF());
    for (; !integers.IsEOF(); integers.MoveNext())
        EXPECT_EQ(integers.DataType, SQL_INTEGER) << integers.TypeName;
}

INSTANTIATE_CATALOG_TEST(CatalogRecordsetTest);

} // namespace
