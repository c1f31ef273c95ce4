#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "app/AppSettings.h"
#include "app/CommandTarget.h"
#include "app/RecentFileList.h"
#include "app/UserPrompts.h"

class CBrindleDoc;
class CChildFrame;
class CMainFrame;
class QSettings;

// The application object: settings, the open documents, start-up and the
// application-level commands. One instance for the whole process.
class CBrindleApp : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // Major in the high byte, minor in the low byte.
    static constexpr uint16_t Version = 0x0201;

    explicit CBrindleApp(std::unique_ptr<UserPrompts> prompts = nullptr);
    ~CBrindleApp() override;

    static CBrindleApp *Instance();

    // Start-up; false ends the process. `arguments` excludes the program name.
    bool InitInstance(const QStringList &arguments);
    void LoadSettings();

    AppSettings &Settings() { return m_settings; }
    UserPrompts &Prompts() { return *m_prompts; }
    void SetPrompts(std::unique_ptr<UserPrompts> prompts);
    CMainFrame *MainFrame() const { return m_mainFrame.get(); }
    // The profile: QSettings("Quenwick", "Brindle").
    static std::unique_ptr<QSettings> Profile();

    // "Brindle Version 2.1 "
    static QString VersionText();
    static QString Title() { return QStringLiteral("Brindle"); }

    // New (empty path) or Open: a document with its connection window, or nullptr
    // when connecting failed or was cancelled.
    CBrindleDoc *OpenDocumentFile(const QString &path);
    // Called by a connection window as it closes.
    void CloseDocument(CBrindleDoc *doc);
    const std::vector<std::unique_ptr<CBrindleDoc>> &Documents() const { return m_documents; }
    // "BRINDLE1", "BRINDLE2", ...: titles of documents without a file.
    QString NextUntitledName();

    RecentFileList &RecentFiles() { return m_recentFiles; }
    void AddToRecentFileList(const QString &path);

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
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::vector<std::unique_ptr<CBrindleDoc>> m_documents;
    RecentFileList m_recentFiles;
    int m_untitledCount = 0;
    bool m_splashAllowed = true;
};
