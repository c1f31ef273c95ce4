#pragma once

#include <map>
#include <vector>

#include <QElapsedTimer>
#include <QMainWindow>

#include "app/ProgressCounter.h"
#include "framework/CommandRouter.h"
#include "framework/CommandTable.h"
#include "framework/CommandTarget.h"
#include "framework/StatusSink.h"

class CBrindleApp;
class CBrindleDoc;
class CChildFrame;
class CProgressStatusBar;
class IdleTrigger;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

// The main window: menus, toolbar and status bar built from the command table,
// the MDI area holding one connection window per document, and command routing.
class CMainFrame : public QMainWindow,
                   public CommandTarget,
                   public CommandRouter,
                   public StatusSink {
    Q_OBJECT
public:
    explicit CMainFrame(CBrindleApp &app);
    ~CMainFrame() override;

    // Builds the bars and menus; false when one of them cannot be made.
    bool Create(bool showSplash);

    void AddChildFrame(CChildFrame *frame);
    CChildFrame *ActiveChildFrame() const;
    CBrindleDoc *ActiveDocument() const;
    std::vector<CChildFrame *> ChildFrames() const;
    QMdiArea *MdiArea() const { return m_mdiArea; }

    // The action of a command id (menus, toolbar and accelerators share it).
    QAction *Action(int id) const;
    // Routes a command as a click would; false when no target handled it.
    bool SendCommand(int id) override;
    // Asks the route for the state of one command.
    CommandState QueryCommand(int id) override;
    // The commands a user may give while work runs: Cancel, and window management.
    static bool TakenWhileBusy(int id);
    static constexpr const char *QuitWhileBusyText =
        "A statement is still running. Cancel it and quit?";
    // Re-evaluates every command's enabling and check mark. Runs each time the
    // program goes idle, and before a menu opens.
    void UpdateCommandStates();

    // Pane 0 of the status bar; an empty text shows the idle text.
    void SetMessageText(const QString &text) override;
    QString MessageText() const;
    static QString IdleText() { return QStringLiteral("For Help, press F1"); }
    QToolBar *ToolBar() const { return m_toolBar; }
    // The menus of the menu bar as shown now (128 or 129).
    bool ShowsConnectionMenu() const { return m_connectionMenu; }

    void EditSettings();

    // Status texts and the progress bar are painted at once, while work keeps
    // the event loop waiting, only once that work has run for BusyPaintDelayMs,
    // and then at most every BusyPaintDelayMs. Quicker work shows its final
    // state when it ends: nobody could have seen the texts in between.
    static constexpr int BusyPaintDelayMs = 100;

    // Progress runs of long loads, shown in pane 1 of the status bar.
    bool BeginProgress(uint16_t total, uint16_t perStep) override;
    void StepProgress() override;
    void EndProgress() override;
    CProgressStatusBar *ProgressStatusBar() const { return m_statusBar; }
    static constexpr int ProgressPane = 1;

    // The "Ln %u" pane: the caret line of the active console or the last
    // changed row of the active grid, empty otherwise.
    void UpdateLineIndicator();
    void SetLineIndicator(const QString &text);
    QString LineIndicator() const;

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void CreateActions();
    bool CreateToolBar();
    bool CreateStatusBar();
    void BuildMenuBar(bool connection);
    void FillMenu(QMenu *menu, const std::vector<MenuItem> &items);
    void UpdateRecentFileActions();
    void OnSubWindowActivated();
    void PlaceNewWindow(CChildFrame *frame, int earlier);
    std::vector<CommandTarget *> Route() const;
    CommandState QueryCommand(int id, const std::vector<CommandTarget *> &route);
    void OnIdle();
    // Whether a status bar change should be painted now rather than when the
    // event loop runs again.
    bool PaintStatusNow();

    CBrindleApp &m_app;
    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolBar = nullptr;
    CProgressStatusBar *m_statusBar = nullptr;
    ProgressCounter m_progress;
    // Since the first status change the event loop has not yet seen; invalid when idle.
    QElapsedTimer m_busySince;
    QElapsedTimer m_statusPainted;
    std::map<int, QAction *> m_actions;
    bool m_connectionMenu = false;
    // Quit was asked while work ran, and the work was told to stop.
    bool m_quitWhenIdle = false;
    bool m_menuBuilt = false;
    IdleTrigger *m_idle = nullptr;
};
