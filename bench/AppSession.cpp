#include "AppSession.h"

#include <stdexcept>

#include <QCoreApplication>
#include <QMdiArea>
#include <QSettings>

#include "BenchPrompts.h"
#include "app/CBrindleApp.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "connection/CBrindleDoc.h"
#include "framework/CommandTable.h"

AppSession::AppSession(const std::string &profileDir) {
    // The user's own settings and recent files stay untouched.
    const QString dir = QString::fromStdString(profileDir);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
    auto prompts = std::make_unique<BenchPrompts>();
    m_prompts = prompts.get();
    m_app = std::make_unique<CBrindleApp>(std::move(prompts));
    m_app->SetSplashAllowed(false);
    if (!m_app->InitInstance({}))
        throw std::runtime_error("the application did not start");
    ProcessEvents();
}

AppSession::~AppSession() {
    if (m_app && m_app->MainFrame())
        for (CChildFrame *frame : m_app->MainFrame()->ChildFrames())
            frame->close();
    ProcessEvents();
    m_app.reset();
}

void AppSession::ProcessEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

CChildFrame &AppSession::OpenWindow(const std::string &connect) {
    CMainFrame &mainFrame = *m_app->MainFrame();
    const size_t before = m_app->Documents().size();
    m_prompts->connectString = connect;
    mainFrame.SendCommand(ID_FILE_NEW);
    m_prompts->connectString.clear();
    ProcessEvents();
    CChildFrame *frame = mainFrame.ActiveChildFrame();
    if (m_app->Documents().size() != before + 1 || !frame ||
        &frame->Document() != m_app->Documents().back().get()) {
        std::string message = "File > New did not open a connection window";
        if (!m_prompts->messages.empty())
            message += ": " + m_prompts->messages.back().toStdString();
        throw std::runtime_error(message);
    }
    CheckNoMessages("connecting");
    return *frame;
}

void AppSession::CloseWindow(CChildFrame &frame) {
    frame.close();
    ProcessEvents();
}

void AppSession::SetSpool(CChildFrame &frame, bool on, const std::string &path) {
    CMainFrame &mainFrame = *m_app->MainFrame();
    // The command goes to the active window's document.
    mainFrame.MdiArea()->setActiveSubWindow(&frame);
    const CBrindleDoc &doc = frame.Document();
    if ((doc.Spooling == 1) == on)
        return;
    m_prompts->savePath = QString::fromStdString(path);
    mainFrame.SendCommand(ID_SPOOL);
    m_prompts->savePath.clear();
    ProcessEvents();
    if ((doc.Spooling == 1) != on)
        throw std::runtime_error(on ? "spooling did not start" : "spooling did not stop");
}

void AppSession::CheckNoMessages(const std::string &during) {
    if (m_prompts->messages.empty())
        return;
    const std::string text = m_prompts->messages.front().toStdString();
    m_prompts->messages.clear();
    throw std::runtime_error("the application reported an error while " + during + ": " + text);
}
