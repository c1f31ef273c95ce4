#include "results/DeployResults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "results/AddressHistory.h"
#include "results/CDeployDlg.h"
#include "results/ExportCommand.h"
#include "results/ExportFile.h"
#include "results/GridExporter.h"

DeployResults::DeployResults(ExportSource source, UserPrompts &prompts, QWidget *parent,
                             FtpUpload::StatusText statusText)
    : m_source(std::move(source)), m_prompts(prompts), m_parent(parent),
      m_statusText(std::move(statusText)) {}

DeployChoices DeployResults::InitialChoices(const QString &dataSourceName, bool hasSelection) {
    DeployChoices choices;
    choices.localFile = dataSourceName + QStringLiteral(".HTM");
    choices.results = hasSelection ? DeployChoices::SelectedResults : DeployChoices::AllResults;
    return choices;
}

DeployResults::Outcome DeployResults::Run(const QString &dataSourceName, QSettings &profile,
                                          int maxUrlHistory) {
    AddressHistory history(maxUrlHistory);
    history.Load(profile);
    const bool hasSelection = !m_source.selectedRows.empty();
    CDeployDlg dialog(InitialChoices(dataSourceName, hasSelection), hasSelection, history,
                      m_prompts, m_parent);
    if (m_prompts.Exec(dialog) != QDialog::Accepted)
        return Outcome::Cancelled;
    const DeployChoices choices = dialog.Choices();
    if (choices.uploadOn && !choices.address.isEmpty()) {
        history.Remember(choices.address, choices.user);
        history.Save(profile);
    }
    return Publish(choices);
}

QString DeployResults::FindTemplate(const QString &name) const {
    if (QFileInfo(name).isFile())
        return name;
    if (QFileInfo(name).isRelative())
        for (const QString &folder : m_templateFolders) {
            const QString candidate = QDir(folder).filePath(name);
            if (QFileInfo(candidate).isFile())
                return candidate;
        }
    return {};
}

DeployResults::Outcome DeployResults::Publish(const DeployChoices &choices) {
    ExportFile page;
    if (!page.Create(choices.localFile))
        return Outcome::FileNotCreated;
    ExportSource source = m_source;
    source.exportAllRows = choices.results == DeployChoices::AllResults;

    // A template that cannot be opened gives the plain page.
    QFile htmlTemplate;
    bool withTemplate = false;
    if (choices.templateOn && !choices.templateFile.isEmpty()) {
        const QString path = FindTemplate(choices.templateFile);
        htmlTemplate.setFileName(path);
        withTemplate = !path.isEmpty() && htmlTemplate.open(QIODevice::ReadOnly);
    }
    {
        WaitCursor wait;
        GridExporter(std::move(source)).ExportHtml(page, withTemplate ? &htmlTemplate : nullptr);
    }
    if (!page.Close()) {
        m_prompts.Message(m_parent,
                          ExportCommand::WriteFailedText(choices.localFile, page.ErrorText()),
                          UserPrompts::Icon::Stop);
        return Outcome::WriteFailed;
    }
    if (!choices.uploadOn || choices.address.isEmpty())
        return Outcome::Written;

    const bool asUser = choices.logOn == DeployChoices::User;
    FtpUpload ftp(m_prompts, m_parent, m_statusText);
    ftp.SetTimeouts(m_timeouts);
    ftp.SetWait(m_uploadWait);
    const FtpUpload::Result result =
        ftp.UploadByFtp(choices.address, choices.localFile, QFileInfo(choices.localFile).fileName(),
                        asUser ? choices.user : QString(), asUser ? choices.password : QString());
    return result == FtpUpload::Result::Deployed ? Outcome::Deployed : Outcome::NotDeployed;
}
