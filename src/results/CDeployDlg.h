#pragma once

#include <QDialog>

#include "results/DeployChoices.h"

class AddressHistory;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class UserPrompts;

// "Deploy Results": the local file, the template, the FTP address with its
// history, which rows, and how to log on. The dialog only gathers; the caller
// saves the history and publishes.
class CDeployDlg : public QDialog {
    Q_OBJECT
public:
    // Without a selection only "All results" can be chosen.
    CDeployDlg(const DeployChoices &initial, bool hasSelection, const AddressHistory &history,
               UserPrompts &prompts, QWidget *parent = nullptr);

    DeployChoices Choices() const;

private:
    void UpdateControls();
    void BrowseTemplate();
    void BrowseLocalFile();
    void ChooseHistoryEntry(int index);

    UserPrompts &m_prompts;
    QStringList m_entries;
    QLineEdit *m_localFile = nullptr;
    QPushButton *m_localBrowse = nullptr;
    QCheckBox *m_templateOn = nullptr;
    QLineEdit *m_templateFile = nullptr;
    QPushButton *m_templateBrowse = nullptr;
    QCheckBox *m_uploadOn = nullptr;
    QComboBox *m_address = nullptr;
    QRadioButton *m_selectedResults = nullptr;
    QRadioButton *m_allResults = nullptr;
    QGroupBox *m_logOnGroup = nullptr;
    QRadioButton *m_anonymous = nullptr;
    QRadioButton *m_userLogOn = nullptr;
    QLineEdit *m_user = nullptr;
    QLabel *m_passwordLabel = nullptr;
    QLineEdit *m_password = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
