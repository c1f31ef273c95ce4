#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>
#include <QString>

#include "connection/ResultPane.h"
#include "framework/CommandTarget.h"
#include "results/CListViewEx.h"

class CBrindleDoc;
class ExportProgress;
class FindDialog;
class GridPrinter;
class QMenu;
struct ExportSource;

// The result grid of a connection window: what the catalog, table data and
// queries show. It is the only store of a shown result; export, find and
// printing read the cells back from here.
class CDBListView : public CListViewEx, public ResultPane, public CommandTarget {
    Q_OBJECT
public:
    // Registers itself with the document and captions its frame "Results: ".
    CDBListView(CBrindleDoc &doc, QWidget *parent);
    ~CDBListView() override;

    // Empties the grid and lays out new columns (or, in PropertyMode, the
    // property rows) under a new caption.
    void SetColumns(const std::vector<std::string> &titles, const QString &caption) override;
    // Column 0 inserts a new row at `row` with the text as its label; any other
    // column sets that cell of an existing row.
    void SetCellText(int row, int column, const std::string &text) override;
    void SetPropertyMode(bool on) override { PropertyMode = on; }
    bool IsPropertyMode() const override { return PropertyMode; }
    void ClearGrid() override { CListViewEx::ClearGrid(); }
    void ShowGridLines(bool on) override;
    void SetRedraw(bool on) override;
    void ExportQuery() override;
    // The whole cell, as the driver's bytes.
    std::string GetCellText(int row, int column) const;
    std::string_view CellBytes(int row, int column) const { return Model().Cell(row, column); }

    // The caption of the hosting frame's caption bar.
    QString Caption() const { return m_caption; }

    // Widens the first ColumnCount columns to their data (on; never narrower),
    // or sets each to its title's width plus 18 (off).
    void AutoFormatColumns(bool on) override;

    // Executes a query and shows its first MaxRecords rows, reporting on the console.
    void LoadQueryResult(const std::string &statement) override;
    void LoadStatementRows(OdbcStatement &query, long long elapsedSeconds) override;
    // The rows of a table (auto-formatted with the connection's flag) or a procedure.
    void LoadTableData(const std::string &tableName) override;
    void LoadProcedureData(const std::string &procedureName) override;

    // The "Result" popup menu, or nullptr while the grid has no rows.
    QMenu *CreateResultMenu(QWidget *parent);

    // The grid's own commands: Select All, Find, Export All and Export Selected,
    // Deploy, Print, Print Preview and Print Setup.
    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

    // What an export or a deploy reads of the grid now: its rows, the selection,
    // caption, widths and font.
    ExportSource MakeExportSource(bool allRows, ExportProgress *progress) const;
    // The frame's Find dialog while it is open.
    FindDialog *OpenFindDialog() const;

    // Columns of the current content; export and Auto Format work on these.
    int ColumnCount = 0;
    // Rows of "Property" / "Value" pairs instead of columns (catalog information).
    bool PropertyMode = false;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

private:
    void SetCaption(const QString &caption);
    void ShowCaptionInFrame();
    // The driver's identifier quote for names put into statements.
    std::string IdentifierQuote() const;
    void ExportRows(bool allRows);
    void Deploy();
    GridPrinter &Printer();
    // The frame dialogs stand over.
    QWidget *FrameWindow();

    CBrindleDoc &m_doc;
    // The document may go before its window's widgets do.
    QPointer<CBrindleDoc> m_docAlive;
    QString m_caption;
    QPointer<FindDialog> m_findDialog;
    std::unique_ptr<GridPrinter> m_printer;
};
