#include "app/CBrindleApp.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QSettings>

#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/DialogPrompts.h"
#include "connection/CBrindleDoc.h"
#include "framework/CommandTable.h"

namespace {

bool IsAutomationSwitch(const QString &argument) {
    const QString lower = argument.toLower();
    return lower == QLatin1String("-embedding") || lower == QLatin1String("/embedding") ||
           lower == QLatin1String("-automation") || lower == QLatin1String("/automation");
}

bool IsSwitch(const QString &argument) {
    return IsAutomationSwitch(argument) || argument.startsWith(QLatin1Char('-'));
}
} // namespace

CBrindleApp::CBrindleApp(std::unique_ptr<UserPrompts> prompts)
    : m_prompts(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>()) {}

CBrindleApp::~CBrindleApp() {
    // The windows go first: they refer to their documents to the end.
    m_mainFrame.reset();
    for (auto &doc : m_documents)
        doc->OnCloseDocument();
    m_documents.clear();
}

QWidget *CBrindleApp::DialogParent() { return m_mainFrame.get(); }

StatusSink *CBrindleApp::Status() { return m_mainFrame.get(); }

CommandRouter *CBrindleApp::Commands() { return m_mainFrame.get(); }

void CBrindleApp::SetPrompts(std::unique_ptr<UserPrompts> prompts) {
    m_prompts = std::move(prompts);
}

std::unique_ptr<QSettings> CBrindleApp::Profile() { return AppSettings::Profile(); }

void CBrindleApp::LoadSettings() {
    auto profile = Profile();
    m_settings.Load(*profile);
}

bool CBrindleApp::InitInstance(const QStringList &arguments) {
    // Automation starts show no splash window.
    for (const QString &argument : arguments)
        if (IsAutomationSwitch(argument))
            m_splashAllowed = false;
    {
        auto profile = Profile();
        m_recentFiles.Load(*profile);
    }
    LoadSettings();

    m_mainFrame = std::make_unique<CMainFrame>(*this);
    if (!m_mainFrame->Create(m_splashAllowed))
        return false;

    // An empty command line opens nothing: the user starts with New or Open.
    QStringList files;
    for (const QString &argument : arguments)
        if (!IsSwitch(argument))
            files.append(argument);
    if (!files.isEmpty() && !OpenDocumentFile(files.first()))
        return false;

    // Without a window manager (a bare X server) maximizing does nothing: fill the screen.
    if (QScreen *screen = m_mainFrame->screen())
        m_mainFrame->setGeometry(screen->availableGeometry());
    m_mainFrame->showMaximized();
    m_mainFrame->repaint();
    return true;
}

QString CBrindleApp::NextUntitledName() {
    return QStringLiteral("BRINDLE%1").arg(++m_untitledCount);
}

CBrindleDoc *CBrindleApp::OpenDocumentFile(const QString &path) {
    auto doc = std::make_unique<CBrindleDoc>(*this);
    auto *frame = new CChildFrame(*doc, m_mainFrame.get());
    connect(frame, &CChildFrame::Closing, this, &CBrindleApp::CloseDocument);
    const bool ok = path.isEmpty() ? doc->OnNewDocument() : doc->OnOpenDocument(path);
    if (!ok) {
        // The connection window goes again without a further message.
        doc->OnCloseDocument();
        delete frame;
        return nullptr;
    }
    if (!path.isEmpty())
        AddToRecentFileList(QFileInfo(path).absoluteFilePath());
    m_mainFrame->AddChildFrame(frame);
    frame->OnConnected();
    m_documents.push_back(std::move(doc));
    return m_documents.back().get();
}

void CBrindleApp::CloseDocument(CBrindleDoc *doc) {
    for (auto it = m_documents.begin(); it != m_documents.end(); ++it) {
        if (it->get() == doc) {
            std::unique_ptr<CBrindleDoc> closing = std::move(*it);
            m_documents.erase(it);
            closing->OnCloseDocument();
            // Its window is still being closed and holds a reference to it.
            closing.release()->deleteLater();
            return;
        }
    }
}

void CBrindleApp::AddToRecentFileList(const QString &path) {
    m_recentFiles.Add(path);
    auto profile = Profile();
    m_recentFiles.Save(*profile);
    Q_EMIT RecentFilesChanged();
}

bool CBrindleApp::UpdateCommand(int id, CommandState &state) {
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
        state.enabled = true;
        return true;
    case ID_FILE_MRU_FILE1:
    case ID_FILE_MRU_FILE2:
    case ID_FILE_MRU_FILE3:
    case ID_FILE_MRU_FILE4:
        state.enabled = id - ID_FILE_MRU_FILE1 < m_recentFiles.Files().size();
        return true;
    default:
        return false;
    }
}

bool CBrindleApp::RunCommand(int id) {
    switch (id) {
    case ID_FILE_NEW:
        OnFileNew();
        return true;
    case ID_FILE_OPEN:
        OnFileOpen();
        return true;
    case ID_FILE_MRU_FILE1:
    case ID_FILE_MRU_FILE2:
    case ID_FILE_MRU_FILE3:
    case ID_FILE_MRU_FILE4:
        OnOpenRecentFile(id - ID_FILE_MRU_FILE1);
        return true;
    case ID_APP_EXIT:
        if (m_mainFrame)
            m_mainFrame->close();
        return true;
    case ID_APP_ABOUT: {
        CAboutDlg about(m_mainFrame.get());
        m_prompts->Exec(about);
        return true;
    }
    default:
        return false;
    }
}

void CBrindleApp::OnFileNew() { OpenDocumentFile(QString()); }

void CBrindleApp::OnFileOpen() {
    const QString path = m_prompts->OpenFileName(m_mainFrame.get(), QStringLiteral("Open"),
                                                 QString(), CBrindleDoc::FileFilter());
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CBrindleApp::OnOpenRecentFile(int index) {
    if (index >= m_recentFiles.Files().size())
        return;
    const QString path = m_recentFiles.Files()[index];
    if (!QFileInfo::exists(path)) {
        // A vanished file leaves the list, as the user would expect.
        m_prompts->Message(m_mainFrame.get(),
                           path + QStringLiteral("\nFile not found.\nVerify the correct file "
                                                 "name was given."),
                           UserPrompts::Icon::Exclamation);
        m_recentFiles.Remove(index);
        auto profile = Profile();
        m_recentFiles.Save(*profile);
        Q_EMIT RecentFilesChanged();
        return;
    }
    OpenDocumentFile(path);
}
