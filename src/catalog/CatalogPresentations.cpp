#include "catalog/CatalogPresentations.h"

#include <cstdio>

#include <sqlext.h>

#include "catalog/CatalogLabels.h"
#include "catalog/CatalogValueText.h"
#include "catalog/recordsets/CColumnPrivileges.h"
#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CForeignKeys.h"
#include "catalog/recordsets/CPrimaryKeys.h"
#include "catalog/recordsets/CProcedureColumns.h"
#include "catalog/recordsets/CProcedures.h"
#include "catalog/recordsets/CSpecialColumns.h"
#include "catalog/recordsets/CStatistics.h"
#include "catalog/recordsets/CTablePrivileges.h"
#include "catalog/recordsets/CTables.h"
#include "connection/CBrindleDoc.h"
#include "connection/CDriverInfo.h"
#include "connection/GridSink.h"
#include "framework/AppSettings.h"
#include "framework/DocumentHost.h"
#include "framework/WaitCursor.h"
#include "odbc/DatabaseError.h"

namespace {

const char *const NotAvailable = "<na>";

std::string Number(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

// A null-tested field: "<na>" when it was NULL on the current row.
std::string NumberOrNa(const Recordset &rs, int field, int32_t value) {
    return rs.IsFieldNull(field) ? NotAvailable : Number(value);
}

bool Matches(const char *restriction, const std::string &value) {
    return !restriction || value == restriction;
}

} // namespace

CatalogPresentations::CatalogPresentations(CBrindleDoc &doc, GridSink &grid)
    : m_doc(doc), m_grid(grid) {}

void CatalogPresentations::Begin(bool propertyMode, const std::vector<std::string> &labels,
                                 const char *caption) {
    m_grid.SetPropertyMode(propertyMode);
    m_grid.SetColumns(labels, QString::fromLatin1(caption));
}

void CatalogPresentations::SetCatalogCell(int record, int label, const std::string &text) {
    // In single-object layout every record writes the same cells: the last one stays.
    if (m_grid.IsPropertyMode())
        m_grid.SetCellText(label, 1, text);
    else
        m_grid.SetCellText(record, label, text);
}

int CatalogPresentations::LayRecords(Recordset &rs, int record, const std::function<bool()> &accept,
                                     const std::function<Cells()> &cells) {
    if (rs.RecordCount() <= 0)
        return record;
    rs.MoveFirst();
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (accept && !accept())
            continue;
        const Cells texts = cells();
        for (size_t label = 0; label < texts.size(); ++label)
            SetCatalogCell(record, static_cast<int>(label), texts[label]);
        ++record;
    }
    return record;
}

void CatalogPresentations::Finish() { m_grid.AutoFormatColumns(m_doc.AutoFormat != 0); }

void CatalogPresentations::Present(const std::function<bool()> &lay) {
    try {
        // A catalog function the driver lacks lays nothing and says nothing.
        if (!lay())
            return;
    } catch (const DatabaseError &error) {
        m_doc.ReportError(error);
        return;
    }
    Finish();
}

std::string CatalogPresentations::OdbcVersion() const {
    const CDriverInfo *info = m_doc.DriverInfo();
    return info ? info->Text(CDriverInfo::OdbcVersion) : std::string();
}

void CatalogPresentations::ShowDriverInfo() {
    WaitCursor wait;
    Begin(true, DriverInfoLabels(), "General information about the driver and data source:");
    // After a failed Refresh there is no driver information: the labels stand alone.
    if (const CDriverInfo *info = m_doc.DriverInfo()) {
        const CDriverInfo::Texts &texts = info->AllTexts();
        for (size_t label = 0; label < texts.size(); ++label)
            SetCatalogCell(0, static_cast<int>(label), texts[label]);
    }
    Finish();
}

void CatalogPresentations::ShowTables(const char *tableName, const char *tableType) {
    WaitCursor wait;
    Begin(tableName != nullptr, CatalogWordingLabels(OdbcVersion()),
          "List of table, catalog, or schema names, and table types:");
    // Only the document's own table list is read, so only the fetched types show.
    if (CTables *tables = m_doc.Tables()) {
        const bool synonyms = tableType && std::string(tableType) == "SYNONYM";
        Present([&] {
            LayRecords(
                *tables, 0,
                [&] {
                    if (!Matches(tableName, tables->TableName))
                        return false;
                    return Matches(tableType, tables->TableType) ||
                           (synonyms && tables->TableType == "ALIAS");
                },
                [&] {
                    return Cells{tables->TableName, tables->TableType, tables->TableQualifier,
                                 tables->TableOwner, tables->Remarks};
                });
            return true;
        });
        return;
    }
    Finish();
}

void CatalogPresentations::ShowColumns(const std::string &tableName, const char *columnName) {
    WaitCursor wait;
    const AppSettings settings = m_doc.Host().Settings();
    Begin(columnName != nullptr, ColumnLabels(settings),
          "List of column names in specified tables:");
    m_doc.FetchColumns(tableName);
    if (CColumns *columns = m_doc.Columns()) {
        Present([&] {
            LayRecords(
                *columns, 0, [&] { return Matches(columnName, columns->ColumnName); },
                [&] {
                    Cells cells{columns->ColumnName, columns->TypeName};
                    if (settings.Length)
                        cells.push_back(Number(columns->Length));
                    if (settings.Precision) {
                        cells.push_back(Number(columns->Precision));
                        cells.push_back(NumberOrNa(*columns, CColumns::FieldScale, columns->Scale));
                        cells.push_back(NumberOrNa(*columns, CColumns::FieldRadix, columns->Radix));
                    }
                    if (settings.Nullability)
                        cells.push_back(NullableText(columns->Nullable));
                    cells.push_back(columns->Remarks);
                    return cells;
                });
            return true;
        });
        return;
    }
    Finish();
}

void CatalogPresentations::ShowProcedureColumns(const std::string &procedureName,
                                                const char *columnName) {
    WaitCursor wait;
    const AppSettings settings = m_doc.Host().Settings();
    Begin(columnName != nullptr, ProcedureColumnLabels(settings),
          "List of input/output parameters, and the columns that make up the result set:");
    Present([&] {
        CProcedureColumns columns(m_doc.Database());
        if (!columns.Open(nullptr, nullptr, procedureName.c_str(), columnName))
            return false;
        LayRecords(columns, 0, nullptr, [&] {
            Cells cells{columns.ColumnName, columns.TypeName, ColumnTypeText(columns.ColumnType)};
            if (settings.Length)
                cells.push_back(Number(columns.Length));
            if (settings.Precision) {
                cells.push_back(Number(columns.Precision));
                cells.push_back(NumberOrNa(columns, CProcedureColumns::FieldScale, columns.Scale));
                cells.push_back(NumberOrNa(columns, CProcedureColumns::FieldRadix, columns.Radix));
            }
            if (settings.Nullability)
                cells.push_back(NullableText(columns.Nullable));
            cells.push_back(columns.Remarks);
            return cells;
        });
        columns.Close();
        return true;
    });
}

void CatalogPresentations::ShowColumnPrivileges(const std::string &tableName,
                                                const char *columnName) {
    WaitCursor wait;
    Begin(false, PrivilegeLabels(), "List of columns and associated privileges:");
    Present([&] {
        CColumnPrivileges privileges(m_doc.Database());
        if (!privileges.Open(nullptr, nullptr, tableName.c_str(), columnName))
            return false;
        LayRecords(privileges, 0, nullptr, [&] {
            return Cells{privileges.ColumnName, privileges.Privilege, privileges.IsGrantable,
                         privileges.Grantor, privileges.Grantee};
        });
        privileges.Close();
        return true;
    });
}

void CatalogPresentations::ShowTablePrivileges(const std::string &tableName) {
    WaitCursor wait;
    Begin(false, PrivilegeLabels(), "List of privileges associated with the table:");
    Present([&] {
        CTablePrivileges privileges(m_doc.Database());
        if (!privileges.Open(nullptr, nullptr, tableName.c_str()))
            return false;
        LayRecords(privileges, 0, nullptr, [&] {
            return Cells{privileges.TableName, privileges.Privilege, privileges.IsGrantable,
                         privileges.Grantor, privileges.Grantee};
        });
        privileges.Close();
        return true;
    });
}

void CatalogPresentations::ShowStatistics(const std::string &tableName, uint16_t unique,
                                          uint16_t accuracy) {
    WaitCursor wait;
    Begin(false, StatisticsLabels(),
          "List of statistics about a single table and the indexes associated with the table:");
    Present([&] {
        CStatistics statistics(m_doc.Database());
        if (!statistics.Open(nullptr, nullptr, tableName.c_str(), unique, accuracy))
            return false;
        LayRecords(statistics, 0, nullptr, [&] {
            Cells cells{StatisticTypeText(statistics.Type), statistics.TableName,
                        statistics.TableQualifier, statistics.TableOwner};
            // The table-statistic row describes no index.
            if (statistics.Type == SQL_TABLE_STAT) {
                cells.resize(cells.size() + 6);
            } else {
                cells.push_back(statistics.IndexName);
                cells.push_back(statistics.IndexQualifier);
                cells.push_back(NonUniqueText(statistics.NonUnique));
                cells.push_back(Number(statistics.SeqInIndex));
                cells.push_back(statistics.ColumnName);
                cells.push_back(CollationText(statistics.Collation));
            }
            cells.push_back(Number(statistics.Cardinality));
            cells.push_back(Number(statistics.Pages));
            cells.push_back(statistics.FilterCondition);
            return cells;
        });
        statistics.Close();
        return true;
    });
}

void CatalogPresentations::ShowSpecialColumns(const std::string &tableName) {
    WaitCursor wait;
    const AppSettings settings = m_doc.Host().Settings();
    Begin(false, SpecialColumnLabels(settings), "Information about special columns:");
    Present([&] {
        int record = 0;
        // The best row identifier first, then the row-version columns after it.
        for (const SQLUSMALLINT columnType : {SQL_BEST_ROWID, SQL_ROWVER}) {
            CSpecialColumns columns(m_doc.Database());
            if (!columns.Open(columnType, nullptr, nullptr, tableName.c_str(), SQL_SCOPE_SESSION,
                              SQL_NULLABLE))
                continue;
            record = LayRecords(columns, record, nullptr, [&] {
                const bool noScope = columns.IsFieldNull(CSpecialColumns::FieldScope);
                Cells cells{columns.ColumnName, columns.TypeName};
                if (settings.Length)
                    cells.push_back(Number(columns.Length));
                if (settings.Precision) {
                    cells.push_back(Number(columns.Precision));
                    cells.push_back(
                        NumberOrNa(columns, CSpecialColumns::FieldScale, columns.Scale));
                }
                // Told by the call, not by the scope: MariaDB leaves the scope of
                // its best row identifier NULL.
                cells.push_back(columnType == SQL_ROWVER ? "ROWVER" : "ROWID");
                cells.push_back(noScope ? std::string(NotAvailable) : ScopeText(columns.Scope));
                cells.push_back(PseudoColumnText(columns.PseudoColumn));
                return cells;
            });
            columns.Close();
        }
        return true;
    });
}

void CatalogPresentations::ShowPrimaryKeys(const std::string &tableName, const char *columnName) {
    WaitCursor wait;
    Begin(columnName != nullptr, PrimaryKeyLabels(),
          "List of column names that make up the primary key:");
    Present([&] {
        CPrimaryKeys keys(m_doc.Database());
        if (!keys.Open(nullptr, nullptr, tableName.c_str()))
            return false;
        LayRecords(
            keys, 0, [&] { return Matches(columnName, keys.ColumnName); },
            [&] {
                return Cells{keys.ColumnName, keys.PkName, Number(keys.KeySeq)};
            });
        keys.Close();
        return true;
    });
}

void CatalogPresentations::ShowForeignKeys(const std::string &tableName, const char *columnName) {
    WaitCursor wait;
    Begin(columnName != nullptr, ForeignKeyLabels(),
          "List of column names that make up foreign keys:");
    Present([&] {
        CForeignKeys keys(m_doc.Database());
        if (!keys.Open(nullptr, nullptr, nullptr, nullptr, nullptr, tableName.c_str()))
            return false;
        LayRecords(
            keys, 0, [&] { return Matches(columnName, keys.FkColumnName); },
            [&] {
                return Cells{keys.FkColumnName,         keys.FkName,
                             Number(keys.KeySeq),       RuleText(keys.UpdateRule),
                             RuleText(keys.DeleteRule), keys.PkTableName,
                             keys.PkColumnName,         keys.PkName};
            });
        keys.Close();
        return true;
    });
}

void CatalogPresentations::ShowProcedures(const char *procedureName) {
    WaitCursor wait;
    Begin(procedureName != nullptr, CatalogWordingLabels(OdbcVersion()),
          "List of procedure names:");
    Present([&] {
        CProcedures procedures(m_doc.Database());
        if (!procedures.Open(nullptr, nullptr, procedureName))
            return false;
        LayRecords(procedures, 0, nullptr, [&] {
            return Cells{procedures.ProcedureName, ProcedureTypeText(procedures.ProcedureType),
                         procedures.ProcedureQualifier, procedures.ProcedureOwner,
                         procedures.Remarks};
        });
        procedures.Close();
        return true;
    });
}
