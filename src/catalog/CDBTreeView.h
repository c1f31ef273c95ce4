#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QIcon>
#include <QPointer>
#include <QTreeWidget>

#include "connection/CatalogPane.h"
#include "framework/CommandTarget.h"

class CBrindleDoc;
class QMenu;

// The catalog tree of a connection window: the data source, its table-type and
// procedure folders, each table's fields and (once expanded) keys, and each
// procedure's columns. Selecting a node shows its catalog information in the
// grid; the catalog commands act on the current node.
class CDBTreeView : public QTreeWidget, public CatalogPane, public CommandTarget {
    Q_OBJECT
public:
    // Registers itself with the document and captions its frame by the settings.
    CDBTreeView(CBrindleDoc &doc, QWidget *parent);
    ~CDBTreeView() override;

    // Rebuilds every node from the document's table list; `progress` drives the
    // status bar's progress indicator.
    void BuildTree(bool progress) override;
    bool IsBuilding() const { return m_building; }

    // "All Tables, Views:" and the like, fixed when the view is made.
    QString Caption() const { return m_caption; }

    // A node's kind, and its label as the driver's bytes.
    static int Kind(const QTreeWidgetItem *item);
    static std::string Label(const QTreeWidgetItem *item);
    // The node last selected or right-clicked; nullptr when none.
    QTreeWidgetItem *CurrentNode() const { return m_current; }
    QTreeWidgetItem *RootNode() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }

    // The picture of a node kind.
    const QIcon &Image(int kind) const { return m_images[static_cast<size_t>(kind)]; }

    // The context menu of the current node's kind, or nullptr when it has none.
    QMenu *CreateContextMenu(QWidget *parent);

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

private:
    class ItemSink;

    QTreeWidgetItem *AddNode(QTreeWidgetItem *parent, int kind, const std::string &label);
    void LoadKeys(QTreeWidgetItem *table);
    void OnSelectionChanged();
    void ShowNode(QTreeWidgetItem *item);
    void SetStatus(const char *text);
    void ShowCaptionInFrame();

    CBrindleDoc &m_doc;
    // The document may go before its window's widgets do.
    QPointer<QObject> m_docAlive;
    std::vector<QIcon> m_images;
    QString m_caption;
    QTreeWidgetItem *m_current = nullptr;
    bool m_building = false;
};
