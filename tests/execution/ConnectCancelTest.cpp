#include <chrono>
#include <string>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "../shell/ShellFixture.h"
#include "app/CMainFrame.h"
#include "framework/CommandTable.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A port that takes connections and never says a word: the kernel completes
// them in the listen queue, and nobody ever accepts.
class SilentListener {
public:
    SilentListener() {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
            ::listen(m_socket, 8) != 0 ||
            ::getsockname(m_socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            throw std::runtime_error("no listening socket");
        m_port = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(m_socket); }
    SilentListener(const SilentListener &) = delete;
    SilentListener &operator=(const SilentListener &) = delete;
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

class ConnectCancelTest : public ShellFixture {
protected:
    // File New as a user starts it: the toolbar's New button, once the
    // program has gone idle.
    void ClickNew() {
        Frame().show();
        QTest::qWait(20);
        QWidget *button = Frame().ToolBar()->widgetForAction(Frame().Action(ID_FILE_NEW));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }
};

// A server that accepts and never answers would hold the window for the login
// timeout: the window answers meanwhile, Cancel stops the connect at once, and
// no connection window is left behind, nor a message.
TEST_F(ConnectCancelTest, ASilentServerIsCancelledWhileTheWindowAnswers) {
    ASSERT_TRUE(Start());
    SilentListener silent;
    for (const char *driver : {"PostgreSQL ANSI", "MariaDB Unicode"}) {
        prompts_->dataSourceAnswers.push_back(
            std::string("DRIVER={") + driver +
            "};SERVER=127.0.0.1;PORT=" + std::to_string(silent.Port()) + ";DATABASE=x;UID=u;PWD=p");
        auto *cancel = Frame().findChild<QToolButton *>(QStringLiteral("statusCancel"));
        ASSERT_NE(cancel, nullptr);
        int ticks = 0;
        bool offered = false;
        const Clock::time_point start = Clock::now();
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            // The window answers meanwhile: this timer fires.
            ++ticks;
            if (Clock::now() - start < 500ms)
                return;
            offered = cancel->isVisible() && cancel->isEnabled();
            QTest::mouseClick(cancel, Qt::LeftButton);
            poll.stop();
        });
        poll.start();
        ClickNew();
        const Clock::duration took = Clock::now() - start;
        EXPECT_LT(took, 5s) << driver;
        EXPECT_GE(ticks, 2) << driver;
        EXPECT_TRUE(offered) << driver;
        EXPECT_TRUE(Frame().ChildFrames().empty()) << driver;
        EXPECT_TRUE(prompts_->messages.empty()) << driver;
    }
}

// Quitting while a new window connects asks as quitting during any work does,
// then stops the connect and quits, leaving no window behind.
TEST_F(ConnectCancelTest, QuittingWhileConnectingStopsTheConnectAndQuits) {
    ASSERT_TRUE(Start());
    SilentListener silent;
    prompts_->dataSourceAnswers.push_back(
        "DRIVER={PostgreSQL ANSI};SERVER=127.0.0.1;PORT=" + std::to_string(silent.Port()) +
        ";DATABASE=x;UID=u;PWD=p");
    prompts_->questionAnswers.push_back(true);
    const Clock::time_point start = Clock::now();
    QTimer::singleShot(500, &Frame(), [this] { Frame().close(); });
    ClickNew();
    EXPECT_LT(Clock::now() - start, 5s);
    ASSERT_EQ(prompts_->questions.size(), 1u);
    EXPECT_EQ(prompts_->questions[0], QString::fromLatin1(CMainFrame::QuitWhileBusyText));
    EXPECT_EQ(prompts_->questionButtons[0], UserPrompts::Answers::YesNo);
    // The frame closes once the connect has unwound.
    QTest::qWait(50);
    EXPECT_FALSE(Frame().isVisible());
    EXPECT_TRUE(Frame().ChildFrames().empty());
    EXPECT_TRUE(prompts_->messages.empty());
}

} // namespace
