#include "results/CDBListView.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include <QContextMenuEvent>
#include <QMenu>

#include <sqlext.h>

#include "app/CBrindleApp.h"
#include "app/CMainFrame.h"
#include "app/CSubFrame.h"
#include "app/CommandTable.h"
#include "app/WaitCursor.h"
#include "catalog/CatalogPresentations.h"
#include "connection/CBrindleDoc.h"
#include "console/CDBOutputView.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcStatement.h"
#include "results/QuotedIdentifier.h"

namespace {

// Loaded rows reach the views in batches of this many: each row shows as soon
// as its batch is full, without a model signal per row.
constexpr size_t RowBatch = 512;
constexpr uint16_t ItemsPerProgressStep = 10;
constexpr int AutoFormatMargin = 18;

const char *const LongBinaryText = "<Binary>";

} // namespace

CDBListView::CDBListView(CBrindleDoc &doc, QWidget *parent)
    : CListViewEx(parent), m_doc(doc), m_docAlive(&doc) {
    setObjectName(QStringLiteral("CDBListView"));
    doc.m_pListView = this;
    SetCaption(QStringLiteral("Results: "));
}

CDBListView::~CDBListView() {
    if (m_docAlive && m_doc.m_pListView == this)
        m_doc.m_pListView = nullptr;
}

void CDBListView::SetCaption(const QString &caption) {
    m_caption = caption;
    ShowCaptionInFrame();
}

void CDBListView::ShowCaptionInFrame() {
    for (QWidget *widget = parentWidget(); widget; widget = widget->parentWidget()) {
        if (auto *frame = qobject_cast<CSubFrame *>(widget)) {
            frame->SetCaption(m_caption);
            return;
        }
    }
}

bool CDBListView::event(QEvent *event) {
    const bool handled = CListViewEx::event(event);
    // The frame may take the view in after it was made.
    if (event->type() == QEvent::ParentChange)
        ShowCaptionInFrame();
    return handled;
}

void CDBListView::SetColumns(const std::vector<std::string> &titles, const QString &caption) {
    ClearGrid();
    SetCaption(caption);
    if (PropertyMode) {
        InsertGridColumn("Property    ", 0);
        InsertGridColumn("Value       ", 1);
        ColumnCount = 2;
        for (size_t i = 0; i < titles.size(); ++i)
            Model().InsertRow(static_cast<int>(i), titles[i]);
        return;
    }
    for (size_t i = 0; i < titles.size(); ++i)
        InsertGridColumn(titles[i], static_cast<int>(i));
    ColumnCount = static_cast<int>(titles.size());
}

void CDBListView::SetCellText(int row, int column, const std::string &text) {
    if (column == 0)
        Model().InsertRow(row, text);
    else
        Model().SetCell(row, column, text);
}

std::string CDBListView::GetCellText(int row, int column) const {
    return std::string(Model().Cell(row, column));
}

void CDBListView::AutoFormatColumns(bool on) {
    WaitCursor wait;
    const int columns = std::min(ColumnCount, GridColumnCount());
    const int rows = RowCount();
    for (int column = 0; column < columns; ++column) {
        if (!on) {
            setColumnWidth(column, TextWidth(GridModel::DisplayText(Model().ColumnTitle(column))) +
                                       AutoFormatMargin);
            continue;
        }
        // Columns only grow: one already wider than its data keeps its width.
        int width = columnWidth(column);
        for (int row = 0; row < rows; ++row) {
            const int needed =
                TextWidth(GridModel::DisplayText(Model().Cell(row, column))) + AutoFormatMargin;
            if (needed >= width)
                width = needed;
        }
        setColumnWidth(column, width);
    }
}

std::string CDBListView::IdentifierQuote() const {
    if (!m_doc.IsConnected())
        return std::string();
    return m_doc.Database().InfoText(SQL_IDENTIFIER_QUOTE_CHAR);
}

void CDBListView::LoadTableData(const std::string &tableName) {
    ClearGrid();
    LoadQueryResult("SELECT * FROM " + QuotedIdentifier(tableName, IdentifierQuote()));
    AutoFormatColumns(m_doc.AutoFormat != 0);
}

void CDBListView::LoadProcedureData(const std::string &procedureName) {
    ClearGrid();
    LoadQueryResult("{call " + QuotedIdentifier(procedureName, IdentifierQuote()) + "}");
}

void CDBListView::LoadQueryResult(const std::string &statement) {
    WaitCursor wait;
    CBrindleApp *app = CBrindleApp::Instance();
    const AppSettings settings = app ? app->Settings() : AppSettings();
    const uint64_t maxRecords = settings.MaxRecords;
    CMainFrame *mainFrame = app ? app->MainFrame() : nullptr;

    CDBOutputView *console = m_doc.m_pOutputView;
    if (console) {
        console->SetLastStatement(statement);
        console->AppendText(statement + "\r\n\r\n");
    }

    std::vector<GridRow> batch;
    bool progress = false;
    try {
        const std::time_t start = std::time(nullptr);
        OdbcConnection &database = m_doc.Database();
        database.SetQueryTimeout(settings.QueryTimeout);
        OdbcStatement query(database);
        query.SetForwardOnlyReadOnly();
        query.ExecuteDirect(statement);
        // Only the execution is timed, in whole seconds; fetching is not.
        const long long elapsed = static_cast<long long>(std::time(nullptr) - start);

        const std::vector<OdbcStatement::Column> columns = query.DescribeColumns();
        std::vector<std::string> titles;
        std::vector<bool> longBinary;
        titles.reserve(columns.size());
        for (const OdbcStatement::Column &column : columns) {
            titles.push_back(column.name);
            longBinary.push_back(column.sqlType == SQL_LONGVARBINARY);
        }
        PropertyMode = false;
        SetColumns(titles, QStringLiteral("Result set for the most recently executed query:"));

        uint64_t loaded = 0;
        uint64_t total = 0;
        // A statement without a result set has no rows to fetch.
        if (!columns.empty()) {
            if (mainFrame && maxRecords > 0)
                progress = mainFrame->BeginProgress(
                    static_cast<uint16_t>(std::min<uint64_t>(maxRecords, UINT16_MAX)),
                    ItemsPerProgressStep);
            batch.reserve(static_cast<size_t>(std::min<uint64_t>(maxRecords, RowBatch)));
            GridRow::Builder row;
            const auto columnCount = static_cast<SQLUSMALLINT>(columns.size());
            while (loaded < maxRecords && query.Fetch()) {
                row.Clear();
                for (SQLUSMALLINT column = 0; column < columnCount; ++column) {
                    // Long binary data is never read: the text stands for any value.
                    if (longBinary[column])
                        row.Bytes().append(LongBinaryText);
                    else
                        query.AppendText(column + 1, row.Bytes());
                    row.EndCell();
                }
                batch.push_back(row.Build());
                ++loaded;
                if (batch.size() >= RowBatch)
                    Model().AppendRows(batch);
                if (progress)
                    mainFrame->StepProgress();
            }
            Model().AppendRows(batch);
            total = loaded;
            // Past MaxRecords rows are only counted.
            while (query.Fetch())
                ++total;
        }

        if (console) {
            char line[128];
            std::snprintf(line, sizeof line,
                          "OK (Elapsed Time: %lld sec., Loaded %llu of %llu total records)\r\n",
                          elapsed, static_cast<unsigned long long>(loaded),
                          static_cast<unsigned long long>(total));
            console->AppendText(line);
            console->ShowPrompt();
        }
    } catch (const DatabaseError &error) {
        // What was loaded before the failure stays in the grid.
        Model().AppendRows(batch);
        m_doc.ReportError(error);
    }
    if (progress)
        mainFrame->EndProgress();
    viewport()->update();
}

void CDBListView::ShowDriverInfo() { CatalogPresentations(m_doc, *this).ShowDriverInfo(); }

void CDBListView::ShowTables(const char *tableName, const char *tableType) {
    CatalogPresentations(m_doc, *this).ShowTables(tableName, tableType);
}

void CDBListView::ShowColumns(const std::string &tableName, const char *columnName) {
    CatalogPresentations(m_doc, *this).ShowColumns(tableName, columnName);
}

void CDBListView::ShowProcedureColumns(const std::string &procedureName, const char *columnName) {
    CatalogPresentations(m_doc, *this).ShowProcedureColumns(procedureName, columnName);
}

void CDBListView::ShowColumnPrivileges(const std::string &tableName, const char *columnName) {
    CatalogPresentations(m_doc, *this).ShowColumnPrivileges(tableName, columnName);
}

void CDBListView::ShowTablePrivileges(const std::string &tableName) {
    CatalogPresentations(m_doc, *this).ShowTablePrivileges(tableName);
}

void CDBListView::ShowStatistics(const std::string &tableName, uint16_t unique, uint16_t accuracy) {
    CatalogPresentations(m_doc, *this).ShowStatistics(tableName, unique, accuracy);
}

void CDBListView::ShowSpecialColumns(const std::string &tableName) {
    CatalogPresentations(m_doc, *this).ShowSpecialColumns(tableName);
}

void CDBListView::ShowPrimaryKeys(const std::string &tableName, const char *columnName) {
    CatalogPresentations(m_doc, *this).ShowPrimaryKeys(tableName, columnName);
}

void CDBListView::ShowForeignKeys(const std::string &tableName, const char *columnName) {
    CatalogPresentations(m_doc, *this).ShowForeignKeys(tableName, columnName);
}

void CDBListView::ShowProcedures(const char *procedureName) {
    CatalogPresentations(m_doc, *this).ShowProcedures(procedureName);
}

QMenu *CDBListView::CreateResultMenu(QWidget *parent) {
    if (RowCount() == 0)
        return nullptr;
    auto *menu = new QMenu(QStringLiteral("Result"), parent);
    CMainFrame *mainFrame =
        CBrindleApp::Instance() ? CBrindleApp::Instance()->MainFrame() : nullptr;
    for (const MenuItem &item : ContextMenu(167)) {
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        const int id = item.id;
        QAction *action = menu->addAction(QString::fromUtf8(MenuItemText(item)));
        CommandState state;
        if (!UpdateCommand(id, state) && mainFrame)
            state = mainFrame->QueryCommand(id);
        action->setEnabled(state.enabled);
        connect(action, &QAction::triggered, this, [this, id] {
            if (RunCommand(id))
                return;
            if (CBrindleApp *app = CBrindleApp::Instance(); app && app->MainFrame())
                app->MainFrame()->SendCommand(id);
        });
    }
    return menu;
}

void CDBListView::contextMenuEvent(QContextMenuEvent *event) {
    event->accept();
    if (RowCount() == 0)
        return;
    // The grid becomes the active view, so the menu's commands come to it.
    setFocus(Qt::PopupFocusReason);
    std::unique_ptr<QMenu> menu(CreateResultMenu(this));
    menu->exec(event->globalPos());
}

bool CDBListView::UpdateCommand(int id, CommandState &state) {
    switch (id) {
    case ID_EDIT_SELECT_ALL:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

bool CDBListView::RunCommand(int id) {
    switch (id) {
    case ID_EDIT_SELECT_ALL:
        selectAll();
        return true;
    default:
        return false;
    }
}
