#pragma once

#include <QDialog>

#include "results/QueryExport.h"

class QCheckBox;
class QDialogButtonBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class UserPrompts;

// "Export Query": the statement, the file (chosen with Export All's Save dialog,
// whose filter sets the format) and whether to write an HTML page, optionally
// through a template. The dialog only gathers; QueryExport runs it.
class CExportQueryDlg : public QDialog {
    Q_OBJECT
public:
    // `statement` prefills the statement; `proposedName` is what Browse proposes first.
    CExportQueryDlg(const std::string &statement, const QString &proposedName, UserPrompts &prompts,
                    QWidget *parent = nullptr);

    QueryExportChoices Choices() const;

    // The Save dialog's filter for an HTML page, as Deploy offers it.
    static QString HtmlFilter();

private:
    void UpdateControls();
    void BrowseFile();
    void BrowseTemplate();

    UserPrompts &m_prompts;
    QString m_proposedName;
    ExportCommand::Format m_format = ExportCommand::Format::TabDelimited;
    QPlainTextEdit *m_statement = nullptr;
    QLineEdit *m_file = nullptr;
    QPushButton *m_fileBrowse = nullptr;
    QCheckBox *m_htmlPage = nullptr;
    QLineEdit *m_template = nullptr;
    QPushButton *m_templateBrowse = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};
