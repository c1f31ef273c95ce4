#include "results/CDBListView.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QSettings>

#include <sqlext.h>

#include "connection/CBrindleDoc.h"
#include "connection/ConsolePane.h"
#include "framework/AppSettings.h"
#include "framework/AppVersion.h"
#include "framework/CaptionHost.h"
#include "framework/CommandMenu.h"
#include "framework/CommandTable.h"
#include "framework/DocumentHost.h"
#include "framework/StatusSink.h"
#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "results/CExportQueryDlg.h"
#include "results/DeployResults.h"
#include "results/ExportCommand.h"
#include "results/FindDialog.h"
#include "results/GridPrinter.h"
#include "results/QueryLoader.h"
#include "results/QuotedIdentifier.h"
#include "results/StatusExportProgress.h"
#include "results/WorkExportProgress.h"
#include "results/WorkerUploadWait.h"

namespace {

constexpr int AutoFormatMargin = 18;

} // namespace

CDBListView::CDBListView(CBrindleDoc &doc, QWidget *parent)
    : CListViewEx(parent), m_doc(doc), m_docAlive(&doc) {
    setObjectName(QStringLiteral("CDBListView"));
    doc.m_pListView = this;
    SetCaption(QStringLiteral("Results: "));
}

CDBListView::~CDBListView() {
    // The Find dialog searches this grid: it goes first.
    delete m_findDialog.data();
    if (m_docAlive && m_doc.m_pListView == this)
        m_doc.m_pListView = nullptr;
}

void CDBListView::SetCaption(const QString &caption) {
    m_caption = caption;
    ShowCaptionInFrame();
}

void CDBListView::ShowCaptionInFrame() {
    if (CaptionHost *frame = CaptionHost::Above(this))
        frame->SetCaption(m_caption);
}

bool CDBListView::event(QEvent *event) {
    const bool handled = CListViewEx::event(event);
    // The frame may take the view in after it was made.
    if (event->type() == QEvent::ParentChange)
        ShowCaptionInFrame();
    return handled;
}

void CDBListView::ShowGridLines(bool on) { SetGridLines(on, Qt::black, true); }

void CDBListView::SetRedraw(bool on) { setUpdatesEnabled(on); }

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
    QueryLoader(m_doc, *this, Model()).Load(statement);
    viewport()->update();
}

void CDBListView::LoadStatementRows(OdbcStatement &query, long long elapsedSeconds) {
    QueryLoader(m_doc, *this, Model()).LoadRows(query, elapsedSeconds);
    viewport()->update();
}

QMenu *CDBListView::CreateResultMenu(QWidget *parent) {
    if (RowCount() == 0)
        return nullptr;
    return CreateCommandMenu(QStringLiteral("Result"), ContextMenu(167), *this,
                             m_doc.Host().Commands(), parent);
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

QWidget *CDBListView::FrameWindow() {
    if (QWidget *parent = m_docAlive ? m_doc.Host().DialogParent() : nullptr)
        return parent;
    return window();
}

ExportSource CDBListView::MakeExportSource(bool allRows, ExportProgress *progress) const {
    ExportSource source;
    source.grid = &Model();
    source.columnCount = std::min(ColumnCount, GridColumnCount());
    source.exportAllRows = allRows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        source.selectedRows.push_back(index.row());
    source.caption = m_caption.toStdString();
    source.versionText = AppVersion::Text().toStdString();
    for (int column = 0; column < source.columnCount; ++column)
        source.columnPixelWidths.push_back(columnWidth(column));
    source.xPixelWidth = TextWidth(QStringLiteral("x"));
    source.progress = progress;
    return source;
}

void CDBListView::ExportRows(bool allRows) {
    UserPrompts &prompts = m_doc.Host().Prompts();
    QString filter;
    const QString path = prompts.SaveFileName(FrameWindow(), QStringLiteral("Save As"),
                                              QString::fromStdString(m_doc.GetDataSourceName()),
                                              ExportCommand::FileFilter(), &filter);
    if (path.isEmpty())
        return;
    // Writing a large grid takes a while: the window answers, and Esc stops it.
    ConnectionWorker::Work work(m_doc.Worker(), QStringLiteral("Exporting"));
    WorkExportProgress progress(m_doc.Worker(), m_doc.Host().Status());
    ExportCommand::Export(path, ExportCommand::FormatForFilter(filter),
                          MakeExportSource(allRows, &progress), prompts, FrameWindow());
}

void CDBListView::ExportQuery() {
    UserPrompts &prompts = m_doc.Host().Prompts();
    const std::string last = m_doc.m_pOutputView ? m_doc.m_pOutputView->LastStatement() : "";
    CExportQueryDlg dialog(last, QString::fromStdString(m_doc.GetDataSourceName()), prompts,
                           FrameWindow());
    if (prompts.Exec(dialog) != QDialog::Accepted)
        return;
    QueryExport(m_doc).Run(dialog.Choices());
}

void CDBListView::Deploy() {
    DocumentHost &host = m_doc.Host();
    StatusExportProgress progress(host.Status());
    DeployResults deploy(MakeExportSource(true, &progress), host.Prompts(), FrameWindow(),
                         [&host](const QString &text) {
                             if (StatusSink *status = host.Status())
                                 status->SetMessageText(text);
                         });
    // DEFAULT.HTX ships beside the program, or in the samples folder of a build tree.
    const QString programDir = QCoreApplication::applicationDirPath();
    deploy.SetTemplateFolders({programDir, programDir + QStringLiteral("/../samples")});
    WorkerUploadWait uploadWait(m_doc.Worker(), host.Status());
    deploy.SetUploadWait(&uploadWait);
    const std::unique_ptr<QSettings> profile = AppSettings::Profile();
    deploy.Run(QString::fromStdString(m_doc.GetDataSourceName()), *profile,
               static_cast<int>(host.Settings().MaxURLHistory));
}

FindDialog *CDBListView::OpenFindDialog() const { return m_findDialog.data(); }

GridPrinter &CDBListView::Printer() {
    if (!m_printer)
        m_printer = std::make_unique<GridPrinter>(AppVersion::Text(), m_doc.Host().Prompts());
    return *m_printer;
}

bool CDBListView::UpdateCommand(int id, CommandState &state) {
    switch (id) {
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_FIND:
    case ID_FILE_PRINT_SETUP:
        state.enabled = true;
        return true;
    case ID_EXPORT_ALL:
    case ID_DEPLOY:
    // An empty grid has no page to print.
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
        state.enabled = RowCount() > 0;
        return true;
    case ID_EXPORT_SELECTED:
        state.enabled = SelectedRowCount() > 0;
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
    case ID_EDIT_FIND:
        FindDialog::Open(m_findDialog, *this, m_doc.Host().Prompts(),
                         parentWidget() ? parentWidget() : this);
        return true;
    case ID_EXPORT_ALL:
    case ID_EXPORT_SELECTED:
        ExportRows(id == ID_EXPORT_ALL);
        return true;
    case ID_DEPLOY:
        Deploy();
        return true;
    case ID_FILE_PRINT:
        Printer().Print(*this, FrameWindow());
        return true;
    case ID_FILE_PRINT_PREVIEW:
        Printer().PrintPreview(*this, FrameWindow());
        return true;
    case ID_FILE_PRINT_SETUP:
        Printer().PrintSetup(FrameWindow());
        return true;
    default:
        return false;
    }
}
