#include "app/CChildFrame.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QSplitter>
#include <QTimer>

#include "app/AppIcon.h"
#include "app/CListFrameWnd.h"
#include "app/CTreeFrameWnd.h"
#include "app/ConsoleSyntaxTarget.h"
#include "app/SheetSyntaxOpener.h"
#include "catalog/CDBTreeView.h"
#include "catalog/CatalogNode.h"
#include "connection/CBrindleDoc.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "framework/DocumentHost.h"
#include "framework/InputGate.h"
#include "framework/StatusSink.h"
#include "framework/UserPrompts.h"
#include "results/CDBListView.h"
#include "syntax/CSyntaxSheet.h"
#include "syntax/ConnectionSyntaxSource.h"
#include "wizards/StatementWizards.h"

CChildFrame::CChildFrame(CBrindleDoc &doc, QWidget *parent) : QMdiSubWindow(parent), m_doc(doc) {
    setAttribute(Qt::WA_DeleteOnClose);
    // One icon for every window: Qt caches its painted pixmaps per icon.
    static const QIcon icon = AppIcon::Icon();
    setWindowIcon(icon);
    connect(&doc, &CBrindleDoc::CaptionChanged, this, &QWidget::setWindowTitle);
    // A close asked for during work happens once the work has ended and its
    // stack has unwound.
    connect(&doc.Host().Gate(), &InputGate::BusyChanged, this, [this](bool busy) {
        if (!busy && m_closeWhenIdle)
            QTimer::singleShot(0, this, [this] {
                if (!m_doc.IsWorking())
                    close();
            });
    });

    m_outer = new QSplitter(Qt::Vertical, this);
    m_outer->setObjectName(QStringLiteral("outerSplitter"));
    m_inner = new QSplitter(Qt::Horizontal, m_outer);
    m_inner->setObjectName(QStringLiteral("innerSplitter"));

    m_treeFrame = new CTreeFrameWnd(m_inner);
    m_treeFrame->setObjectName(QStringLiteral("treeFrame"));
    auto *tree = new CDBTreeView(doc, m_treeFrame);
    tree->setObjectName(QStringLiteral("treeView"));
    m_treeFrame->SetView(tree);
    m_treeView = tree;

    m_listFrame = new CListFrameWnd(m_inner);
    m_listFrame->setObjectName(QStringLiteral("listFrame"));
    m_listView = new CDBListView(doc, m_listFrame);
    m_listFrame->SetView(m_listView);

    m_console = new CDBOutputView(doc, m_outer);
    m_inner->addWidget(m_treeFrame);
    m_inner->addWidget(m_listFrame);
    m_outer->addWidget(m_inner);
    m_outer->addWidget(m_console);
    m_outer->setSizes({PaneSize, InitialHeight - PaneSize});
    m_inner->setSizes({PaneSize, InitialWidth - PaneSize});
    m_outer->setCollapsible(0, true);
    // As with static splitters, a resized window gives its spare room to the
    // grid and the console; the tree column and the upper row keep their size.
    m_outer->setStretchFactor(0, 0);
    m_outer->setStretchFactor(1, 1);
    m_inner->setStretchFactor(0, 0);
    m_inner->setStretchFactor(1, 1);
    setWidget(m_outer);
    resize(InitialWidth, InitialHeight);
    // The system menu's Close takes the platform's close keys, Ctrl+W among
    // them on X11, which the Query wizard owns: the window closes with Ctrl+F4.
    if (QMenu *menu = systemMenu())
        for (QAction *action : menu->actions())
            if (!action->shortcuts().isEmpty() &&
                action->shortcuts() == QKeySequence::keyBindings(QKeySequence::Close))
                action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));

    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { OnFocusChanged(now); });
    m_activeView = m_console;
}

CChildFrame::~CChildFrame() { disconnect(qApp, nullptr, this, nullptr); }

void CChildFrame::FitPanes() {
    const int height = std::max(this->height(), InitialHeight);
    const int upper = std::max(PaneSize, height * 3 / 5);
    m_outer->setSizes({upper, height - upper});
}

QList<QWidget *> CChildFrame::Panes() const { return {m_treeView, m_listView, m_console}; }

CommandTarget *CChildFrame::ActiveView() const {
    return dynamic_cast<CommandTarget *>(m_activeView.data());
}

void CChildFrame::OnFocusChanged(QWidget *now) {
    for (QWidget *widget = now; widget; widget = widget->parentWidget()) {
        if (Panes().contains(widget)) {
            m_activeView = widget;
            return;
        }
        if (widget == this)
            return;
    }
}

void CChildFrame::OnConnected() { m_console->ShowBanner(); }

QString CChildFrame::LineIndicatorText() const {
    if (m_activeView == m_console)
        return QStringLiteral("Ln %1").arg(m_console->CaretLine());
    if (m_activeView == m_listView)
        return QStringLiteral("Ln %1").arg(m_listView->LastChangedRow() + 1);
    return QString();
}

void CChildFrame::MoveToPane(int step) {
    QList<QWidget *> panes = Panes();
    qsizetype index = panes.indexOf(m_activeView.data());
    if (index < 0)
        index = 0;
    for (qsizetype tries = 0; tries < panes.size(); ++tries) {
        index = (index + step + panes.size()) % panes.size();
        QWidget *pane = panes[index];
        // A pane its splitter has collapsed to nothing is passed over.
        if (pane->isVisible() && pane->width() > 0 && pane->height() > 0) {
            pane->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            m_activeView = pane;
            return;
        }
    }
}

CSubFrame *CChildFrame::CaptionedPane(int id) const {
    if (id == ID_TREE_HEADER)
        return m_treeFrame;
    return m_listFrame;
}

namespace {

// The grid's commands that reach it whichever pane is active.
bool IsResultCommand(int id) {
    switch (id) {
    case ID_EXPORT_ALL:
    case ID_EXPORT_SELECTED:
    case ID_DEPLOY:
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_FILE_PRINT_SETUP:
        return true;
    default:
        return false;
    }
}

} // namespace

void CChildFrame::PasteSyntax() {
    DocumentHost &host = m_doc.Host();
    ConnectionSyntaxSource source(
        m_doc.Database(), m_doc.Tables(), m_doc.DriverInfo(),
        [&host](const std::string &text) {
            if (StatusSink *status = host.Status())
                status->SetMessageText(QString::fromStdString(text));
        },
        [this](const DatabaseError &error) { m_doc.ReportError(error); });
    ConsoleSyntaxTarget target(*m_console);
    ::PasteSyntax(host.Prompts(), this, &source, target);
}

bool CChildFrame::UpdateCommand(int id, CommandState &state) {
    if (IsResultCommand(id))
        return m_listView->UpdateCommand(id, state);
    switch (id) {
    case ID_PASTE_SYNTAX:
        // Only where the user types: the console active, its caret after the prompt.
        state.enabled = m_activeView == m_console && m_console->ReadOnly() == 0;
        return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
    case ID_FILE_CLOSE:
        state.enabled = true;
        return true;
    case ID_TREE_HEADER:
    case ID_LIST_HEADER:
        state.enabled = true;
        state.checked = CaptionedPane(id)->IsCaptionBarShown();
        return true;
    case ID_QUERY_WIZARD:
        state.enabled = m_doc.IsConnected();
        return true;
    default:
        if (!StatementWizards::IsTableWizardCommand(id))
            return false;
        state.enabled = m_doc.IsConnected();
        return true;
    }
}

std::string CChildFrame::SelectedTableName() const {
    auto *tree = static_cast<CDBTreeView *>(m_treeView);
    const QTreeWidgetItem *node = tree->CurrentNode();
    if (!node || !CatalogNode::IsTable(CDBTreeView::Kind(node)))
        return std::string();
    return CDBTreeView::Label(node);
}

bool CChildFrame::RunCommand(int id) {
    if (IsResultCommand(id))
        return m_listView->RunCommand(id);
    switch (id) {
    case ID_PASTE_SYNTAX:
        PasteSyntax();
        return true;
    case ID_NEXT_PANE:
    case ID_PREV_PANE:
        MoveToPane(id == ID_NEXT_PANE ? 1 : -1);
        return true;
    case ID_FILE_CLOSE:
        close();
        return true;
    case ID_TREE_HEADER:
    case ID_LIST_HEADER:
        CaptionedPane(id)->ToggleCaptionBar();
        return true;
    case ID_QUERY_WIZARD: {
        SheetSyntaxOpener opener(m_doc);
        StatementWizards::QueryWizard(m_doc, &opener, SelectedTableName());
        return true;
    }
    default:
        if (!StatementWizards::IsTableWizardCommand(id))
            return false;
        SheetSyntaxOpener opener(m_doc);
        StatementWizards::TableWizard(m_doc, &opener, id, SelectedTableName());
        return true;
    }
}

void CChildFrame::closeEvent(QCloseEvent *event) {
    if (m_closing) {
        event->accept();
        return;
    }
    // The document's work is on the stack below this event: it is cancelled,
    // and the window closes once that work has ended.
    if (m_doc.IsWorking()) {
        if (m_closeWhenIdle || m_doc.Host().Prompts().Question(
                                   this, windowTitle(), QString::fromLatin1(CloseWhileBusyText),
                                   UserPrompts::Answers::YesNo)) {
            m_closeWhenIdle = true;
            m_doc.Worker().Cancel();
        }
        event->ignore();
        return;
    }
    m_closing = true;
    Q_EMIT Closing(&m_doc);
    QMdiSubWindow::closeEvent(event);
}
