#include "catalog/CDBTreeView.h"

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include "catalog/CStatisticParamsDlg.h"
#include "catalog/CatalogNode.h"
#include "catalog/CatalogPresentations.h"
#include "catalog/CatalogTreeBuilder.h"
#include "catalog/CatalogTreeSink.h"
#include "connection/CBrindleDoc.h"
#include "connection/ConnectionWorker.h"
#include "connection/ResultPane.h"
#include "framework/AppSettings.h"
#include "framework/CaptionHost.h"
#include "framework/CommandMenu.h"
#include "framework/CommandTable.h"
#include "framework/DocumentHost.h"
#include "framework/ResourceIcon.h"
#include "framework/StatusSink.h"
#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"

using namespace CatalogNode;

namespace {

constexpr int KindRole = Qt::UserRole;
constexpr int LabelRole = Qt::UserRole + 1;

// The nearest table node above `item`, walking up from its parent.
QTreeWidgetItem *TableAbove(const QTreeWidgetItem *item) {
    for (QTreeWidgetItem *node = item->parent(); node; node = node->parent())
        if (IsTable(CDBTreeView::Kind(node)))
            return node;
    return nullptr;
}

bool HasChildOfKind(const QTreeWidgetItem *item, int kind) {
    for (int i = 0; i < item->childCount(); ++i)
        if (CDBTreeView::Kind(item->child(i)) == kind)
            return true;
    return false;
}

QString PaneCaption(const AppSettings &settings) {
    QString caption = QStringLiteral("All Tables");
    if (settings.SystemTables)
        caption += QStringLiteral(", SysTables");
    if (settings.Views)
        caption += QStringLiteral(", Views");
    if (settings.Synonyms)
        caption += QStringLiteral(", Synonyms");
    if (settings.Procedures)
        caption += QStringLiteral(", Procedures");
    return caption + QStringLiteral(":");
}

// A node kept as small as it can be, for trees of a million nodes: its kind
// and its label's bytes. Text, icon and roles are made from them when asked.
class CatalogItem : public QTreeWidgetItem {
public:
    CatalogItem(int kind, QByteArray label) : m_kind(kind), m_label(std::move(label)) {}

    // A child label kept as bytes until the node is first expanded; the node
    // shows its expand arrow meanwhile.
    void Defer(const std::string &label) {
        m_deferred.append(label.data(), static_cast<qsizetype>(label.size()));
        m_deferred.append('\0');
        setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    // The deferred children as nodes of `kind`, after the ones already made.
    void MakeDeferred(int kind) {
        if (m_deferred.isEmpty())
            return;
        QList<QTreeWidgetItem *> items;
        for (qsizetype start = 0; start < m_deferred.size();) {
            const qsizetype end = m_deferred.indexOf('\0', start);
            items.append(new CatalogItem(kind, m_deferred.mid(start, end - start)));
            start = end + 1;
        }
        m_deferred = QByteArray();
        setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
        addChildren(items);
    }

    QVariant data(int column, int role) const override {
        if (column != 0)
            return QTreeWidgetItem::data(column, role);
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromUtf8(m_label);
        case Qt::DecorationRole:
            if (const auto *view = static_cast<const CDBTreeView *>(treeWidget()))
                return view->Image(m_kind);
            return QVariant();
        case KindRole:
            return m_kind;
        case LabelRole:
            return m_label;
        default:
            return QTreeWidgetItem::data(column, role);
        }
    }

private:
    int m_kind;
    QByteArray m_label;
    QByteArray m_deferred;
};

// Field nodes made while the tree is built; past this, a Fields folder makes
// its fields when first expanded, which keeps a catalog of 100,000 tables light.
constexpr long FieldsMadeAtOnce = 200000;

// Switches the grid's painting off for one catalog load.
class GridRedrawOff {
public:
    explicit GridRedrawOff(ResultPane &grid) : m_grid(grid) { m_grid.SetRedraw(false); }
    ~GridRedrawOff() { m_grid.SetRedraw(true); }
    GridRedrawOff(const GridRedrawOff &) = delete;
    GridRedrawOff &operator=(const GridRedrawOff &) = delete;

private:
    ResultPane &m_grid;
};

} // namespace

CDBTreeView::CDBTreeView(CBrindleDoc &doc, QWidget *parent)
    : QTreeWidget(parent), m_doc(doc), m_docAlive(&doc) {
    setObjectName(QStringLiteral("treeView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    // One set shared by every tree: Qt caches painted icon pixmaps per icon, so a
    // set per window would leave each closed window's pixmaps in that cache.
    static const std::vector<QIcon> images = [] {
        std::vector<QIcon> loaded;
        loaded.reserve(ImageCount);
        for (int kind = 0; kind < ImageCount; ++kind)
            loaded.push_back(ResourceIcon::Load(QString::fromLatin1(ImagePath(kind))));
        return loaded;
    }();
    m_images = images;

    doc.m_pTreeView = this;
    // Fixed now: later settings changes show in windows made later.
    m_caption = PaneCaption(doc.Host().Settings());
    ShowCaptionInFrame();

    connect(this, &QTreeWidget::itemSelectionChanged, this, &CDBTreeView::OnSelectionChanged);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        if (m_building)
            return;
        if (IsTable(Kind(item)))
            LoadKeys(item);
        else if (Kind(item) == FieldsFolder)
            static_cast<CatalogItem *>(item)->MakeDeferred(Field);
    });
}

CDBTreeView::~CDBTreeView() {
    if (m_docAlive && m_doc.m_pTreeView == this)
        m_doc.m_pTreeView = nullptr;
}

int CDBTreeView::Kind(const QTreeWidgetItem *item) {
    return item ? item->data(0, KindRole).toInt() : -1;
}

std::string CDBTreeView::Label(const QTreeWidgetItem *item) {
    if (!item)
        return std::string();
    return item->data(0, LabelRole).toByteArray().toStdString();
}

void CDBTreeView::SetStatus(const char *text) {
    if (StatusSink *status = m_doc.Host().Status())
        status->SetMessageText(text ? QString::fromLatin1(text) : QString());
}

void CDBTreeView::ShowCaptionInFrame() {
    if (CaptionHost *frame = CaptionHost::Above(this))
        frame->SetCaption(m_caption);
}

bool CDBTreeView::event(QEvent *event) {
    const bool handled = QTreeWidget::event(event);
    // The frame may take the view in after it was made.
    if (event->type() == QEvent::ParentChange)
        ShowCaptionInFrame();
    return handled;
}

// Hangs the builder's nodes into the view: node ids index the items made so far.
class CDBTreeView::ItemSink : public CatalogTreeSink {
public:
    ItemSink(CDBTreeView &view, QTreeWidgetItem *first) : m_view(view) {
        if (first)
            m_items.push_back(first);
    }
    int AddNode(int parent, int kind, const std::string &label) override {
        QTreeWidgetItem *parentItem = parent == NoParent ? nullptr : m_items[size_t(parent)];
        if (kind == Field && parentItem && ++m_fields > FieldsMadeAtOnce) {
            // No node yet, so no id to hand on: a field is nobody's parent.
            static_cast<CatalogItem *>(parentItem)->Defer(label);
            return NoParent;
        }
        m_items.push_back(m_view.AddNode(parentItem, kind, label));
        return static_cast<int>(m_items.size() - 1);
    }
    QTreeWidgetItem *Item(int id) const { return m_items[size_t(id)]; }

private:
    CDBTreeView &m_view;
    std::vector<QTreeWidgetItem *> m_items;
    long m_fields = 0;
};

QTreeWidgetItem *CDBTreeView::AddNode(QTreeWidgetItem *parent, int kind, const std::string &label) {
    auto *item =
        new CatalogItem(kind, QByteArray(label.data(), static_cast<qsizetype>(label.size())));
    if (parent)
        parent->addChild(item);
    return item;
}

void CDBTreeView::BuildTree(bool progress) {
    ConnectionWorker::Work work(m_doc.Worker(), QString());
    WaitCursor wait;
    m_building = true;
    m_current = nullptr;
    clear();
    viewport()->update();

    // The nodes are put together away from the view and shown in one insertion,
    // so the build stays linear in the number of nodes.
    ItemSink sink(*this, nullptr);
    QTreeWidgetItem *root = sink.Item(CatalogTreeBuilder(m_doc, sink).Build(progress));
    addTopLevelItem(root);
    root->setExpanded(true);
    m_building = false;
    viewport()->update();
}

void CDBTreeView::LoadKeys(QTreeWidgetItem *table) {
    WaitCursor wait;
    // Loaded once; a table without keys asks again on each expansion.
    ItemSink sink(*this, table);
    CatalogTreeBuilder builder(m_doc, sink);
    const std::string name = Label(table);
    if (!HasChildOfKind(table, PrimaryKeysFolder))
        builder.LoadPrimaryKeys(0, name);
    if (!HasChildOfKind(table, ForeignKeysFolder))
        builder.LoadForeignKeys(0, name);
}

void CDBTreeView::OnSelectionChanged() {
    if (m_building)
        return;
    const QList<QTreeWidgetItem *> selected = selectedItems();
    if (selected.isEmpty()) {
        // Nothing selected (a click on empty space): no current node, grid unchanged.
        m_current = nullptr;
        return;
    }
    m_current = selected.first();
    ShowNode(m_current);
}

void CDBTreeView::ShowNode(QTreeWidgetItem *item) {
    ResultPane *grid = m_doc.m_pListView;
    if (!grid)
        return;
    GridRedrawOff redrawOff(*grid);
    CatalogPresentations show(m_doc, *grid);
    const int kind = Kind(item);
    if (const char *status = SelectionStatusText(kind))
        SetStatus(status);
    const std::string label = Label(item);
    const std::string parent = Label(item->parent());
    const std::string grandparent =
        item->parent() ? Label(item->parent()->parent()) : std::string();
    if (IsTable(kind)) {
        show.ShowTables(label.c_str(), nullptr);
    } else {
        switch (kind) {
        case Root:
            show.ShowDriverInfo();
            break;
        case TablesFolder:
            show.ShowTables(nullptr, "TABLE");
            break;
        case SystemTablesFolder:
            show.ShowTables(nullptr, "SYSTEM TABLE");
            break;
        case SynonymsFolder:
            show.ShowTables(nullptr, "SYNONYM");
            break;
        case ViewsFolder:
            show.ShowTables(nullptr, "VIEW");
            break;
        case Field:
            show.ShowColumns(grandparent, label.c_str());
            break;
        case FieldsFolder:
            show.ShowColumns(parent, nullptr);
            break;
        case PrimaryKeyColumn:
            show.ShowPrimaryKeys(grandparent, label.c_str());
            break;
        case PrimaryKeysFolder:
            show.ShowPrimaryKeys(parent, nullptr);
            break;
        case ForeignKeyColumn:
            show.ShowForeignKeys(grandparent, label.c_str());
            break;
        case ForeignKeysFolder:
            show.ShowForeignKeys(parent, nullptr);
            break;
        case Procedure:
            show.ShowProcedures(label.c_str());
            break;
        case ProceduresFolder:
            show.ShowProcedures(nullptr);
            break;
        case ProcedureColumn:
            show.ShowProcedureColumns(grandparent, label.c_str());
            break;
        case ColumnsFolder:
            show.ShowProcedureColumns(parent, nullptr);
            break;
        default:
            grid->ClearGrid();
            break;
        }
    }
    SetStatus(nullptr);
}

QMenu *CDBTreeView::CreateContextMenu(QWidget *parent) {
    if (!m_current)
        return nullptr;
    const int menuId = ContextMenuId(Kind(m_current));
    if (menuId == 0)
        return nullptr;
    const char *title = menuId == 132 ? "Table" : menuId == 168 ? "Field" : "Procedure";
    return CreateCommandMenu(QString::fromLatin1(title), ContextMenu(menuId), *this,
                             m_doc.Host().Commands(), parent);
}

void CDBTreeView::contextMenuEvent(QContextMenuEvent *event) {
    event->accept();
    // The tree becomes the active view, so the menu's commands come to it.
    setFocus(Qt::PopupFocusReason);
    QTreeWidgetItem *item =
        event->reason() == QContextMenuEvent::Mouse
            ? itemAt(event->pos())
            : (currentItem() && currentItem()->isSelected() ? currentItem() : nullptr);
    if (!item) {
        clearSelection();
        m_current = nullptr;
        return;
    }
    setCurrentItem(item);
    m_current = item;
    std::unique_ptr<QMenu> menu(CreateContextMenu(this));
    if (menu)
        menu->exec(event->globalPos());
}

bool CDBTreeView::UpdateCommand(int id, CommandState &state) {
    switch (id) {
    case ID_CATALOG_SCHEMA:
    case ID_CATALOG_PRIVILEGES:
    case ID_CATALOG_STATISTICS:
    case ID_CATALOG_SPECIAL_COLUMNS:
    case ID_DATA:
        state.enabled = m_current && m_current->isSelected() && CommandEnabled(id, Kind(m_current));
        return true;
    default:
        return false;
    }
}

bool CDBTreeView::RunCommand(int id) {
    if (id < ID_CATALOG_SCHEMA || id > ID_DATA)
        return false;
    ResultPane *grid = m_doc.m_pListView;
    if (!m_current || !grid)
        return true;
    const int kind = Kind(m_current);
    const std::string label = Label(m_current);
    const bool table = IsTable(kind);

    uint16_t unique = 0;
    uint16_t accuracy = 0;
    if (id == ID_CATALOG_STATISTICS) {
        // Asked before the wait cursor shows; Cancel leaves the grid as it is.
        CStatisticParamsDlg dialog(this);
        if (m_doc.Host().Prompts().Exec(dialog) != QDialog::Accepted)
            return true;
        unique = dialog.Unique();
        accuracy = dialog.Accuracy();
    }

    WaitCursor wait;
    {
        GridRedrawOff redrawOff(*grid);
        CatalogPresentations show(m_doc, *grid);
        const QTreeWidgetItem *owner = TableAbove(m_current);
        const std::string ownerName = Label(owner);
        switch (id) {
        case ID_CATALOG_SCHEMA:
            if (table) {
                SetStatus("Loading table schema info...");
                show.ShowTables(label.c_str(), nullptr);
            } else if (kind == Field && owner) {
                SetStatus("Loading field schema info...");
                show.ShowColumns(ownerName, label.c_str());
            } else if (kind == FieldsFolder && owner) {
                SetStatus("Loading field schema info...");
                show.ShowColumns(ownerName, nullptr);
            } else if (kind == Procedure) {
                SetStatus("Loading procedure schema info...");
                show.ShowProcedures(label.c_str());
            }
            break;
        case ID_CATALOG_PRIVILEGES:
            if (table) {
                SetStatus("Loading table privilege info...");
                show.ShowTablePrivileges(label);
            } else if (kind == Field && owner) {
                SetStatus("Loading field privilege info...");
                show.ShowColumnPrivileges(ownerName, label.c_str());
            } else if (kind == FieldsFolder && owner) {
                SetStatus("Loading field privilege info...");
                show.ShowColumnPrivileges(ownerName, nullptr);
            }
            break;
        case ID_CATALOG_STATISTICS:
            SetStatus("Loading table statistic info...");
            show.ShowStatistics(label, unique, accuracy);
            break;
        case ID_CATALOG_SPECIAL_COLUMNS:
            SetStatus("Loading table special column info...");
            show.ShowSpecialColumns(label);
            break;
        case ID_DATA:
            if (table) {
                SetStatus("Loading table data...");
                grid->LoadTableData(label);
            } else if (kind == Procedure) {
                SetStatus("Loading procedure data...");
                grid->LoadProcedureData(label);
            }
            // The data load leaves its own status text.
            return true;
        }
    }
    SetStatus(nullptr);
    return true;
}
