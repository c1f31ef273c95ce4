#include "connection/CBrindleDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include "catalog/recordsets/CColumns.h"
#include "catalog/recordsets/CTables.h"
#include "connection/CDriverInfo.h"
#include "connection/CatalogPane.h"
#include "connection/ConsolePane.h"
#include "connection/DsnFileWriter.h"
#include "connection/ResultPane.h"
#include "connection/TableTypeList.h"
#include "framework/AppSettings.h"
#include "framework/CommandTable.h"
#include "framework/DocumentHost.h"
#include "framework/StatusSink.h"
#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "odbc/ConnectString.h"
#include "odbc/DatabaseError.h"

namespace {

// Answers the connection's questions with our own dialogs.
class DialogConnectPrompt : public ConnectPrompt {
public:
    DialogConnectPrompt(UserPrompts &prompts, QWidget *parent)
        : m_prompts(prompts), m_parent(parent) {}
    std::optional<std::string> ChooseDataSource() override {
        return m_prompts.ChooseDataSource(m_parent);
    }
    std::optional<Login> AskLogin(const std::string &dataSource, const std::string &message,
                                  const std::string &user) override {
        return m_prompts.AskLogin(m_parent, dataSource, message, user);
    }

private:
    UserPrompts &m_prompts;
    QWidget *m_parent;
};

} // namespace

CBrindleDoc::CBrindleDoc(DocumentHost &host) : m_host(host) { m_database.SetDispatcher(&m_worker); }

CBrindleDoc::~CBrindleDoc() { OnCloseDocument(); }

const char *const CBrindleDoc::LostText =
    "Error: The connection to the data source was lost. Refresh connects again.";

QString CBrindleDoc::FailureStatus(const DatabaseError &error) {
    return QStringLiteral("Error: ") + QString::fromStdString(error.ErrorText()).simplified();
}

QString CBrindleDoc::FileFilter() { return QStringLiteral("Data Source Files (*.dsn)"); }

void CBrindleDoc::SetStatus(const QString &text) {
    if (StatusSink *status = m_host.Status())
        status->SetMessageText(text);
}

bool CBrindleDoc::Connect(const std::string &connect) {
    DialogConnectPrompt prompt(m_host.Prompts(), m_host.DialogParent());
    // Connecting runs on the worker: the window answers, and Cancel gives up a
    // server that never does, as a cancelled dialog.
    try {
        m_database.Open(connect, m_host.Settings().CursorLib != 0, &prompt);
    } catch (const DatabaseError &error) {
        ReportError(error);
        // The window goes with the failed connection, its console too: the
        // status bar keeps the error, whatever ShowMessage says.
        SetStatus(FailureStatus(error));
    }
    m_worker.ClearGivenUp();
    if (m_database.IsOpen())
        m_connect = m_database.ConnectString();
    return m_database.IsOpen();
}

bool CBrindleDoc::OnNewDocument() {
    if (!Connect("ODBC;"))
        return false;
    m_title = m_host.NextUntitledName();
    return InitConnection(QString::fromStdString(GetDataSourceName()));
}

bool CBrindleDoc::OnOpenDocument(const QString &path) {
    const QFileInfo info(path);
    // Opening a FIFO or a device would block or read without end.
    if (info.exists() && !info.isFile()) {
        m_host.Prompts().Message(m_host.DialogParent(),
                                 path + QStringLiteral("\nThis is not a data source file."),
                                 UserPrompts::Icon::Exclamation);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        const QString reason = info.exists()
                                   ? QStringLiteral("\nAccess denied.")
                                   : QStringLiteral("\nFile not found.\nVerify the correct file "
                                                    "name was given.");
        m_host.Prompts().Message(m_host.DialogParent(), path + reason,
                                 UserPrompts::Icon::Exclamation);
        return false;
    }
    file.close();
    const QString fullPath = info.absoluteFilePath();
    // Braced, so a ";" in the path cannot start another element.
    if (!Connect("FILEDSN=" + ConnectString::Braced(QFile::encodeName(fullPath).toStdString())))
        return false;
    m_pathName = fullPath;
    m_title = info.completeBaseName();
    return InitConnection(fullPath);
}

bool CBrindleDoc::InitConnection(const QString &name) {
    // The dialogs of connecting have just closed over the window.
    if (QWidget *parent = m_host.DialogParent())
        parent->repaint();
    if (!m_database.IsOpen())
        return false;
    m_database.SetQueryTimeout(m_host.Settings().QueryTimeout);
    if (!FetchTables())
        return false;
    if (m_pTreeView)
        m_pTreeView->BuildTree(true);
    Q_EMIT CaptionChanged(name);
    return true;
}

bool CBrindleDoc::FetchTables() {
    ConnectionWorker::Work work(m_worker, QString());
    SetStatus(QStringLiteral("Fetching table info..."));
    WaitCursor wait;
    if (m_tables)
        m_tables->Close();
    m_tables.reset();
    m_driverInfo.reset();

    m_driverInfo = std::make_unique<CDriverInfo>(m_database);
    const std::string types = TableTypeList(m_host.Settings());
    auto tables = std::make_unique<CTables>(m_database);
    bool opened = false;
    QString failure;
    try {
        opened = tables->Open(nullptr, nullptr, nullptr, types.c_str());
    } catch (const DatabaseError &error) {
        ReportError(error);
        failure = FailureStatus(error);
    }
    if (opened) {
        m_tables = std::move(tables);
    } else {
        // Without a table list the connection is of no use: close it.
        m_driverInfo.reset();
        m_database.Close();
    }
    SetStatus(failure);
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
    // A connection the server dropped is made again with the string it was
    // made with; a refused login asks again.
    if ((!m_database.IsOpen() || m_database.IsDead()) && !m_connect.empty()) {
        m_database.Close();
        m_worker.ClearGivenUp();
        if (!Connect(m_connect))
            return;
        SetStatus(QString());
    }
    // The caption stays; a failed Refresh leaves the document disconnected.
    if (FetchTables() && m_pTreeView)
        m_pTreeView->BuildTree(true);
}

std::string CBrindleDoc::GetDataSourceName() const {
    return ConnectString::DataSourceName(m_database);
}

void CBrindleDoc::ExecuteStatement(const std::string &statement) {
    m_runner.ExecuteStatement(statement);
}

void CBrindleDoc::ExecuteDirect(const std::string &text) { m_runner.ExecuteDirect(text); }

void CBrindleDoc::RunScript(const std::string &text) { m_runner.RunScript(text); }

void CBrindleDoc::ReportError(const DatabaseError &error) {
    // Statements would only fail one by one on a connection that is gone: it
    // is closed, and Refresh makes it again.
    const bool lost = m_database.IsOpen() ? error.IsConnectionLost() || m_database.IsDead()
                                          : m_worker.ConnectionGivenUp();
    if (lost) {
        m_worker.ClearGivenUp();
        m_database.Close();
    }
    Report(error, lost);
}

void CBrindleDoc::ReportOtherConnectionError(const DatabaseError &error) { Report(error, false); }

void CBrindleDoc::Report(const DatabaseError &error, bool lost) {
    if (ConsolePane *console = m_pOutputView) {
        console->AppendText("Error: (" + std::to_string(error.RetCode()) + ") " +
                            error.ErrorText() + "\r\n" + error.StateText() + "\r\n");
        if (lost)
            console->AppendText(LostText + std::string("\r\n"));
        console->ShowPrompt();
        // The message box must not stand over a console that lacks the error.
        console->FlushPending();
    }
    if (m_host.Settings().ShowMessage == 1)
        m_host.Prompts().Message(m_host.DialogParent(), QString::fromStdString(error.ErrorText()),
                                 UserPrompts::Icon::Exclamation);
}

bool CBrindleDoc::DoSave(bool saveAs) {
    QString path = m_pathName;
    if (saveAs || path.isEmpty()) {
        const QString proposed = path.isEmpty() ? m_title + QStringLiteral(".dsn") : path;
        path = m_host.Prompts().SaveFileName(m_host.DialogParent(), QStringLiteral("Save As"),
                                             proposed, FileFilter());
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".dsn");
    }
    WaitCursor wait;
    if (!DsnFileWriter::WriteFile(path.toStdString(), m_connect)) {
        m_host.Prompts().Message(m_host.DialogParent(),
                                 path + QStringLiteral("\nThe file could not be written."),
                                 UserPrompts::Icon::Exclamation);
        return false;
    }
    m_pathName = QFileInfo(path).absoluteFilePath();
    m_host.AddToRecentFileList(m_pathName);
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

bool CBrindleDoc::UpdateCommand(int id, CommandState &state) {
    switch (id) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
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
    case ID_EXPORT_QUERY:
        state.enabled = IsConnected() && m_pListView != nullptr;
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
    case ID_REFRESH:
        Refresh();
        return true;
    case ID_EXPORT_QUERY:
        if (IsConnected() && m_pListView)
            m_pListView->ExportQuery();
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
            m_pListView->ShowGridLines(ShowGrid == 1);
        return true;
    default:
        return false;
    }
}
