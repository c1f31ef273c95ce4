#include "connection/CBrindleDoc.h"

#include <ctime>
#include <filesystem>
#include <fstream>

#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include "app/CBrindleApp.h"
#include "app/CChildFrame.h"
#include "app/CListFrameWnd.h"
#include "app/CMainFrame.h"
#include "app/CTreeFrameWnd.h"
#include "app/CommandTable.h"
#include "app/WaitCursor.h"
#include "catalog/CColumns.h"
#include "catalog/CDBTreeView.h"
#include "catalog/CTables.h"
#include "connection/CDriverInfo.h"
#include "connection/ConnectString.h"
#include "connection/DsnFileWriter.h"
#include "connection/ScriptReader.h"
#include "connection/StatementKind.h"
#include "connection/TableTypeList.h"
#include "console/CDBOutputView.h"
#include "odbc/DatabaseError.h"
#include "odbc/OdbcStatement.h"
#include "results/CDBListView.h"

namespace {

// Answers the connection's questions with our own dialogs.
class DialogConnectPrompt : public ConnectPrompt {
public:
    DialogConnectPrompt(UserPrompts &prompts, QWidget *parent)
        : m_prompts(prompts), m_parent(parent) {}
    std::optional<std::string> ChooseDataSource() override {
        return m_prompts.ChooseDataSource(m_parent);
    }
    std::optional<Login> AskLogin(const std::string &dataSource,
                                  const std::string &message) override {
        return m_prompts.AskLogin(m_parent, dataSource, message);
    }

private:
    UserPrompts &m_prompts;
    QWidget *m_parent;
};

} // namespace

CBrindleDoc::CBrindleDoc(CBrindleApp &app) : m_app(app) {}

CBrindleDoc::~CBrindleDoc() { OnCloseDocument(); }

QString CBrindleDoc::FileFilter() { return QStringLiteral("Data Source Files (*.dsn)"); }

void CBrindleDoc::SetStatus(const QString &text) {
    if (CMainFrame *frame = m_app.MainFrame())
        frame->SetMessageText(text);
}

bool CBrindleDoc::Connect(const std::string &connect) {
    DialogConnectPrompt prompt(m_app.Prompts(), m_app.MainFrame());
    try {
        m_database.Open(connect, m_app.Settings().CursorLib != 0, &prompt);
    } catch (const DatabaseError &error) {
        ReportError(error);
    }
    if (m_database.IsOpen())
        m_connect = m_database.ConnectString();
    return m_database.IsOpen();
}

bool CBrindleDoc::OnNewDocument() {
    if (!Connect("ODBC;"))
        return false;
    m_title = m_app.NextUntitledName();
    return InitConnection(QString::fromStdString(GetDataSourceName()));
}

bool CBrindleDoc::OnOpenDocument(const QString &path) {
    const QFileInfo info(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString reason = info.exists()
                                   ? QStringLiteral("\nAccess denied.")
                                   : QStringLiteral("\nFile not found.\nVerify the correct file "
                                                    "name was given.");
        m_app.Prompts().Message(m_app.MainFrame(), path + reason, UserPrompts::Icon::Exclamation);
        return false;
    }
    file.close();
    const QString fullPath = info.absoluteFilePath();
    if (!Connect("FILEDSN=" + fullPath.toStdString()))
        return false;
    m_pathName = fullPath;
    m_title = info.completeBaseName();
    return InitConnection(fullPath);
}

bool CBrindleDoc::InitConnection(const QString &name) {
    if (CMainFrame *frame = m_app.MainFrame())
        frame->repaint();
    if (!m_database.IsOpen())
        return false;
    m_database.SetQueryTimeout(m_app.Settings().QueryTimeout);
    if (!FetchTables())
        return false;
    if (m_pTreeView)
        m_pTreeView->BuildTree(true);
    if (m_frame)
        m_frame->setWindowTitle(name);
    return true;
}

bool CBrindleDoc::FetchTables() {
    SetStatus(QStringLiteral("Fetching table info..."));
    WaitCursor wait;
    if (m_tables)
        m_tables->Close();
    m_tables.reset();
    m_driverInfo.reset();

    m_driverInfo = std::make_unique<CDriverInfo>(m_database);
    const std::string types = TableTypeList(m_app.Settings());
    auto tables = std::make_unique<CTables>(m_database);
    bool opened = false;
    try {
        opened = tables->Open(nullptr, nullptr, nullptr, types.c_str());
    } catch (const DatabaseError &error) {
        ReportError(error);
    }
    if (opened) {
        m_tables = std::move(tables);
    } else {
        // Without a table list the connection is of no use: close it.
        m_driverInfo.reset();
        m_database.Close();
    }
    SetStatus(QString());
    return opened;
}

void CBrindleDoc::FetchColumns(const std::string &tableName) {
    SetStatus(
        QStringLiteral("Fetching \"%1\" column info...").arg(QString::fromStdString(tableName)));
    WaitCursor wait;
    if (m_columns)
        m_columns->Close();
    m_columns.reset();
    auto columns = std::make_unique<CColumns>(m_database);
    try {
        if (columns->Open(nullptr, nullptr, tableName.c_str(), nullptr))
            m_columns = std::move(columns);
    } catch (const DatabaseError &error) {
        ReportError(error);
    }
    SetStatus(QString());
}

void CBrindleDoc::Refresh() {
    // The caption stays; a failed Refresh leaves the document disconnected.
    if (FetchTables() && m_pTreeView)
        m_pTreeView->BuildTree(true);
}

std::string CBrindleDoc::GetDataSourceName() const {
    return ConnectString::DataSourceName(m_database);
}

void CBrindleDoc::AppendText(const std::string &text) {
    if (m_pOutputView)
        m_pOutputView->AppendText(text);
}

void CBrindleDoc::ShowPrompt() {
    if (m_pOutputView)
        m_pOutputView->ShowPrompt();
}

void CBrindleDoc::ExecuteStatement(const std::string &statement) {
    const std::string_view text = LeftTrimmed(statement);
    switch (ClassifyStatement(text)) {
    case StatementKind::Empty:
    case StatementKind::Comment:
        return;
    case StatementKind::Query:
        if (m_pListView)
            m_pListView->LoadQueryResult(std::string(text));
        return;
    case StatementKind::Script:
        RunScript(std::string(text));
        return;
    case StatementKind::Other:
        ExecuteDirect(std::string(text));
        return;
    }
}

void CBrindleDoc::ExecuteDirect(const std::string &text) {
    WaitCursor wait;
    if (m_pOutputView)
        m_pOutputView->SetLastStatement(text);
    AppendText(text + "\r\n\r\n");
    const std::time_t start = std::time(nullptr);
    m_database.SetQueryTimeout(m_app.Settings().QueryTimeout);
    try {
        OdbcStatement statement(m_database);
        statement.ExecuteDirect(text);
        // Errors past a statement that did execute are not reported.
        statement.DrainResults();
    } catch (const DatabaseError &error) {
        ReportError(error);
        return;
    }
    const auto elapsed = static_cast<long long>(std::difftime(std::time(nullptr), start));
    AppendText("OK (Elapsed Time: " + std::to_string(elapsed) + " sec.)\r\n");
    ShowPrompt();
}

void CBrindleDoc::RunScript(const std::string &statement) {
    std::string text = statement;
    while (!text.empty() && std::string_view(" \t\r\n\v\f").find(text.back()) != std::string::npos)
        text.pop_back();
    if (text == "@") {
        const QString path = m_app.Prompts().OpenFileName(
            m_app.MainFrame(), QStringLiteral("Open"), QString(),
            QStringLiteral("ODBC Scripts (*.sql *.tsq *.ssq);;All Files (*)"));
        if (path.isEmpty())
            return;
        text += QFile::encodeName(path).toStdString();
    }
    AppendText(text + "\r\n");
    const std::string name = text.substr(1);
    if (m_scriptDepth >= MaxScriptDepth) {
        AppendText("Error: Script nesting deeper than " + std::to_string(MaxScriptDepth) +
                   " levels; " + text + " not run.\r\n");
        ShowPrompt();
        return;
    }
    std::error_code ignored;
    std::ifstream file;
    if (!std::filesystem::is_directory(name, ignored))
        file.open(name, std::ios::binary);
    if (!file.is_open()) {
        AppendText("Error: File " + name + " could not be opened.\r\n");
        ShowPrompt();
        return;
    }
    ScriptReader reader(file);
    file.close();
    ShowPrompt();

    struct DepthGuard {
        int &depth;
        explicit DepthGuard(int &d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(m_scriptDepth);
    // The console shows the script's output in one go rather than statement by statement.
    struct ConsoleBatch {
        QPointer<CDBOutputView> view;
        explicit ConsoleBatch(CDBOutputView *v) : view(v) {
            if (view)
                view->BeginBatch();
        }
        ~ConsoleBatch() {
            if (view)
                view->EndBatch();
        }
    } batch(m_pOutputView);
    std::string next;
    while (reader.NextStatement(next))
        ExecuteStatement(next);
}

void CBrindleDoc::ReportError(const DatabaseError &error) {
    if (m_pOutputView) {
        m_pOutputView->AppendText("Error: (" + std::to_string(error.RetCode()) + ") " +
                                  error.ErrorText() + "\r\n" + error.StateText() + "\r\n");
        m_pOutputView->ShowPrompt();
        // The message box must not stand over a console that lacks the error.
        m_pOutputView->FlushPending();
    }
    if (m_app.Settings().ShowMessage == 1)
        m_app.Prompts().Message(m_app.MainFrame(), QString::fromStdString(error.ErrorText()),
                                UserPrompts::Icon::Exclamation);
}

bool CBrindleDoc::DoSave(bool saveAs) {
    QString path = m_pathName;
    if (saveAs || path.isEmpty()) {
        const QString proposed = path.isEmpty() ? m_title + QStringLiteral(".dsn") : path;
        path = m_app.Prompts().SaveFileName(m_app.MainFrame(), QStringLiteral("Save As"), proposed,
                                            FileFilter());
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".dsn");
    }
    WaitCursor wait;
    if (!DsnFileWriter::WriteFile(path.toStdString(), m_connect)) {
        m_app.Prompts().Message(m_app.MainFrame(),
                                path + QStringLiteral("\nThe file could not be written."),
                                UserPrompts::Icon::Exclamation);
        return false;
    }
    m_pathName = QFileInfo(path).absoluteFilePath();
    m_app.AddToRecentFileList(m_pathName);
    return true;
}

void CBrindleDoc::OnCloseDocument() {
    if (m_tables)
        m_tables->Close();
    m_tables.reset();
    if (m_columns)
        m_columns->Close();
    m_columns.reset();
    m_driverInfo.reset();
    m_database.Close();
    if (Spooling == 1 && m_pOutputView)
        m_pOutputView->CloseSpoolFile();
}

CSubFrame *CBrindleDoc::CaptionedPane(int id) const {
    if (!m_frame)
        return nullptr;
    if (id == ID_TREE_HEADER)
        return m_frame->TreeFrame();
    return m_frame->ListFrame();
}

bool CBrindleDoc::UpdateCommand(int id, CommandState &state) {
    switch (id) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_CLOSE:
    case ID_REFRESH:
    case ID_RUN_SCRIPT:
        state.enabled = true;
        return true;
    case ID_SPOOL:
        state.enabled = m_pOutputView != nullptr;
        state.checked = Spooling == 1;
        return true;
    case ID_AUTO_FORMAT:
        state.enabled = true;
        state.checked = AutoFormat == 1;
        return true;
    case ID_SHOW_GRID:
        state.enabled = true;
        state.checked = ShowGrid == 1;
        return true;
    case ID_TREE_HEADER:
    case ID_LIST_HEADER:
        if (CSubFrame *pane = CaptionedPane(id)) {
            state.enabled = true;
            state.checked = pane->IsCaptionBarShown();
        }
        return true;
    default:
        return false;
    }
}

bool CBrindleDoc::RunCommand(int id) {
    switch (id) {
    case ID_FILE_SAVE:
        DoSave(false);
        return true;
    case ID_FILE_SAVE_AS:
        DoSave(true);
        return true;
    case ID_FILE_CLOSE:
        if (m_frame)
            m_frame->close();
        return true;
    case ID_REFRESH:
        Refresh();
        return true;
    case ID_RUN_SCRIPT:
        ExecuteStatement("@");
        return true;
    case ID_SPOOL:
        if (m_pOutputView)
            m_pOutputView->ToggleSpool();
        return true;
    case ID_AUTO_FORMAT:
        AutoFormat = AutoFormat == 1 ? 0 : 1;
        if (m_pListView)
            m_pListView->AutoFormatColumns(AutoFormat == 1);
        return true;
    case ID_SHOW_GRID:
        ShowGrid = ShowGrid == 1 ? 0 : 1;
        if (m_pListView)
            m_pListView->SetGridLines(ShowGrid == 1, Qt::black, true);
        return true;
    case ID_TREE_HEADER:
    case ID_LIST_HEADER:
        if (CSubFrame *pane = CaptionedPane(id))
            pane->ToggleCaptionBar();
        return true;
    default:
        return false;
    }
}
