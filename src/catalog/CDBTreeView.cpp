#include "catalog/CDBTreeView.h"

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

#include "app/CBrindleApp.h"
#include "app/CMainFrame.h"
#include "app/CSubFrame.h"
#include "app/CommandTable.h"
#include "app/WaitCursor.h"
#include "catalog/CColumns.h"
#include "catalog/CForeignKeys.h"
#include "catalog/CPrimaryKeys.h"
#include "catalog/CProcedureColumns.h"
#include "catalog/CProcedures.h"
#include "catalog/CStatisticParamsDlg.h"
#include "catalog/CTables.h"
#include "catalog/CatalogNode.h"
#include "connection/CBrindleDoc.h"
#include "odbc/DatabaseError.h"
#include "results/CDBListView.h"

using namespace CatalogNode;

namespace {

constexpr int KindRole = Qt::UserRole;
constexpr int LabelRole = Qt::UserRole + 1;
constexpr uint16_t TablesPerProgressStep = 10;

// Walks a recordset to its end for its row count, then back to its first row.
long CountRows(Recordset &rs) {
    rs.MoveFirst();
    while (!rs.IsEOF())
        rs.MoveNext();
    const long count = rs.RecordCount();
    rs.MoveFirst();
    return count;
}

uint16_t ProgressTotal(long count) {
    return static_cast<uint16_t>(std::clamp<long>(count, 0, std::numeric_limits<uint16_t>::max()));
}

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

QString PaneCaption() {
    QString caption = QStringLiteral("All Tables");
    if (CBrindleApp *app = CBrindleApp::Instance()) {
        const AppSettings &settings = app->Settings();
        if (settings.SystemTables)
            caption += QStringLiteral(", SysTables");
        if (settings.Views)
            caption += QStringLiteral(", Views");
        if (settings.Synonyms)
            caption += QStringLiteral(", Synonyms");
        if (settings.Procedures)
            caption += QStringLiteral(", Procedures");
    }
    return caption + QStringLiteral(":");
}

// Switches the grid's painting off for one catalog load.
class GridRedrawOff {
public:
    explicit GridRedrawOff(QWidget *grid) : m_grid(grid) {
        if (m_grid)
            m_grid->setUpdatesEnabled(false);
    }
    ~GridRedrawOff() {
        if (m_grid)
            m_grid->setUpdatesEnabled(true);
    }
    GridRedrawOff(const GridRedrawOff &) = delete;
    GridRedrawOff &operator=(const GridRedrawOff &) = delete;

private:
    QWidget *m_grid;
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
    m_images.reserve(ImageCount);
    for (int kind = 0; kind < ImageCount; ++kind)
        m_images.emplace_back(QString::fromLatin1(ImagePath(kind)));

    doc.m_pTreeView = this;
    // Fixed now: later settings changes show in windows made later.
    m_caption = PaneCaption();
    ShowCaptionInFrame();

    connect(this, &QTreeWidget::itemSelectionChanged, this, &CDBTreeView::OnSelectionChanged);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        if (!m_building && IsTable(Kind(item)))
            LoadKeys(item);
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

CMainFrame *CDBTreeView::MainFrame() const {
    CBrindleApp *app = CBrindleApp::Instance();
    return app ? app->MainFrame() : nullptr;
}

void CDBTreeView::SetStatus(const char *text) {
    if (CMainFrame *frame = MainFrame())
        frame->SetMessageText(text ? QString::fromLatin1(text) : QString());
}

void CDBTreeView::ShowCaptionInFrame() {
    for (QWidget *widget = parentWidget(); widget; widget = widget->parentWidget()) {
        if (auto *frame = qobject_cast<CSubFrame *>(widget)) {
            frame->SetCaption(m_caption);
            return;
        }
    }
}

bool CDBTreeView::event(QEvent *event) {
    const bool handled = QTreeWidget::event(event);
    // The frame may take the view in after it was made.
    if (event->type() == QEvent::ParentChange)
        ShowCaptionInFrame();
    return handled;
}

QTreeWidgetItem *CDBTreeView::AddNode(QTreeWidgetItem *parent, int kind, const std::string &label) {
    auto *item = new QTreeWidgetItem;
    const QByteArray bytes(label.data(), static_cast<qsizetype>(label.size()));
    item->setText(0, QString::fromUtf8(bytes));
    item->setData(0, KindRole, kind);
    item->setData(0, LabelRole, bytes);
    item->setIcon(0, m_images[static_cast<size_t>(kind)]);
    if (parent)
        parent->addChild(item);
    return item;
}

void CDBTreeView::BuildTree(bool progress) {
    WaitCursor wait;
    m_building = true;
    m_current = nullptr;
    clear();
    viewport()->update();

    const AppSettings settings =
        CBrindleApp::Instance() ? CBrindleApp::Instance()->Settings() : AppSettings();
    CMainFrame *mainFrame = MainFrame();

    // The nodes are put together away from the view and shown in one insertion,
    // so the build stays linear in the number of nodes.
    auto root = std::unique_ptr<QTreeWidgetItem>(
        AddNode(nullptr, Root, "DSN: " + m_doc.GetDataSourceName()));
    QTreeWidgetItem *tablesFolder = AddNode(root.get(), TablesFolder, "Tables");
    QTreeWidgetItem *systemFolder =
        settings.SystemTables ? AddNode(root.get(), SystemTablesFolder, "SysTables") : nullptr;
    QTreeWidgetItem *viewsFolder =
        settings.Views ? AddNode(root.get(), ViewsFolder, "Views") : nullptr;
    QTreeWidgetItem *synonymsFolder =
        settings.Synonyms ? AddNode(root.get(), SynonymsFolder, "Synonyms") : nullptr;

    if (CTables *tables = m_doc.Tables()) {
        bool progressShown = false;
        try {
            tables->MoveFirst();
            if (!tables->IsEOF()) {
                if (progress && mainFrame)
                    progressShown = mainFrame->BeginProgress(ProgressTotal(CountRows(*tables)),
                                                             TablesPerProgressStep);
                for (; !tables->IsEOF(); tables->MoveNext()) {
                    const std::string &type = tables->TableType;
                    if (type == "TABLE")
                        AddTableNode(tablesFolder, Table, tables->TableName);
                    else if (systemFolder && type == "SYSTEM TABLE")
                        AddTableNode(systemFolder, SystemTable, tables->TableName);
                    else if (viewsFolder && type == "VIEW")
                        AddTableNode(viewsFolder, View, tables->TableName);
                    else if (synonymsFolder && (type == "ALIAS" || type == "SYNONYM"))
                        AddTableNode(synonymsFolder, Synonym, tables->TableName);
                    if (progressShown)
                        mainFrame->StepProgress();
                }
            }
        } catch (const DatabaseError &error) {
            // The tables read so far stay.
            m_doc.ReportError(error);
        }
        if (progressShown)
            mainFrame->EndProgress();
    }

    if (settings.Procedures)
        LoadProcedures(root.get(), progress);

    QTreeWidgetItem *shown = root.release();
    addTopLevelItem(shown);
    shown->setExpanded(true);
    m_building = false;
    viewport()->update();
}

void CDBTreeView::AddTableNode(QTreeWidgetItem *folder, int kind, const std::string &name) {
    m_doc.FetchColumns(name);
    QTreeWidgetItem *table = AddNode(folder, kind, name);
    QTreeWidgetItem *fields = AddNode(table, FieldsFolder, "Fields");
    CColumns *columns = m_doc.Columns();
    if (!columns)
        return;
    try {
        columns->MoveFirst();
        for (; !columns->IsEOF(); columns->MoveNext())
            AddNode(fields, Field, columns->ColumnName);
    } catch (const DatabaseError &error) {
        // The fields read so far stay; the build goes on with the next table.
        m_doc.ReportError(error);
    }
}

void CDBTreeView::LoadProcedures(QTreeWidgetItem *root, bool progress) {
    SetStatus("Fetching procedure info...");
    CMainFrame *mainFrame = MainFrame();
    bool progressShown = false;
    try {
        CProcedures procedures(m_doc.Database());
        if (procedures.Open(nullptr, nullptr, nullptr) && !procedures.IsEOF()) {
            if (progress && mainFrame)
                progressShown = mainFrame->BeginProgress(ProgressTotal(CountRows(procedures)),
                                                         TablesPerProgressStep);
            QTreeWidgetItem *folder = AddNode(root, ProceduresFolder, "Procedures");
            procedures.MoveFirst();
            for (; !procedures.IsEOF(); procedures.MoveNext()) {
                const std::string name = procedures.ProcedureName;
                QTreeWidgetItem *procedure = AddNode(folder, Procedure, name);
                CProcedureColumns columns(m_doc.Database());
                if (columns.Open(nullptr, nullptr, name.c_str(), nullptr) && !columns.IsEOF()) {
                    QTreeWidgetItem *columnsFolder = AddNode(procedure, ColumnsFolder, "Columns");
                    for (; !columns.IsEOF(); columns.MoveNext())
                        AddNode(columnsFolder, ProcedureColumn, columns.ColumnName);
                }
                columns.Close();
                if (progressShown)
                    mainFrame->StepProgress();
            }
        }
    } catch (const DatabaseError &error) {
        // The procedures read so far stay.
        m_doc.ReportError(error);
    }
    if (progressShown)
        mainFrame->EndProgress();
    SetStatus(nullptr);
}

void CDBTreeView::LoadKeys(QTreeWidgetItem *table) {
    WaitCursor wait;
    LoadPrimaryKeys(table);
    LoadForeignKeys(table);
}

void CDBTreeView::LoadPrimaryKeys(QTreeWidgetItem *table) {
    CPrimaryKeys keys(m_doc.Database());
    const std::string name = Label(table);
    LoadKeyFolder(table, {PrimaryKeysFolder, PrimaryKeyColumn, "Primary Keys",
                          "Fetching primary keys info..."},
                  keys, [&] { return keys.Open(nullptr, nullptr, name.c_str()); },
                  keys.ColumnName);
}

void CDBTreeView::LoadForeignKeys(QTreeWidgetItem *table) {
    CForeignKeys keys(m_doc.Database());
    const std::string name = Label(table);
    LoadKeyFolder(table, {ForeignKeysFolder, ForeignKeyColumn, "Foreign Keys",
                          "Fetching foreign keys info..."},
                  keys,
                  [&] { return keys.Open(nullptr, nullptr, nullptr, nullptr, nullptr, name.c_str()); },
                  keys.FkColumnName);
}

void CDBTreeView::LoadKeyFolder(QTreeWidgetItem *table, const KeyFolder &folderKind,
                                Recordset &keys, const std::function<bool()> &open,
                                const std::string &column) {
    // Loaded once; a table without keys asks again on each expansion.
    if (HasChildOfKind(table, folderKind.folder))
        return;
    SetStatus(folderKind.status);
    CMainFrame *mainFrame = MainFrame();
    bool progressShown = false;
    try {
        if (open() && !keys.IsEOF()) {
            if (mainFrame)
                progressShown = mainFrame->BeginProgress(ProgressTotal(CountRows(keys)), 1);
            QTreeWidgetItem *folder = AddNode(table, folderKind.folder, folderKind.label);
            // `column` is a field of `keys`: each move refreshes it.
            for (; !keys.IsEOF(); keys.MoveNext()) {
                AddNode(folder, folderKind.column, column);
                if (progressShown)
                    mainFrame->StepProgress();
            }
        }
    } catch (const DatabaseError &error) {
        m_doc.ReportError(error);
    }
    if (progressShown)
        mainFrame->EndProgress();
    SetStatus(nullptr);
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
    CDBListView *grid = m_doc.m_pListView;
    if (!grid)
        return;
    GridRedrawOff redrawOff(grid);
    const int kind = Kind(item);
    if (const char *status = SelectionStatusText(kind))
        SetStatus(status);
    const std::string label = Label(item);
    const std::string parent = Label(item->parent());
    const std::string grandparent =
        item->parent() ? Label(item->parent()->parent()) : std::string();
    if (IsTable(kind)) {
        grid->ShowTables(label.c_str(), nullptr);
    } else {
        switch (kind) {
        case Root:
            grid->ShowDriverInfo();
            break;
        case TablesFolder:
            grid->ShowTables(nullptr, "TABLE");
            break;
        case SystemTablesFolder:
            grid->ShowTables(nullptr, "SYSTEM TABLE");
            break;
        case SynonymsFolder:
            grid->ShowTables(nullptr, "SYNONYM");
            break;
        case ViewsFolder:
            grid->ShowTables(nullptr, "VIEW");
            break;
        case Field:
            grid->ShowColumns(grandparent, label.c_str());
            break;
        case FieldsFolder:
            grid->ShowColumns(parent, nullptr);
            break;
        case PrimaryKeyColumn:
            grid->ShowPrimaryKeys(grandparent, label.c_str());
            break;
        case PrimaryKeysFolder:
            grid->ShowPrimaryKeys(parent, nullptr);
            break;
        case ForeignKeyColumn:
            grid->ShowForeignKeys(grandparent, label.c_str());
            break;
        case ForeignKeysFolder:
            grid->ShowForeignKeys(parent, nullptr);
            break;
        case Procedure:
            grid->ShowProcedures(label.c_str());
            break;
        case ProceduresFolder:
            grid->ShowProcedures(nullptr);
            break;
        case ProcedureColumn:
            grid->ShowProcedureColumns(grandparent, label.c_str());
            break;
        case ColumnsFolder:
            grid->ShowProcedureColumns(parent, nullptr);
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
    auto *menu = new QMenu(QString::fromLatin1(title), parent);
    for (const MenuItem &item : ContextMenu(menuId)) {
        if (item.id == 0) {
            menu->addSeparator();
            continue;
        }
        const int id = item.id;
        QAction *action = menu->addAction(QString::fromUtf8(MenuItemText(item)));
        CommandState state;
        if (!UpdateCommand(id, state))
            if (CMainFrame *mainFrame = MainFrame())
                state = mainFrame->QueryCommand(id);
        action->setEnabled(state.enabled);
        connect(action, &QAction::triggered, this, [this, id] {
            CommandState own;
            if (UpdateCommand(id, own)) {
                if (own.enabled)
                    RunCommand(id);
                return;
            }
            if (CMainFrame *mainFrame = MainFrame())
                mainFrame->SendCommand(id);
        });
    }
    return menu;
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
    CDBListView *grid = m_doc.m_pListView;
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
        CBrindleApp *app = CBrindleApp::Instance();
        const int answer = app ? app->Prompts().Exec(dialog) : dialog.exec();
        if (answer != QDialog::Accepted)
            return true;
        unique = dialog.Unique();
        accuracy = dialog.Accuracy();
    }

    WaitCursor wait;
    {
        GridRedrawOff redrawOff(grid);
        const QTreeWidgetItem *owner = TableAbove(m_current);
        const std::string ownerName = Label(owner);
        switch (id) {
        case ID_CATALOG_SCHEMA:
            if (table) {
                SetStatus("Loading table schema info...");
                grid->ShowTables(label.c_str(), nullptr);
            } else if (kind == Field && owner) {
                SetStatus("Loading field schema info...");
                grid->ShowColumns(ownerName, label.c_str());
            } else if (kind == FieldsFolder && owner) {
                SetStatus("Loading field schema info...");
                grid->ShowColumns(ownerName, nullptr);
            } else if (kind == Procedure) {
                SetStatus("Loading procedure schema info...");
                grid->ShowProcedures(label.c_str());
            }
            break;
        case ID_CATALOG_PRIVILEGES:
            if (table) {
                SetStatus("Loading table privilege info...");
                grid->ShowTablePrivileges(label);
            } else if (kind == Field && owner) {
                SetStatus("Loading field privilege info...");
                grid->ShowColumnPrivileges(ownerName, label.c_str());
            } else if (kind == FieldsFolder && owner) {
                SetStatus("Loading field privilege info...");
                grid->ShowColumnPrivileges(ownerName, nullptr);
            }
            break;
        case ID_CATALOG_STATISTICS:
            SetStatus("Loading table statistic info...");
            grid->ShowStatistics(label, unique, accuracy);
            break;
        case ID_CATALOG_SPECIAL_COLUMNS:
            SetStatus("Loading table special column info...");
            grid->ShowSpecialColumns(label);
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
