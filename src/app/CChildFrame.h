#pragma once

#include <QMdiSubWindow>

#include "app/CommandTarget.h"

class CBrindleDoc;
class QSplitter;

// The connection window: one per document. The outer splitter holds the
// catalog and result panes above the console; the inner one puts the catalog
// tree left of the result grid.
class CChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int InitialWidth = 600;
    static constexpr int InitialHeight = 350;

    CChildFrame(CBrindleDoc &doc, QWidget *parent);
    ~CChildFrame() override;

    CBrindleDoc &Document() const { return m_doc; }
    // The view holding the focus inside this window, when it routes commands.
    CommandTarget *ActiveView() const;
    bool IsClosing() const { return m_closing; }
    QString LineIndicatorText() const { return QString(); }
    void OnConnected() {}
    QSplitter *OuterSplitter() const { return m_outer; }
    QSplitter *InnerSplitter() const { return m_inner; }

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    CBrindleDoc &m_doc;
    QSplitter *m_outer = nullptr;
    QSplitter *m_inner = nullptr;
    bool m_closing = false;
};
