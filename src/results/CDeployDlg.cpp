#include "results/CDeployDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "framework/UserPrompts.h"
#include "results/AddressHistory.h"

namespace {
QLabel *PlainLabel(const QString &text, QWidget *buddy, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(buddy);
    return label;
}
} // namespace

CDeployDlg::CDeployDlg(const DeployChoices &initial, bool hasSelection,
                       const AddressHistory &history, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_entries(history.Entries()) {
    setWindowTitle(QStringLiteral("Deploy Results"));

    m_localFile = new QLineEdit(initial.localFile, this);
    m_localFile->setObjectName(QStringLiteral("localFile"));
    m_localBrowse = new QPushButton(QStringLiteral("Browse..."), this);
    m_localBrowse->setObjectName(QStringLiteral("localBrowse"));
    m_templateOn = new QCheckBox(QStringLiteral("&Template:"), this);
    m_templateOn->setObjectName(QStringLiteral("templateOn"));
    m_templateOn->setChecked(initial.templateOn);
    m_templateFile = new QLineEdit(initial.templateFile, this);
    m_templateFile->setObjectName(QStringLiteral("templateFile"));
    m_templateBrowse = new QPushButton(QStringLiteral("Browse..."), this);
    m_templateBrowse->setObjectName(QStringLiteral("templateBrowse"));
    m_uploadOn = new QCheckBox(QStringLiteral("A&ddress (FTP URL or server name):"), this);
    m_uploadOn->setObjectName(QStringLiteral("uploadOn"));
    m_uploadOn->setChecked(initial.uploadOn);
    m_address = new QComboBox(this);
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setEditable(true);
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->addItems(history.Addresses());
    m_address->setEditText(initial.address);

    auto *files = new QGridLayout;
    files->addWidget(PlainLabel(QStringLiteral("&Local file name:"), m_localFile, this), 0, 0);
    files->addWidget(m_localFile, 0, 1);
    files->addWidget(m_localBrowse, 0, 2);
    files->addWidget(m_templateOn, 1, 0);
    files->addWidget(m_templateFile, 1, 1);
    files->addWidget(m_templateBrowse, 1, 2);
    files->addWidget(m_uploadOn, 2, 0, 1, 3);
    files->addWidget(m_address, 3, 0, 1, 3);

    auto *resultsGroup = new QGroupBox(QStringLiteral("Results"), this);
    m_selectedResults = new QRadioButton(QStringLiteral("&Selected results"), resultsGroup);
    m_selectedResults->setObjectName(QStringLiteral("selectedResults"));
    m_allResults = new QRadioButton(QStringLiteral("&All results"), resultsGroup);
    m_allResults->setObjectName(QStringLiteral("allResults"));
    auto *resultsLayout = new QVBoxLayout(resultsGroup);
    resultsLayout->addWidget(m_selectedResults);
    resultsLayout->addWidget(m_allResults);
    const bool all = initial.results == DeployChoices::AllResults || !hasSelection;
    (all ? m_allResults : m_selectedResults)->setChecked(true);
    m_selectedResults->setEnabled(hasSelection);

    m_logOnGroup = new QGroupBox(QStringLiteral("Log on as:"), this);
    m_logOnGroup->setObjectName(QStringLiteral("logOnGroup"));
    m_anonymous = new QRadioButton(QStringLiteral("Anon&ymous"), m_logOnGroup);
    m_anonymous->setObjectName(QStringLiteral("anonymous"));
    m_userLogOn = new QRadioButton(QStringLiteral("&User:"), m_logOnGroup);
    m_userLogOn->setObjectName(QStringLiteral("userLogOn"));
    m_user = new QLineEdit(initial.user, m_logOnGroup);
    m_user->setObjectName(QStringLiteral("user"));
    m_password = new QLineEdit(initial.password, m_logOnGroup);
    m_password->setObjectName(QStringLiteral("password"));
    m_password->setEchoMode(QLineEdit::Password);
    m_passwordLabel = PlainLabel(QStringLiteral("&Password:"), m_password, m_logOnGroup);
    (initial.logOn == DeployChoices::User ? m_userLogOn : m_anonymous)->setChecked(true);
    auto *logOnLayout = new QGridLayout(m_logOnGroup);
    logOnLayout->addWidget(m_anonymous, 0, 0, 1, 2);
    logOnLayout->addWidget(m_userLogOn, 1, 0);
    logOnLayout->addWidget(m_user, 1, 1);
    logOnLayout->addWidget(m_passwordLabel, 2, 0);
    logOnLayout->addWidget(m_password, 2, 1);

    auto *groups = new QHBoxLayout;
    groups->addWidget(resultsGroup);
    groups->addWidget(m_logOnGroup, 1);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addLayout(groups);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_localBrowse, &QPushButton::clicked, this, &CDeployDlg::BrowseLocalFile);
    connect(m_templateBrowse, &QPushButton::clicked, this, &CDeployDlg::BrowseTemplate);
    connect(m_address, &QComboBox::activated, this, &CDeployDlg::ChooseHistoryEntry);
    connect(m_localFile, &QLineEdit::textChanged, this, &CDeployDlg::UpdateControls);
    for (QAbstractButton *button :
         {static_cast<QAbstractButton *>(m_templateOn), static_cast<QAbstractButton *>(m_uploadOn),
          static_cast<QAbstractButton *>(m_anonymous), static_cast<QAbstractButton *>(m_userLogOn)})
        connect(button, &QAbstractButton::toggled, this, &CDeployDlg::UpdateControls);
    UpdateControls();
}

DeployChoices CDeployDlg::Choices() const {
    DeployChoices choices;
    choices.localFile = m_localFile->text();
    choices.templateOn = m_templateOn->isChecked();
    choices.templateFile = m_templateFile->text();
    choices.uploadOn = m_uploadOn->isChecked();
    choices.address = m_address->currentText();
    choices.results =
        m_allResults->isChecked() ? DeployChoices::AllResults : DeployChoices::SelectedResults;
    choices.logOn = m_userLogOn->isChecked() ? DeployChoices::User : DeployChoices::Anonymous;
    choices.user = m_user->text();
    choices.password = m_password->text();
    return choices;
}

void CDeployDlg::UpdateControls() {
    const bool templateOn = m_templateOn->isChecked();
    m_templateFile->setEnabled(templateOn);
    m_templateBrowse->setEnabled(templateOn);
    const bool uploadOn = m_uploadOn->isChecked();
    for (QWidget *widget :
         {static_cast<QWidget *>(m_address), static_cast<QWidget *>(m_logOnGroup),
          static_cast<QWidget *>(m_anonymous), static_cast<QWidget *>(m_userLogOn),
          static_cast<QWidget *>(m_passwordLabel), static_cast<QWidget *>(m_password)})
        widget->setEnabled(uploadOn);
    m_user->setEnabled(uploadOn && m_userLogOn->isChecked());
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_localFile->text().isEmpty());
}

void CDeployDlg::BrowseTemplate() {
    const QString path =
        m_prompts.OpenFileName(this, QStringLiteral("Template"), m_templateFile->text(),
                               QStringLiteral("HTML Template Files (*.htx);;All Files (*)"));
    if (!path.isEmpty())
        m_templateFile->setText(QFileInfo(path).absoluteFilePath());
    UpdateControls();
}

void CDeployDlg::BrowseLocalFile() {
    QString path =
        m_prompts.SaveFileName(this, QStringLiteral("Local file name"), m_localFile->text(),
                               QStringLiteral("HTML Files (*.htm)"));
    if (!path.isEmpty()) {
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".htm");
        m_localFile->setText(QFileInfo(path).absoluteFilePath());
    }
    UpdateControls();
}

void CDeployDlg::ChooseHistoryEntry(int index) {
    if (index < 0 || index >= m_entries.size())
        return;
    const QString &entry = m_entries[index];
    m_address->setEditText(AddressHistory::AddressOf(entry));
    const QString user = AddressHistory::UserOf(entry);
    (user.isEmpty() ? m_anonymous : m_userLogOn)->setChecked(true);
    m_user->setText(user);
    UpdateControls();
}
