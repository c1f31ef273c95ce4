#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "app/RecentFileList.h"
#include "framework/AppSettings.h"
#include "framework/AppVersion.h"
#include "framework/CommandTarget.h"
#include "framework/DocumentHost.h"
#include "framework/InputGate.h"
#include "framework/UserPrompts.h"

class CBrindleDoc;
class CChildFrame;
class CMainFrame;
class QSettings;

// The application object: settings, the open documents, start-up and the
// application-level commands. It hosts the documents: they reach the settings,
// prompts, status bar and command routing through it.
class CBrindleApp : public QObject, public CommandTarget, public DocumentHost {
    Q_OBJECT
public:
    static constexpr uint16_t Version = AppVersion::Number;

    explicit CBrindleApp(std::unique_ptr<UserPrompts> prompts = nullptr);
    ~CBrindleApp() override;

    // Start-up; false ends the process. `arguments` excludes the program name.
    bool InitInstance(const QStringList &arguments);
    void LoadSettings();

    AppSettings &Settings() override { return m_settings; }
    UserPrompts &Prompts() override { return *m_prompts; }
    QWidget *DialogParent() override;
    StatusSink *Status() override;
    CommandRouter *Commands() override;
    InputGate &Gate() override { return m_gate; }
    void SetPrompts(std::unique_ptr<UserPrompts> prompts);
    CMainFrame *MainFrame() const { return m_mainFrame.get(); }
    // The profile: QSettings("Quenwick", "Brindle").
    static std::unique_ptr<QSettings> Profile();

    // "Brindle Version 2.1 "
    static QString VersionText() { return AppVersion::Text(); }
    static QString Title() { return AppVersion::Title(); }

    // New (empty path) or Open: a document with its connection window, or nullptr
    // when connecting failed or was cancelled.
    CBrindleDoc *OpenDocumentFile(const QString &path);
    // Called by a connection window as it closes.
    void CloseDocument(CBrindleDoc *doc);
    const std::vector<std::unique_ptr<CBrindleDoc>> &Documents() const { return m_documents; }
    // "BRINDLE1", "BRINDLE2", ...: titles of documents without a file.
    QString NextUntitledName() override;

    RecentFileList &RecentFiles() { return m_recentFiles; }
    void AddToRecentFileList(const QString &path) override;

    // The splash window is shown at start-up unless switched off (tests, automation).
    void SetSplashAllowed(bool allowed) { m_splashAllowed = allowed; }

    bool UpdateCommand(int id, CommandState &state) override;
    bool RunCommand(int id) override;

Q_SIGNALS:
    void RecentFilesChanged();

private:
    void OnFileNew();
    void OnFileOpen();
    void OnOpenRecentFile(int index);

    AppSettings m_settings;
    std::unique_ptr<UserPrompts> m_prompts;
    InputGate m_gate;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::vector<std::unique_ptr<CBrindleDoc>> m_documents;
    RecentFileList m_recentFiles;
    int m_untitledCount = 0;
    bool m_splashAllowed = true;
};
