#pragma once

#include <QString>
#include <QStringList>

#include "results/DeployChoices.h"
#include "results/ExportSource.h"
#include "results/FtpUpload.h"

class QSettings;
class UploadWait;
class QWidget;
class UserPrompts;

// The Deploy command: asks with the Deploy Results dialog, writes the rows as an
// HTML page (through the template when there is one) and uploads it when an
// address is given. A page whose writing failed is reported and never uploaded.
class DeployResults {
public:
    enum class Outcome {
        Cancelled,
        FileNotCreated, // silently, as for an export
        WriteFailed,    // reported; nothing uploaded
        Written,        // no upload asked for
        Deployed,
        NotDeployed, // written, but the upload failed (reported)
    };

    // `source.exportAllRows` is set from the dialog; `source.selectedRows` are
    // the grid's selected rows.
    DeployResults(ExportSource source, UserPrompts &prompts, QWidget *parent,
                  FtpUpload::StatusText statusText);

    // Where a template named without a folder is looked for after the current folder.
    void SetTemplateFolders(const QStringList &folders) { m_templateFolders = folders; }
    void SetFtpTimeouts(const FtpUpload::Timeouts &timeouts) { m_timeouts = timeouts; }
    // How the window waits for the upload; none: the upload holds the window.
    void SetUploadWait(UploadWait *wait) { m_uploadWait = wait; }

    // The dialog's first values: "<data source>.HTM", the default template, and
    // "Selected results" when rows are selected.
    static DeployChoices InitialChoices(const QString &dataSourceName, bool hasSelection);

    // Shows the dialog (history from `profile`, read up to `maxUrlHistory`
    // values), saves the history on OK and publishes.
    Outcome Run(const QString &dataSourceName, QSettings &profile, int maxUrlHistory);
    // Writes the page and uploads it as `choices` say.
    Outcome Publish(const DeployChoices &choices);

private:
    QString FindTemplate(const QString &name) const;

    ExportSource m_source;
    UserPrompts &m_prompts;
    QWidget *m_parent;
    FtpUpload::StatusText m_statusText;
    QStringList m_templateFolders;
    FtpUpload::Timeouts m_timeouts;
    UploadWait *m_uploadWait = nullptr;
};
