#pragma once

#include <QMdiSubWindow>
#include <QPointer>

#include <string>

#include "framework/CommandTarget.h"

class CBrindleDoc;
class CDBListView;
class CDBOutputView;
class CListFrameWnd;
class CSubFrame;
class CTreeFrameWnd;
class QSplitter;

// The connection window: one per document. The outer splitter holds the
// catalog and result panes above the console; the inner one puts the catalog
// tree left of the result grid.
class CChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int InitialWidth = 600;
    static constexpr int InitialHeight = 350;
    // Ideal height of the upper row and width of the tree column.
    static constexpr int PaneSize = 200;

    CChildFrame(CBrindleDoc &doc, QWidget *parent);
    ~CChildFrame() override;

    // Shares the window's height between the panes once it has its size: the
    // upper row gets the larger part, and never less than PaneSize.
    void FitPanes();

    CBrindleDoc &Document() const { return m_doc; }
    // The view last given the focus inside this window, when it routes commands.
    CommandTarget *ActiveView() const;
    QWidget *ActiveViewWidget() const { return m_activeView; }
    bool IsClosing() const { return m_closing; }
    QSplitter *OuterSplitter() const { return m_outer; }
    QSplitter *InnerSplitter() const { return m_inner; }
    CTreeFrameWnd *TreeFrame() const { return m_treeFrame; }
    CListFrameWnd *ListFrame() const { return m_listFrame; }
    CDBListView *ListView() const { return m_listView; }
    CDBOutputView *Console() const { return m_console; }
    // The panes F6 and Shift+F6 move between, in order.
    QList<QWidget *> Panes() const;

    // Called once the document is connected: the console writes its banner.
    void OnConnected();
    // "Ln %u" for the active console or grid; empty for other views.
    QString LineIndicatorText() const;

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

    static constexpr const char *CloseWhileBusyText =
        "A statement is still running on this connection. Cancel it and close the window?";

Q_SIGNALS:
    // The window is closing: its document is to go.
    void Closing(CBrindleDoc *doc);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void OnFocusChanged(QWidget *now);
    void MoveToPane(int step);
    // The tree's or the grid's inner frame, for the Tree Header and List Header commands.
    CSubFrame *CaptionedPane(int id) const;
    // Edit > Paste Syntax: the Syntax Dictionary over this connection, into the console.
    void PasteSyntax();
    // The label of the tree's current node when it is a table, system table,
    // synonym or view: the wizards' preset table. Empty otherwise.
    std::string SelectedTableName() const;

    CBrindleDoc &m_doc;
    QSplitter *m_outer = nullptr;
    QSplitter *m_inner = nullptr;
    CTreeFrameWnd *m_treeFrame = nullptr;
    CListFrameWnd *m_listFrame = nullptr;
    QWidget *m_treeView = nullptr;
    CDBListView *m_listView = nullptr;
    CDBOutputView *m_console = nullptr;
    QPointer<QWidget> m_activeView;
    bool m_closing = false;
    // Close was asked while the document's work ran, and the work was told to stop.
    bool m_closeWhenIdle = false;
};
