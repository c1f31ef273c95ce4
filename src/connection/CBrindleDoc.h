#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QObject>
#include <QString>

#include "connection/ConnectionWorker.h"
#include "connection/StatementRunner.h"
#include "framework/CommandTarget.h"
#include "odbc/OdbcConnection.h"

class CatalogPane;
class CColumns;
class ConsolePane;
class CDriverInfo;
class CTables;
class DatabaseError;
class DocumentHost;
class ResultPane;

// One open connection to a data source and what belongs to it: the table list,
// the column list of one table, the driver information, the .dsn file and the
// per-connection display flags.
class CBrindleDoc : public QObject, public CommandTarget {
    Q_OBJECT
public:
    explicit CBrindleDoc(DocumentHost &host);
    ~CBrindleDoc() override;

    // New: choose a data source and connect; false abandons the window.
    bool OnNewDocument();
    // Open: connect through the .dsn file at `path`; false abandons the window.
    bool OnOpenDocument(const QString &path);
    // Save (asks for a name when the connection has no file yet) and Save As.
    bool DoSave(bool saveAs);
    // Closes the lists and the connection. Safe to call more than once.
    void OnCloseDocument();

    std::string GetDataSourceName() const;
    // Reports on the console (and in a message box when the settings say so);
    // an error that says the connection is gone closes it.
    void ReportError(const DatabaseError &error);
    // Reports alike an error of another connection the document's work used
    // (Export Query's own): it says nothing of the document's connection.
    void ReportOtherConnectionError(const DatabaseError &error);
    // The console's line after an error that lost the connection.
    static const char *const LostText;
    bool FetchTables();
    void FetchColumns(const std::string &tableName);
    bool InitConnection(const QString &name);
    // Reads the table list and the tree again; a lost connection is made again first.
    void Refresh();

    // One statement as the user or a script gives it: a query goes to the result
    // grid, a comment does nothing, "@" runs a script, anything else is executed
    // directly.
    void ExecuteStatement(const std::string &statement);
    // Executes a left-trimmed statement on the connection and reports it on the console.
    void ExecuteDirect(const std::string &text);
    // "@" alone asks for the file; "@path" runs that script file.
    void RunScript(const std::string &text);
    // Scripts calling scripts stop this deep, so a script that calls itself ends.
    static constexpr int MaxScriptDepth = StatementRunner::MaxScriptDepth;

    // Settings, prompts, status and commands of the program around the document.
    DocumentHost &Host() const { return m_host; }

    OdbcConnection &Database() { return m_database; }
    // The thread the connection's calls run on, and the work running on it.
    ConnectionWorker &Worker() { return m_worker; }
    bool IsWorking() const { return m_worker.IsWorking(); }
    bool IsConnected() const { return m_database.IsOpen(); }
    CDriverInfo *DriverInfo() const { return m_driverInfo.get(); }
    CTables *Tables() const { return m_tables.get(); }
    CColumns *Columns() const { return m_columns.get(); }

    // The file the connection was opened from or last saved to; empty when none.
    const QString &PathName() const { return m_pathName; }
    // The name Save proposes for a connection without a file ("BRINDLE1").
    const QString &Title() const { return m_title; }

    // "Data Source Files (*.dsn)" for the file dialogs.
    static QString FileFilter();
    // The status bar's line for a failed connect: the error's own text.
    static QString FailureStatus(const DatabaseError &error);

    // The views register themselves here; the document does not own them.
    CatalogPane *m_pTreeView = nullptr;
    ResultPane *m_pListView = nullptr;
    ConsolePane *m_pOutputView = nullptr;

    int32_t Spooling = 0;
    int32_t ShowGrid = 0;
    int32_t AutoFormat = 0;

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

Q_SIGNALS:
    // The connection window's caption: the data source's name or the file's path.
    void CaptionChanged(const QString &caption);

private:
    // The console's lines and the message box of an error; `lost` adds the
    // lost-connection line.
    void Report(const DatabaseError &error, bool lost);
    bool Connect(const std::string &connect);
    void SetStatus(const QString &text);

    DocumentHost &m_host;
    OdbcConnection m_database;
    // After the connection: it is gone before the connection's last calls end.
    ConnectionWorker m_worker{m_host, m_database};
    std::unique_ptr<CDriverInfo> m_driverInfo;
    std::unique_ptr<CTables> m_tables;
    std::unique_ptr<CColumns> m_columns;
    // The last connect string: Save still writes it after the connection is lost.
    std::string m_connect;
    QString m_pathName;
    QString m_title;
    StatementRunner m_runner{*this};
};
