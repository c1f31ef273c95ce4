#include "results/CExportQueryDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "framework/UserPrompts.h"

namespace {
QLabel *PlainLabel(const QString &text, QWidget *buddy, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(buddy);
    return label;
}
} // namespace

CExportQueryDlg::CExportQueryDlg(const std::string &statement, const QString &proposedName,
                                 UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_proposedName(proposedName) {
    setWindowTitle(QStringLiteral("Export Query"));

    m_statement = new QPlainTextEdit(QString::fromStdString(statement), this);
    m_statement->setObjectName(QStringLiteral("statement"));
    // Tab moves on: a statement needs no tab characters.
    m_statement->setTabChangesFocus(true);
    m_file = new QLineEdit(this);
    m_file->setObjectName(QStringLiteral("file"));
    m_fileBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
    m_fileBrowse->setObjectName(QStringLiteral("fileBrowse"));
    m_htmlPage = new QCheckBox(QStringLiteral("HTML page"), this);
    m_htmlPage->setObjectName(QStringLiteral("htmlPage"));
    m_template = new QLineEdit(this);
    m_template->setObjectName(QStringLiteral("template"));
    m_templateBrowse = new QPushButton(QStringLiteral("Br&owse..."), this);
    m_templateBrowse->setObjectName(QStringLiteral("templateBrowse"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *grid = new QGridLayout;
    grid->addWidget(PlainLabel(QStringLiteral("&Statement:"), m_statement, this), 0, 0,
                    Qt::AlignTop);
    grid->addWidget(m_statement, 0, 1, 1, 2);
    grid->addWidget(PlainLabel(QStringLiteral("&File:"), m_file, this), 1, 0);
    grid->addWidget(m_file, 1, 1);
    grid->addWidget(m_fileBrowse, 1, 2);
    grid->addWidget(m_htmlPage, 2, 0, 1, 3);
    grid->addWidget(PlainLabel(QStringLiteral("&Template:"), m_template, this), 3, 0);
    grid->addWidget(m_template, 3, 1);
    grid->addWidget(m_templateBrowse, 3, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_statement, &QPlainTextEdit::textChanged, this, &CExportQueryDlg::UpdateControls);
    connect(m_file, &QLineEdit::textChanged, this, &CExportQueryDlg::UpdateControls);
    connect(m_htmlPage, &QCheckBox::toggled, this, &CExportQueryDlg::UpdateControls);
    connect(m_fileBrowse, &QPushButton::clicked, this, &CExportQueryDlg::BrowseFile);
    connect(m_templateBrowse, &QPushButton::clicked, this, &CExportQueryDlg::BrowseTemplate);
    UpdateControls();
    m_statement->setFocus();
}

QString CExportQueryDlg::HtmlFilter() { return QStringLiteral("HTML Files (*.htm)"); }

void CExportQueryDlg::UpdateControls() {
    m_template->setEnabled(m_htmlPage->isChecked());
    m_templateBrowse->setEnabled(m_htmlPage->isChecked());
    m_buttons->button(QDialogButtonBox::Ok)
        ->setEnabled(!m_statement->toPlainText().trimmed().isEmpty() &&
                     !m_file->text().trimmed().isEmpty());
}

void CExportQueryDlg::BrowseFile() {
    const bool html = m_htmlPage->isChecked();
    const QString proposed = m_file->text().isEmpty() ? m_proposedName : m_file->text();
    QString filter;
    const QString path =
        m_prompts.SaveFileName(this, QStringLiteral("Save As"), proposed,
                               html ? HtmlFilter() : ExportCommand::FileFilter(), &filter);
    if (path.isEmpty())
        return;
    if (!html)
        m_format = ExportCommand::FormatForFilter(filter);
    m_file->setText(path);
}

void CExportQueryDlg::BrowseTemplate() {
    const QString path =
        m_prompts.OpenFileName(this, QStringLiteral("Open"), QString(),
                               QStringLiteral("HTML Template Files (*.htx);;All Files (*)"));
    if (!path.isEmpty())
        m_template->setText(path);
}

QueryExportChoices CExportQueryDlg::Choices() const {
    QueryExportChoices choices;
    choices.statement = m_statement->toPlainText().trimmed().toStdString();
    choices.path = m_file->text().trimmed();
    choices.format = m_format;
    choices.htmlPage = m_htmlPage->isChecked();
    if (choices.htmlPage)
        choices.templatePath = m_template->text().trimmed();
    return choices;
}
