#include "catalog/CatalogTreeBuilder.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <unordered_map>

#include <sqlext.h>

#include "catalog/CatalogNode.h"
#include "catalog/CatalogTreeSink.h"
#include "catalog/TableNameGroups.h"
#include "catalog/recordsets/CColumnNames.h"
#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CForeignKeys.h"
#include "catalog/recordsets/CPrimaryKeys.h"
#include "catalog/recordsets/CProcedureColumns.h"
#include "catalog/recordsets/CProcedures.h"
#include "catalog/recordsets/CTables.h"
#include "connection/CBrindleDoc.h"
#include "connection/ConnectionWorker.h"
#include "framework/AppSettings.h"
#include "framework/DocumentHost.h"
#include "framework/StatusSink.h"
#include "odbc/DatabaseError.h"

using namespace CatalogNode;

namespace {

constexpr uint16_t TablesPerProgressStep = 10;

// Walks a recordset to its end for its row count, then back to its first row.
long CountRows(Recordset &rs) {
    rs.MoveFirst();
    while (!rs.IsEOF())
        rs.MoveNext();
    const long count = rs.RecordCount();
    rs.MoveFirst();
    return count;
}

uint16_t ProgressTotal(long count) {
    return static_cast<uint16_t>(std::clamp<long>(count, 0, std::numeric_limits<uint16_t>::max()));
}

} // namespace

// The progress indicator over the table list's rows. Its count is 16 bits: a
// longer list moves it once per so many rows, so the bar fills as the list does.
class CatalogTreeBuilder::TableProgress {
public:
    void Begin(StatusSink *sink, long rows) {
        constexpr long most = std::numeric_limits<uint16_t>::max();
        m_rowsPerCount = std::max<long>(1, (rows + most - 1) / most);
        m_run.Begin(sink, ProgressTotal((rows + m_rowsPerCount - 1) / m_rowsPerCount),
                    TablesPerProgressStep);
    }
    void Step(size_t rows = 1) {
        for (; rows > 0; --rows)
            if (++m_rows % m_rowsPerCount == 0)
                m_run.Step();
    }

private:
    ProgressRun m_run;
    long m_rowsPerCount = 1;
    long m_rows = 0;
};

void CatalogTreeBuilder::SetStatus(const char *text) {
    SetStatus(text ? QString::fromLatin1(text) : QString());
}

void CatalogTreeBuilder::SetStatus(const QString &text) {
    if (StatusSink *status = m_doc.Host().Status())
        status->SetMessageText(text);
}

int CatalogTreeBuilder::Build(bool progress) {
    ConnectionWorker &worker = m_doc.Worker();
    const AppSettings settings = m_doc.Host().Settings();
    StatusSink *status = progress ? m_doc.Host().Status() : nullptr;

    const int root =
        m_sink.AddNode(CatalogTreeSink::NoParent, Root, "DSN: " + m_doc.GetDataSourceName());
    const int tablesFolder = m_sink.AddNode(root, TablesFolder, "Tables");
    const int none = CatalogTreeSink::NoParent;
    const int systemFolder =
        settings.SystemTables ? m_sink.AddNode(root, SystemTablesFolder, "SysTables") : none;
    const int viewsFolder = settings.Views ? m_sink.AddNode(root, ViewsFolder, "Views") : none;
    const int synonymsFolder =
        settings.Synonyms ? m_sink.AddNode(root, SynonymsFolder, "Synonyms") : none;

    if (CTables *tables = m_doc.Tables()) {
        TableProgress run;
        std::vector<NamedTables> named;
        try {
            tables->MoveFirst();
            if (!tables->IsEOF()) {
                run.Begin(status, CountRows(*tables));
                std::unordered_map<std::string, size_t> byName;
                // Every table node with its Fields folder first; the fields follow.
                for (; !tables->IsEOF(); tables->MoveNext()) {
                    worker.KeepAnswering();
                    const std::string &type = tables->TableType;
                    int folder = none;
                    int kind = Table;
                    if (type == "TABLE")
                        folder = tablesFolder;
                    else if (systemFolder != none && type == "SYSTEM TABLE")
                        folder = systemFolder, kind = SystemTable;
                    else if (viewsFolder != none && type == "VIEW")
                        folder = viewsFolder, kind = View;
                    else if (synonymsFolder != none && (type == "ALIAS" || type == "SYNONYM"))
                        folder = synonymsFolder, kind = Synonym;
                    if (folder == none) {
                        run.Step();
                        continue;
                    }
                    const std::string &name = tables->TableName;
                    const int table = m_sink.AddNode(folder, kind, name);
                    const int fields = m_sink.AddNode(table, FieldsFolder, "Fields");
                    const auto [at, added] = byName.try_emplace(name, named.size());
                    if (added)
                        named.push_back({name, {}, false});
                    named[at->second].fieldsFolders.push_back(fields);
                }
            }
        } catch (const DatabaseError &error) {
            // The tables read so far stay.
            m_doc.ReportError(error);
        }
        m_tablesFromDbmsCatalog = 0;
        if (m_fetch != ColumnFetch::TableByTable)
            FillFromOneCall(named, run);
        FillTableByTable(named, run);
        SetStatus(nullptr);
    }

    if (settings.Procedures && !worker.CancelRequested())
        LoadProcedures(root, progress);
    return root;
}

void CatalogTreeBuilder::FillFromOneCall(std::vector<NamedTables> &tables,
                                         TableProgress &progress) {
    if (tables.empty())
        return;
    std::unordered_map<std::string_view, NamedTables *> byName;
    byName.reserve(tables.size());
    std::vector<std::string> names;
    names.reserve(tables.size());
    for (NamedTables &table : tables) {
        byName.emplace(table.name, &table);
        names.push_back(table.name);
    }
    if (m_fetch == ColumnFetch::DbmsCatalog) {
        const auto dialect = CColumnNames::DialectOf(m_doc.Database().InfoText(SQL_DBMS_NAME));
        if (dialect != CColumnNames::Dialect::Unknown) {
            // A driver that lists columns of its own (psqlODBC's row version
            // "xmin", which its call for many tables gives the last table
            // alone) is asked table by table, as the tree has always shown them.
            if (!CatalogAgreesWithDriver(dialect, tables.front(), progress))
                return;
            if (FillFromCatalog(dialect, names, byName, progress) ||
                m_doc.Worker().CancelRequested())
                return;
            // What a failed query left (a view whose table is gone) is the driver's.
            names.clear();
            for (const NamedTables &table : tables)
                if (!table.filled)
                    names.push_back(table.name);
        }
    }
    // One call for a list within the limit; a longer one is read by name prefix.
    for (const TableNameGroups::Group &group : TableNameGroups::Split(names, m_tablesPerCall)) {
        if (m_doc.Worker().CancelRequested())
            return;
        CColumns columns(m_doc.Database());
        bool read = false;
        try {
            if (columns.OpenTablesStartingWith(group.prefix, group.exact)) {
                FillFromCall(columns, columns.TableName, columns.ColumnName, byName, progress);
                read = true;
            }
        } catch (const DatabaseError &) {
        }
        // The driver refused the pattern or failed part way: what it has not
        // given in full is asked table by table, which reports its own errors.
        if (!read)
            return;
    }
}

bool CatalogTreeBuilder::FillFromCatalog(
    CColumnNames::Dialect dialect, const std::vector<std::string> &names,
    std::unordered_map<std::string_view, NamedTables *> &byName, TableProgress &progress) {
    bool read = true;
    for (const TableNameGroups::Range &range :
         TableNameGroups::SplitRanges(names, m_tablesPerQuery)) {
        for (const CColumnNames::Relations relations : CColumnNames::Reads(dialect)) {
            if (m_doc.Worker().CancelRequested())
                return false;
            CColumnNames rows(m_doc.Database());
            try {
                if (rows.Open(dialect, relations, {range.from, range.to, std::nullopt}))
                    m_tablesFromDbmsCatalog +=
                        FillFromCall(rows, rows.TableName, rows.ColumnName, byName, progress);
                else
                    read = false;
            } catch (const DatabaseError &) {
                read = false;
            }
        }
    }
    return read;
}

bool CatalogTreeBuilder::CatalogAgreesWithDriver(CColumnNames::Dialect dialect, NamedTables &table,
                                                 TableProgress &progress) {
    // The catalog stands in for the driver only where both agree.
    std::vector<std::string> fromDriver;
    std::vector<std::string> fromCatalog;
    try {
        CColumns columns(m_doc.Database());
        if (!columns.Open(nullptr, nullptr, table.name.c_str(), nullptr,
                          Recordset::OpenType::ForwardOnly))
            return false;
        for (; !columns.IsEOF(); columns.MoveNext())
            fromDriver.push_back(columns.ColumnName);
        for (const CColumnNames::Relations relations : CColumnNames::Reads(dialect)) {
            CColumnNames names(m_doc.Database());
            if (!names.Open(dialect, relations, {std::nullopt, std::nullopt, table.name}))
                return false;
            for (; !names.IsEOF(); names.MoveNext())
                fromCatalog.push_back(names.ColumnName);
        }
    } catch (const DatabaseError &) {
        return false;
    }
    if (fromDriver.empty() || fromDriver != fromCatalog)
        return false;
    AddFields(table, fromDriver, progress);
    return true;
}

size_t CatalogTreeBuilder::FillFromCall(Recordset &rows, const std::string &tableName,
                                        const std::string &columnName,
                                        std::unordered_map<std::string_view, NamedTables *> &byName,
                                        TableProgress &progress) {
    // The rows come table by table: each table's columns are added when the
    // next table's first row arrives, so a failure never leaves a table half read.
    size_t filled = 0;
    std::string currentName;
    NamedTables *current = nullptr;
    std::vector<std::string> arrived;
    const auto addArrived = [&] {
        if (current) {
            AddFields(*current, arrived, progress);
            ++filled;
        }
    };
    for (; !rows.IsEOF(); rows.MoveNext()) {
        m_doc.Worker().KeepAnswering();
        if (current == nullptr || tableName != currentName) {
            addArrived();
            arrived.clear();
            currentName = tableName;
            // Relations the list does not have (psqlODBC's indexes, views when
            // they are not shown), and tables an earlier call filled (a pattern
            // matching without regard to case), are passed over.
            const auto found = byName.find(currentName);
            current = found == byName.end() || found->second->filled ? nullptr : found->second;
            if (current)
                SetStatus(QStringLiteral("Fetching \"%1\" column info...")
                              .arg(QString::fromStdString(currentName)));
        }
        if (current)
            arrived.push_back(columnName);
    }
    addArrived();
    return filled;
}

void CatalogTreeBuilder::FillTableByTable(std::vector<NamedTables> &tables,
                                          TableProgress &progress) {
    std::vector<std::string> names;
    for (NamedTables &table : tables) {
        if (table.filled)
            continue;
        // A cancelled build keeps what it has; the call the cancel stopped has reported it.
        if (m_doc.Worker().CancelRequested())
            break;
        // Also when one call listed no column for it: the table may need its own call.
        m_doc.FetchColumns(table.name);
        names.clear();
        if (CColumns *columns = m_doc.Columns()) {
            try {
                columns->MoveFirst();
                for (; !columns->IsEOF(); columns->MoveNext())
                    names.push_back(columns->ColumnName);
            } catch (const DatabaseError &error) {
                // The fields read so far stay; the build goes on with the next table.
                m_doc.ReportError(error);
            }
        }
        AddFields(table, names, progress);
    }
}

void CatalogTreeBuilder::AddFields(NamedTables &table, const std::vector<std::string> &columns,
                                   TableProgress &progress) {
    for (const int folder : table.fieldsFolders)
        for (const std::string &column : columns)
            m_sink.AddNode(folder, Field, column);
    if (!table.filled) {
        table.filled = true;
        progress.Step(table.fieldsFolders.size());
    }
}

void CatalogTreeBuilder::LoadProcedures(int root, bool progress) {
    SetStatus("Fetching procedure info...");
    StatusSink *status = progress ? m_doc.Host().Status() : nullptr;
    {
        ProgressRun run;
        try {
            CProcedures procedures(m_doc.Database());
            if (procedures.Open(nullptr, nullptr, nullptr) && !procedures.IsEOF()) {
                run.Begin(status, ProgressTotal(CountRows(procedures)), TablesPerProgressStep);
                const int folder = m_sink.AddNode(root, ProceduresFolder, "Procedures");
                procedures.MoveFirst();
                for (; !procedures.IsEOF() && !m_doc.Worker().CancelRequested();
                     procedures.MoveNext()) {
                    const std::string name = procedures.ProcedureName;
                    const int procedure = m_sink.AddNode(folder, Procedure, name);
                    CProcedureColumns columns(m_doc.Database());
                    if (columns.Open(nullptr, nullptr, name.c_str(), nullptr) && !columns.IsEOF()) {
                        const int columnsFolder =
                            m_sink.AddNode(procedure, ColumnsFolder, "Columns");
                        for (; !columns.IsEOF(); columns.MoveNext())
                            m_sink.AddNode(columnsFolder, ProcedureColumn, columns.ColumnName);
                    }
                    columns.Close();
                    run.Step();
                }
            }
        } catch (const DatabaseError &error) {
            // The procedures read so far stay.
            m_doc.ReportError(error);
        }
    }
    SetStatus(nullptr);
}

void CatalogTreeBuilder::LoadPrimaryKeys(int table, const std::string &name) {
    CPrimaryKeys keys(m_doc.Database());
    LoadKeyFolder(
        table,
        {PrimaryKeysFolder, PrimaryKeyColumn, "Primary Keys", "Fetching primary keys info..."},
        keys, [&] { return keys.Open(nullptr, nullptr, name.c_str()); }, keys.ColumnName);
}

void CatalogTreeBuilder::LoadForeignKeys(int table, const std::string &name) {
    CForeignKeys keys(m_doc.Database());
    LoadKeyFolder(
        table,
        {ForeignKeysFolder, ForeignKeyColumn, "Foreign Keys", "Fetching foreign keys info..."},
        keys, [&] { return keys.Open(nullptr, nullptr, nullptr, nullptr, nullptr, name.c_str()); },
        keys.FkColumnName);
}

void CatalogTreeBuilder::LoadKeyFolder(int table, const KeyFolder &folderKind, Recordset &keys,
                                       const std::function<bool()> &open,
                                       const std::string &column) {
    SetStatus(folderKind.status);
    {
        ProgressRun run;
        try {
            if (open() && !keys.IsEOF()) {
                run.Begin(m_doc.Host().Status(), ProgressTotal(CountRows(keys)), 1);
                const int folder = m_sink.AddNode(table, folderKind.folder, folderKind.label);
                // `column` is a field of `keys`: each move refreshes it.
                for (; !keys.IsEOF(); keys.MoveNext()) {
                    m_sink.AddNode(folder, folderKind.column, column);
                    run.Step();
                }
            }
        } catch (const DatabaseError &error) {
            m_doc.ReportError(error);
        }
    }
    SetStatus(nullptr);
}
