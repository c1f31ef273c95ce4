#include <chrono>
#include <thread>

#include <QCoreApplication>
#include <QProgressBar>

#include "ShellFixture.h"
#include "app/CProgressStatusBar.h"
#include "app/ProgressCounter.h"
#include "framework/CommandTable.h"

namespace {

TEST(ProgressCounterTest, StepsReachExactlyOneHundredAtTheLastItem) {
    ProgressCounter counter;
    ASSERT_TRUE(counter.Begin(1000, 10));
    std::vector<int> moves;
    for (int item = 1; item <= 1000; ++item)
        if (auto percent = counter.Step())
            moves.push_back(*percent);
    ASSERT_EQ(moves.size(), 100u);
    EXPECT_EQ(moves.front(), 1);
    EXPECT_EQ(moves[98], 99);
    EXPECT_EQ(moves.back(), 100);

    // Fewer items than one step: the bar never moves.
    ASSERT_TRUE(counter.Begin(7, 10));
    for (int item = 0; item < 7; ++item)
        EXPECT_FALSE(counter.Step().has_value());
    // Items past the total never push the bar beyond 100.
    ASSERT_TRUE(counter.Begin(25, 10));
    std::optional<int> last;
    for (int item = 0; item < 100; ++item)
        if (auto percent = counter.Step())
            last = percent;
    EXPECT_EQ(last, 100);
    EXPECT_FALSE(counter.Begin(0, 10));
    EXPECT_FALSE(counter.Begin(10, 0));
}

using LayoutTest = ShellFixture;

TEST_F(LayoutTest, MainFrameProgressRunsMoveTheBarInPaneOne) {
    ASSERT_TRUE(Start());
    CProgressStatusBar *bar = Frame().ProgressStatusBar();
    ASSERT_NE(bar->ProgressBar(CMainFrame::ProgressPane), nullptr);
    EXPECT_EQ(bar->PaneCount(), 6);
    EXPECT_FALSE(Frame().BeginProgress(0, 10));
    ASSERT_TRUE(Frame().BeginProgress(1000, 10));
    for (int item = 0; item < 500; ++item)
        Frame().StepProgress();
    EXPECT_EQ(bar->Percentage(CMainFrame::ProgressPane), 50);
    EXPECT_EQ(bar->ProgressBar(CMainFrame::ProgressPane)->value(), 50);
    Frame().EndProgress();
    EXPECT_EQ(bar->Percentage(CMainFrame::ProgressPane), 0);
    // A pane without the progress style takes no bar.
    EXPECT_FALSE(bar->CreateProgress(bar->PaneIndex(ID_LINE_INDICATOR), false));
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

TEST_F(LayoutTest, BlockingWorkPaintsTheStatusBarOnlyOnceItHasLastedAWhile) {
    ASSERT_TRUE(Start());
    Frame().show();
    QCoreApplication::processEvents();
    CProgressStatusBar *bar = Frame().ProgressStatusBar();
    PaintCounter painted(bar->ProgressBar(CMainFrame::ProgressPane));
    PaintCounter statusPainted(bar);

    // Quick work: texts and bar change, nothing is painted before the event loop runs.
    Frame().SetMessageText(QStringLiteral("Fetching primary keys info..."));
    ASSERT_TRUE(Frame().BeginProgress(1, 1));
    Frame().StepProgress();
    Frame().EndProgress();
    Frame().SetMessageText(QString());
    EXPECT_EQ(painted.paints, 0);
    EXPECT_EQ(statusPainted.paints, 0);
    QCoreApplication::processEvents();
    EXPECT_GT(statusPainted.paints, 0);

    // Work that keeps the event loop waiting past the delay paints at once, and
    // then no more often than the delay allows.
    painted.paints = 0;
    ASSERT_TRUE(Frame().BeginProgress(100, 1));
    std::this_thread::sleep_for(std::chrono::milliseconds(CMainFrame::BusyPaintDelayMs + 20));
    Frame().StepProgress();
    EXPECT_EQ(painted.paints, 1);
    for (int item = 0; item < 50; ++item)
        Frame().StepProgress();
    EXPECT_EQ(painted.paints, 1);
    EXPECT_EQ(bar->ProgressBar(CMainFrame::ProgressPane)->value(), 51);
    std::this_thread::sleep_for(std::chrono::milliseconds(CMainFrame::BusyPaintDelayMs + 20));
    const int before = statusPainted.paints;
    Frame().SetMessageText(QStringLiteral("Loading table info..."));
    EXPECT_GT(statusPainted.paints, before);
    Frame().EndProgress();
}

} // namespace
