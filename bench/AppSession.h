#pragma once

#include <memory>
#include <string>

class BenchPrompts;
class CBrindleApp;
class CChildFrame;

// The whole application, headless, over a profile of its own: windows are
// opened with File > New as a user would, and dialogs are answered by
// BenchPrompts.
class AppSession {
public:
    explicit AppSession(const std::string &profileDir);
    ~AppSession();
    AppSession(const AppSession &) = delete;
    AppSession &operator=(const AppSession &) = delete;

    CBrindleApp &App() { return *m_app; }
    BenchPrompts &Prompts() { return *m_prompts; }

    // File > New on `connect`; throws when no connection window opened.
    CChildFrame &OpenWindow(const std::string &connect);
    void CloseWindow(CChildFrame &frame);
    // Spool on or off through the Spool command, as the menu would; throws
    // when the spool state did not change.
    void SetSpool(CChildFrame &frame, bool on, const std::string &path = {});

    // Lets queued work happen: console flushes, repaints, deferred deletes.
    static void ProcessEvents();
    // Throws when the application showed a message (an error) since the last call.
    void CheckNoMessages(const std::string &during);

private:
    BenchPrompts *m_prompts = nullptr;
    std::unique_ptr<CBrindleApp> m_app;
};
