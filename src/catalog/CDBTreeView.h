#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QIcon>
#include <QPointer>
#include <QTreeWidget>

#include "app/CommandTarget.h"

class CBrindleDoc;
class CMainFrame;
class Recordset;
class QMenu;

// The catalog tree of a connection window: the data source, its table-type and
// procedure folders, each table's fields and (once expanded) keys, and each
// procedure's columns. Selecting a node shows its catalog information in the
// grid; the catalog commands act on the current node.
class CDBTreeView : public QTreeWidget, public CommandTarget {
    Q_OBJECT
public:
    // Registers itself with the document and captions its frame by the settings.
    CDBTreeView(CBrindleDoc &doc, QWidget *parent);
    ~CDBTreeView() override;

    // Rebuilds every node from the document's table list; `progress` drives the
    // status bar's progress indicator.
    void BuildTree(bool progress);
    bool IsBuilding() const { return m_building; }

    // "All Tables, Views:" and the like, fixed when the view is made.
    QString Caption() const { return m_caption; }

    // A node's kind, and its label as the driver's bytes.
    static int Kind(const QTreeWidgetItem *item);
    static std::string Label(const QTreeWidgetItem *item);
    // The node last selected or right-clicked; nullptr when none.
    QTreeWidgetItem *CurrentNode() const { return m_current; }
    QTreeWidgetItem *RootNode() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }

    // The context menu of the current node's kind, or nullptr when it has none.
    QMenu *CreateContextMenu(QWidget *parent);

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool event(QEvent *event) override;

private:
    QTreeWidgetItem *AddNode(QTreeWidgetItem *parent, int kind, const std::string &label);
    void AddTableNode(QTreeWidgetItem *folder, int kind, const std::string &name);
    void LoadProcedures(QTreeWidgetItem *root, bool progress);
    void LoadKeys(QTreeWidgetItem *table);
    void LoadPrimaryKeys(QTreeWidgetItem *table);
    void LoadForeignKeys(QTreeWidgetItem *table);
    struct KeyFolder {
        int folder;
        int column;
        const char *label;
        const char *status;
    };
    // Adds a key folder under `table` from a key recordset opened by `open`.
    void LoadKeyFolder(QTreeWidgetItem *table, const KeyFolder &folderKind, Recordset &keys,
                       const std::function<bool()> &open, const std::string &column);
    void OnSelectionChanged();
    void ShowNode(QTreeWidgetItem *item);
    void ShowCaptionInFrame();
    void SetStatus(const char *text);
    CMainFrame *MainFrame() const;

    CBrindleDoc &m_doc;
    // The document may go before its window's widgets do.
    QPointer<QObject> m_docAlive;
    std::vector<QIcon> m_images;
    QString m_caption;
    QTreeWidgetItem *m_current = nullptr;
    bool m_building = false;
};
