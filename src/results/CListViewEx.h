#pragma once

#include <string>
#include <string_view>

#include <QColor>
#include <QTableView>

#include "results/GridModel.h"

class CGridHeader;
class GridCellDelegate;

// The report list of the result pane: rows of text cells under a column
// header, selected a whole row at a time, drawn by the program (highlight to the
// client width, shortened texts, focus rectangle, dotted grid lines) and sorted
// by a click on a column header.
class CListViewEx : public QTableView {
    Q_OBJECT
public:
    explicit CListViewEx(QWidget *parent = nullptr);
    ~CListViewEx() override;

    GridModel &Model() const { return *m_model; }
    CGridHeader *GridHeader() const { return m_header; }

    int RowCount() const { return m_model->RowCount(); }
    // Columns in the header (CDBListView::ColumnCount counts the content's).
    int GridColumnCount() const { return m_model->ColumnCount(); }
    // Removes every row, then every column, and repaints.
    void ClearGrid();
    // A column as wide as its title in the grid font plus 15 pixels.
    void InsertGridColumn(const std::string &title, int position,
                          Qt::Alignment alignment = Qt::AlignLeft);
    // The title, up to 259 characters.
    std::string GetColumnTitle(int column) const;
    // Pixel width of a text in the grid font.
    int TextWidth(const QString &text) const;

    int SelectedRowCount() const;
    bool IsRowSelected(int row) const;
    void SelectRow(int row, bool selected);

    void SetGridLines(bool on, const QColor &colour, bool redraw);
    bool GridLines() const { return m_gridLines; }

    // Sorts by a column the way a click on its header does.
    void SortByColumn(int column);
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }

    // The row of the latest selection or focus change; -1 before the first.
    int LastChangedRow() const { return m_lastChangedRow; }
    // Scrolls until `row` is fully visible; nothing for a row that does not exist.
    void EnsureRowVisible(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;

private:
    void PaintRow(QPainter &painter, int row, const QRect &exposed);
    void DrawDottedLine(QPainter &painter, QPoint from, QPoint to) const;
    void UpdateRowHeight();
    void UpdateRow(int row);
    int TopRow() const;

    GridModel *m_model = nullptr;
    CGridHeader *m_header = nullptr;
    GridCellDelegate *m_delegate = nullptr;
    bool m_gridLines = false;
    QColor m_gridColour = Qt::black;
    int m_sortColumn = -1;
    bool m_sortAscending = false;
    int m_lastChangedRow = -1;
    bool m_takingFocus = false;
    // The result pane shows its selection while another pane has the focus.
    bool m_showSelectionAlways = true;
    bool m_highlightToClientWidth = true;
};
