#include "app/CMainFrame.h"

#include <algorithm>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/AppIcon.h"
#include "app/CBrindleApp.h"
#include "app/CChildFrame.h"
#include "app/CProgressStatusBar.h"
#include "app/CSettingsSheet.h"
#include "app/CSplashWnd.h"
#include "connection/CBrindleDoc.h"
#include "framework/CommandTable.h"
#include "framework/IdleTrigger.h"
#include "framework/InputGate.h"
#include "framework/ResourceIcon.h"

namespace {

QString PromptPart(const char *prompt, bool tooltip) {
    const QString text = QString::fromLatin1(prompt ? prompt : "");
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    if (newline < 0)
        return tooltip ? QString() : text;
    return tooltip ? text.mid(newline + 1).trimmed() : text.left(newline);
}

QList<QKeySequence> Shortcuts(const char *accelerators) {
    QList<QKeySequence> keys;
    for (const QString &key : QString::fromLatin1(accelerators ? accelerators : "")
                                  .split(QStringLiteral(", "), Qt::SkipEmptyParts))
        keys.append(QKeySequence(key, QKeySequence::PortableText));
    return keys;
}

} // namespace

CMainFrame::CMainFrame(CBrindleApp &app) : m_app(app) {
    setWindowTitle(CBrindleApp::Title());
    setWindowIcon(AppIcon::Icon());
}

CMainFrame::~CMainFrame() {
    delete m_idle; // no idle round on a frame half destroyed
    m_idle = nullptr;
    // The windows going down with the frame must not ask it about commands.
    if (m_mdiArea)
        m_mdiArea->disconnect(this);
    disconnect(qApp, nullptr, this, nullptr);
}

bool CMainFrame::Create(bool showSplash) {
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);

    CreateActions();
    if (!CreateToolBar() || !CreateStatusBar())
        return false;
    // While work runs, only Cancel and window management take input.
    InputGate::AllowWhileBusy(m_toolBar->widgetForAction(Action(ID_CANCEL_WORK)));
    connect(&m_app.Gate(), &InputGate::BusyChanged, this, [this](bool busy) {
        // Quitting waited for the work to end: it ends once the stack has unwound.
        if (!busy && m_quitWhenIdle)
            QTimer::singleShot(0, this, [this] {
                if (!m_app.Gate().IsClosed())
                    close();
            });
    });
    BuildMenuBar(false);
    connect(&m_app, &CBrindleApp::RecentFilesChanged, this, &CMainFrame::UpdateRecentFileActions);
    UpdateRecentFileActions();
    // Command states and the line indicator follow whatever the last events
    // changed, once they have been delivered: a menu item, its toolbar button
    // and its shortcut never disagree, and no change needs a call of its own.
    m_idle = new IdleTrigger([this] { OnIdle(); }, this);
    OnIdle();
    resize(1024, 700);
    if (showSplash)
        CSplashWnd::ShowSplashScreen(this);
    return true;
}

void CMainFrame::CreateActions() {
    for (const CommandInfo &command : CommandTable()) {
        auto *action = new QAction(this);
        action->setObjectName(QStringLiteral("command%1").arg(command.id));
        action->setData(command.id);
        action->setText(command.menuText ? QString::fromLatin1(command.menuText)
                                         : PromptPart(command.prompt, true));
        action->setStatusTip(PromptPart(command.prompt, false));
        const QString tip = PromptPart(command.prompt, true);
        if (!tip.isEmpty())
            action->setToolTip(tip);
        if (command.icon)
            action->setIcon(ResourceIcon::Load(QString::fromLatin1(command.icon)));
        action->setShortcuts(Shortcuts(command.accelerators));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        connect(action, &QAction::triggered, this, [this, id = command.id] { SendCommand(id); });
        addAction(action); // accelerators work without a menu item too
        m_actions[command.id] = action;
    }
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR})
        m_actions[id]->setCheckable(true);
}

bool CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    if (!m_toolBar)
        return false;
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : ToolbarLayout()) {
        if (id == 0)
            m_toolBar->addSeparator();
        else if (QAction *action = Action(id))
            m_toolBar->addAction(action);
    }
    return true;
}

bool CMainFrame::CreateStatusBar() {
    m_statusBar = new CProgressStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("statusBar"));
    setStatusBar(m_statusBar);
    const QFontMetrics metrics(m_statusBar->font());
    const auto width = [&](const char *text) {
        return metrics.horizontalAdvance(QString::fromLatin1(text)) + 10;
    };
    m_statusBar->SetIndicators({
        {0, 0},
        {ID_PROGRESS_INDICATOR, 100, CProgressStatusBar::ProgressPaneStyle},
        {ID_LINE_INDICATOR, width("Ln indicator     ")},
        {59137, width("CAP")},
        {59138, width("NUM")},
        {59139, width("SCRL")},
    });
    m_statusBar->SetPaneText(0, IdleText());
    // Cancel at hand where the running work is shown.
    auto *cancel = new QToolButton(m_statusBar);
    cancel->setObjectName(QStringLiteral("statusCancel"));
    cancel->setDefaultAction(Action(ID_CANCEL_WORK));
    cancel->setAutoRaise(true);
    InputGate::AllowWhileBusy(cancel);
    m_statusBar->addPermanentWidget(cancel);
    // The key-state panes stay empty: lock-key states have no portable query.
    return m_statusBar->CreateProgress(ProgressPane, false);
}

void CMainFrame::BuildMenuBar(bool connection) {
    if (m_menuBuilt && connection == m_connectionMenu)
        return;
    m_menuBuilt = true;
    m_connectionMenu = connection;
    QMenuBar *bar = menuBar();
    // clear() only drops the actions: the menus addMenu() made stay children of
    // the bar, so each switch of menus would leak a set. deleteLater, because
    // this may run inside a triggered item of one of those menus (File > Close).
    const QList<QMenu *> old = bar->findChildren<QMenu *>(Qt::FindDirectChildrenOnly);
    bar->clear();
    for (QMenu *menu : old) {
        // A screen reader's view of a menu item is kept per action and names the
        // menu it was first seen in. The command actions outlive these menus:
        // left cached, their items would read as nothing in the menus built next.
        QList<QAction *> actions = menu->actions();
        for (QMenu *submenu : menu->findChildren<QMenu *>())
            actions += submenu->actions();
        for (QAction *action : actions)
            if (QAccessibleInterface *item = QAccessible::queryAccessibleInterface(action))
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(item));
        menu->deleteLater();
    }
    for (const MenuLayout &layout : connection ? ConnectionMenu129() : MainMenu128()) {
        QMenu *menu = bar->addMenu(QString::fromLatin1(layout.title));
        FillMenu(menu, layout.items);
    }
}

void CMainFrame::FillMenu(QMenu *menu, const std::vector<MenuItem> &items) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    for (const MenuItem &item : items) {
        if (!item.children.empty()) {
            FillMenu(menu->addMenu(QString::fromLatin1(item.title)), item.children);
        } else if (item.id == 0) {
            menu->addSeparator();
        } else if (QAction *action = Action(item.id)) {
            menu->addAction(action);
        }
    }
}

void CMainFrame::UpdateRecentFileActions() {
    const QStringList &files = m_app.RecentFiles().Files();
    for (int i = 0; i < 4; ++i) {
        QAction *action = Action(ID_FILE_MRU_FILE1 + i);
        if (!action)
            continue;
        if (i < files.size()) {
            action->setText(m_app.RecentFiles().MenuText(i));
            action->setVisible(true);
        } else {
            // With an empty list the first entry stands, disabled, as "Recent File".
            action->setText(QStringLiteral("Recent File"));
            action->setVisible(i == 0 && files.isEmpty());
        }
    }
}

QAction *CMainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

std::vector<CommandTarget *> CMainFrame::Route() const {
    std::vector<CommandTarget *> route;
    CChildFrame *frame = ActiveChildFrame();
    if (frame) {
        if (CommandTarget *view = frame->ActiveView())
            route.push_back(view);
        route.push_back(&frame->Document());
        route.push_back(frame);
    }
    route.push_back(const_cast<CMainFrame *>(this));
    route.push_back(&m_app);
    return route;
}

bool CMainFrame::TakenWhileBusy(int id) {
    switch (id) {
    case ID_CANCEL_WORK:
    case ID_FILE_CLOSE: // closing asks whether to cancel first
    case ID_APP_EXIT:
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_TILE_VERT:
    case ID_WINDOW_ARRANGE:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
        return true;
    default:
        return false;
    }
}

CommandState CMainFrame::QueryCommand(int id) { return QueryCommand(id, Route()); }

CommandState CMainFrame::QueryCommand(int id, const std::vector<CommandTarget *> &route) {
    CommandState state;
    // No command may start work while work runs.
    if (m_app.Gate().IsClosed() && !TakenWhileBusy(id))
        return state;
    for (CommandTarget *target : route) {
        CommandState answer;
        if (target->UpdateCommand(id, answer))
            return answer;
    }
    return state;
}

bool CMainFrame::SendCommand(int id) {
    if (!QueryCommand(id).enabled)
        return false;
    bool handled = false;
    for (CommandTarget *target : Route()) {
        if (target->RunCommand(id)) {
            handled = true;
            break;
        }
    }
    return handled;
}

void CMainFrame::OnIdle() {
    UpdateCommandStates();
    UpdateLineIndicator();
}

void CMainFrame::UpdateCommandStates() {
    const std::vector<CommandTarget *> route = Route();
    for (const auto &[id, action] : m_actions) {
        const CommandState state = QueryCommand(id, route);
        action->setEnabled(state.enabled);
        if (action->isCheckable() || state.checked) {
            action->setCheckable(true);
            action->setChecked(state.checked);
        }
    }
}

void CMainFrame::AddChildFrame(CChildFrame *frame) {
    const int earlier = static_cast<int>(m_mdiArea->subWindowList().size());
    m_mdiArea->addSubWindow(frame);
    PlaceNewWindow(frame, earlier);
    frame->show();
    m_mdiArea->setActiveSubWindow(frame);
    OnSubWindowActivated();
}

void CMainFrame::PlaceNewWindow(CChildFrame *frame, int earlier) {
    // As MDI programs do: each new window a title bar further down and right
    // of the last, in a cycle of CascadeSlots, and as large as the client area
    // allows with room for the cycle; never smaller than the window's own size.
    constexpr int CascadeSlots = 4;
    const int step =
        std::max(16, frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame));
    const QSize area = m_mdiArea->viewport()->size();
    const QSize room(area.width() - step * (CascadeSlots - 1),
                     area.height() - step * (CascadeSlots - 1));
    const QSize size =
        room.expandedTo(QSize(CChildFrame::InitialWidth, CChildFrame::InitialHeight));
    const int slot = earlier % CascadeSlots;
    frame->setGeometry(QRect(QPoint(slot * step, slot * step), size));
    frame->FitPanes();
}

CChildFrame *CMainFrame::ActiveChildFrame() const {
    if (!m_mdiArea)
        return nullptr;
    // The current window counts even while another application has the focus.
    QMdiSubWindow *active = m_mdiArea->currentSubWindow();
    auto *frame = dynamic_cast<CChildFrame *>(active);
    return frame && !frame->IsClosing() ? frame : nullptr;
}

CBrindleDoc *CMainFrame::ActiveDocument() const {
    CChildFrame *frame = ActiveChildFrame();
    return frame ? &frame->Document() : nullptr;
}

std::vector<CChildFrame *> CMainFrame::ChildFrames() const {
    std::vector<CChildFrame *> frames;
    if (m_mdiArea)
        for (QMdiSubWindow *window : m_mdiArea->subWindowList())
            if (auto *frame = dynamic_cast<CChildFrame *>(window); frame && !frame->IsClosing())
                frames.push_back(frame);
    return frames;
}

void CMainFrame::OnSubWindowActivated() { BuildMenuBar(!ChildFrames().empty()); }

void CMainFrame::SetMessageText(const QString &text) {
    // The text goes to the message pane itself: QStatusBar's temporary
    // messages, kept for menu prompts, paint at once whatever the work.
    if (!m_statusBar->currentMessage().isEmpty())
        m_statusBar->clearMessage();
    QWidget *pane = m_statusBar->PaneWidget(0);
    if (!pane)
        return;
    static_cast<QLabel *>(pane)->setText(text.isEmpty() ? IdleText() : text);
    if (PaintStatusNow())
        pane->repaint();
}

bool CMainFrame::PaintStatusNow() {
    if (!m_busySince.isValid()) {
        m_busySince.start();
        // The event loop running again ends the busy spell.
        QMetaObject::invokeMethod(
            this, [this] { m_busySince.invalidate(); }, Qt::QueuedConnection);
        return false;
    }
    if (!m_busySince.hasExpired(BusyPaintDelayMs))
        return false;
    // A catalog load sets a text per table: paint at most every so often.
    if (m_statusPainted.isValid() && !m_statusPainted.hasExpired(BusyPaintDelayMs))
        return false;
    m_statusPainted.start();
    return true;
}

QString CMainFrame::MessageText() const {
    const QString message = m_statusBar->currentMessage();
    return message.isEmpty() ? m_statusBar->PaneText(0) : message;
}

bool CMainFrame::BeginProgress(uint16_t total, uint16_t perStep) {
    if (!m_progress.Begin(total, perStep))
        return false;
    m_statusBar->ResetProgress(ProgressPane, false);
    if (PaintStatusNow())
        m_statusBar->repaint();
    return true;
}

void CMainFrame::StepProgress() {
    if (const std::optional<int> percent = m_progress.Step()) {
        if (m_statusBar->SetProgress(ProgressPane, 100, *percent) && PaintStatusNow())
            m_statusBar->repaint();
    }
}

void CMainFrame::EndProgress() {
    m_progress.End();
    m_statusBar->ResetProgress(ProgressPane, false);
}

void CMainFrame::SetLineIndicator(const QString &text) {
    m_statusBar->SetPaneText(m_statusBar->PaneIndex(ID_LINE_INDICATOR), text);
}

QString CMainFrame::LineIndicator() const {
    return m_statusBar->PaneText(m_statusBar->PaneIndex(ID_LINE_INDICATOR));
}

void CMainFrame::UpdateLineIndicator() {
    CChildFrame *frame = ActiveChildFrame();
    SetLineIndicator(frame ? frame->LineIndicatorText() : QString());
}

void CMainFrame::EditSettings() {
    auto profile = CBrindleApp::Profile();
    CSettingsSheet::Edit(m_app.Settings(), *profile, m_app.Prompts(), this);
}

bool CMainFrame::UpdateCommand(int id, CommandState &state) {
    const bool hasWindows = m_mdiArea && !m_mdiArea->subWindowList().isEmpty();
    switch (id) {
    case ID_CANCEL_WORK:
        state.enabled = m_app.Gate().IsBusy();
        return true;
    case ID_SETTINGS:
        state.enabled = true;
        return true;
    case ID_VIEW_TOOLBAR:
        state.enabled = true;
        state.checked = m_toolBar && !m_toolBar->isHidden();
        return true;
    case ID_VIEW_STATUS_BAR:
        state.enabled = true;
        state.checked = !statusBar()->isHidden();
        return true;
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_TILE_VERT:
    case ID_WINDOW_ARRANGE:
        state.enabled = hasWindows;
        return true;
    default:
        return false;
    }
}

bool CMainFrame::RunCommand(int id) {
    switch (id) {
    case ID_CANCEL_WORK:
        m_app.Gate().RequestCancel();
        return true;
    case ID_SETTINGS:
        EditSettings();
        return true;
    case ID_VIEW_TOOLBAR:
        m_toolBar->setVisible(m_toolBar->isHidden());
        return true;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(statusBar()->isHidden());
        return true;
    case ID_WINDOW_CASCADE:
        m_mdiArea->cascadeSubWindows();
        return true;
    case ID_WINDOW_TILE_HORZ:
    case ID_WINDOW_TILE_VERT: {
        // Stack the windows across or down the area, one band each.
        const auto frames = m_mdiArea->subWindowList();
        const QRect area = m_mdiArea->viewport()->rect();
        const int count = static_cast<int>(frames.size());
        for (int i = 0; i < count; ++i) {
            QMdiSubWindow *frame = frames[i];
            frame->showNormal();
            if (id == ID_WINDOW_TILE_HORZ)
                frame->setGeometry(0, area.height() * i / count, area.width(),
                                   area.height() / count);
            else
                frame->setGeometry(area.width() * i / count, 0, area.width() / count,
                                   area.height());
        }
        return true;
    }
    case ID_WINDOW_ARRANGE:
        // Line the minimized windows up along the bottom edge.
        {
            int x = 0;
            const int bottom = m_mdiArea->viewport()->height();
            for (QMdiSubWindow *frame : m_mdiArea->subWindowList()) {
                if (!frame->isMinimized())
                    continue;
                frame->move(x, bottom - frame->height());
                x += frame->width();
            }
        }
        return true;
    default:
        return false;
    }
}

void CMainFrame::closeEvent(QCloseEvent *event) {
    // Work running is cancelled first, and the window closes once it has ended.
    if (m_app.Gate().IsClosed()) {
        if (!m_quitWhenIdle && !m_app.Prompts().Question(this, CBrindleApp::Title(),
                                                         QString::fromLatin1(QuitWhileBusyText),
                                                         UserPrompts::Answers::YesNo)) {
            event->ignore();
            return;
        }
        m_quitWhenIdle = true;
        m_app.Gate().RequestCancel();
        event->ignore();
        return;
    }
    // Closing the main window closes every connection first.
    for (CChildFrame *frame : ChildFrames())
        frame->close();
    event->accept();
}
