#include "catalog/CatalogTreeBuilder.h"

#include <algorithm>
#include <limits>

#include "catalog/CatalogNode.h"
#include "catalog/CatalogTreeSink.h"
#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CForeignKeys.h"
#include "catalog/recordsets/CPrimaryKeys.h"
#include "catalog/recordsets/CProcedureColumns.h"
#include "catalog/recordsets/CProcedures.h"
#include "catalog/recordsets/CTables.h"
#include "connection/CBrindleDoc.h"
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

void CatalogTreeBuilder::SetStatus(const char *text) {
    if (StatusSink *status = m_doc.Host().Status())
        status->SetMessageText(text ? QString::fromLatin1(text) : QString());
}

int CatalogTreeBuilder::Build(bool progress) {
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
        ProgressRun run;
        try {
            tables->MoveFirst();
            if (!tables->IsEOF()) {
                run.Begin(status, ProgressTotal(CountRows(*tables)), TablesPerProgressStep);
                for (; !tables->IsEOF(); tables->MoveNext()) {
                    const std::string &type = tables->TableType;
                    if (type == "TABLE")
                        AddTable(tablesFolder, Table, tables->TableName);
                    else if (systemFolder != none && type == "SYSTEM TABLE")
                        AddTable(systemFolder, SystemTable, tables->TableName);
                    else if (viewsFolder != none && type == "VIEW")
                        AddTable(viewsFolder, View, tables->TableName);
                    else if (synonymsFolder != none && (type == "ALIAS" || type == "SYNONYM"))
                        AddTable(synonymsFolder, Synonym, tables->TableName);
                    run.Step();
                }
            }
        } catch (const DatabaseError &error) {
            // The tables read so far stay.
            m_doc.ReportError(error);
        }
    }

    if (settings.Procedures)
        LoadProcedures(root, progress);
    return root;
}

void CatalogTreeBuilder::AddTable(int folder, int kind, const std::string &name) {
    m_doc.FetchColumns(name);
    const int table = m_sink.AddNode(folder, kind, name);
    const int fields = m_sink.AddNode(table, FieldsFolder, "Fields");
    CColumns *columns = m_doc.Columns();
    if (!columns)
        return;
    try {
        columns->MoveFirst();
        for (; !columns->IsEOF(); columns->MoveNext())
            m_sink.AddNode(fields, Field, columns->ColumnName);
    } catch (const DatabaseError &error) {
        // The fields read so far stay; the build goes on with the next table.
        m_doc.ReportError(error);
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
                for (; !procedures.IsEOF(); procedures.MoveNext()) {
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
