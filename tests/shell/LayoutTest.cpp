#include <QProgressBar>
#include <QSplitter>
#include <QTest>

#include "ShellFixture.h"
#include "app/CCaptionBar.h"
#include "app/CListFrameWnd.h"
#include "app/CProgressStatusBar.h"
#include "app/CTreeFrameWnd.h"
#include "app/ProgressCounter.h"
#include "console/CDBOutputView.h"
#include "framework/CommandTable.h"
#include "results/CDBListView.h"

namespace {

class ConnectedLayoutTest : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(Start());
        Frame().show();
        prompts_->dataSourceAnswers.push_back(SqliteSource().connect);
        ASSERT_TRUE(Frame().SendCommand(ID_FILE_NEW));
        frame_ = Frame().ActiveChildFrame();
        ASSERT_NE(frame_, nullptr);
    }
    CChildFrame *frame_ = nullptr;
};

TEST_F(ConnectedLayoutTest, ConnectionWindowSplitsIntoTreeGridAndConsole) {
    EXPECT_EQ(frame_->OuterSplitter()->orientation(), Qt::Vertical);
    EXPECT_EQ(frame_->OuterSplitter()->widget(1), frame_->Console());
    EXPECT_EQ(frame_->InnerSplitter()->widget(0), frame_->TreeFrame());
    EXPECT_EQ(frame_->InnerSplitter()->widget(1), frame_->ListFrame());
    EXPECT_EQ(frame_->ListFrame()->GetCaption(), "Results: ");
    EXPECT_EQ(frame_->ListFrame()->CaptionBar()->Text(), "Results: ");
    EXPECT_EQ(frame_->Document().m_pOutputView, frame_->Console());
    EXPECT_EQ(frame_->Document().m_pListView, frame_->ListView());
}

TEST_F(ConnectedLayoutTest, CaptionBarsToggleAndNewWindowsShowBoth) {
    EXPECT_TRUE(frame_->TreeFrame()->IsCaptionBarShown());
    frame_->TreeFrame()->ToggleCaptionBar();
    EXPECT_FALSE(frame_->TreeFrame()->IsCaptionBarShown());
    EXPECT_TRUE(frame_->TreeFrame()->CaptionBar()->isHidden());

    prompts_->dataSourceAnswers.push_back(SqliteSource().connect);
    ASSERT_TRUE(Frame().SendCommand(ID_FILE_NEW));
    CChildFrame *second = Frame().ActiveChildFrame();
    ASSERT_NE(second, frame_);
    EXPECT_TRUE(second->TreeFrame()->IsCaptionBarShown());
    EXPECT_TRUE(second->ListFrame()->IsCaptionBarShown());
}

TEST_F(ConnectedLayoutTest, LineIndicatorFollowsTheActivePane) {
    CDBOutputView *console = frame_->Console();
    console->setFocus();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents(); // the indicator updates once idle
    EXPECT_EQ(Frame().LineIndicator(), QStringLiteral("Ln %1").arg(console->CaretLine()));
    EXPECT_GT(console->CaretLine(), 1u); // the banner stands above the prompt

    // F6 moves on to the tree, then the grid; Shift+F6 comes back.
    ASSERT_TRUE(Frame().SendCommand(ID_NEXT_PANE));
    EXPECT_EQ(frame_->ActiveViewWidget(), frame_->Panes()[0]);
    QCoreApplication::processEvents(); // the indicator updates once idle
    EXPECT_EQ(Frame().LineIndicator(), "");
    ASSERT_TRUE(Frame().SendCommand(ID_NEXT_PANE));
    EXPECT_EQ(frame_->ActiveViewWidget(), frame_->ListView());
    QCoreApplication::processEvents(); // the indicator updates once idle
    EXPECT_EQ(Frame().LineIndicator(),
              QStringLiteral("Ln %1").arg(frame_->ListView()->LastChangedRow() + 1));
    ASSERT_TRUE(Frame().SendCommand(ID_PREV_PANE));
    ASSERT_TRUE(Frame().SendCommand(ID_PREV_PANE));
    EXPECT_EQ(frame_->ActiveViewWidget(), console);

    frame_->close();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents(); // the indicator updates once idle
    EXPECT_EQ(Frame().LineIndicator(), "");
}

} // namespace
