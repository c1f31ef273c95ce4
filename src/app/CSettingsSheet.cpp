#include "app/CSettingsSheet.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/CColumnPage.h"
#include "app/CGeneralPage.h"
#include "app/CTablePage.h"
#include "framework/UserPrompts.h"

CSettingsSheet::CSettingsSheet(const AppSettings &settings, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_edited(settings) {
    setWindowTitle(tr("Settings"));

    m_tabs = new QTabWidget(this);
    m_general = new CGeneralPage(settings, m_tabs);
    m_table = new CTablePage(settings, m_tabs);
    m_column = new CColumnPage(settings, m_tabs);
    m_tabs->addTab(m_general, tr("&General"));
    m_tabs->addTab(m_table, tr("&New Connects"));
    m_tabs->addTab(m_column, tr("&Column Info"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSettingsSheet::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

void CSettingsSheet::accept() {
    if (QLineEdit *invalid = m_general->FirstInvalidField()) {
        m_prompts.Message(this, tr("Please enter a positive integer."),
                          UserPrompts::Icon::Exclamation);
        m_tabs->setCurrentWidget(m_general);
        invalid->setFocus(Qt::OtherFocusReason);
        invalid->selectAll();
        return;
    }
    AppSettings edited = m_edited;
    m_general->Store(edited);
    m_table->Store(edited);
    m_column->Store(edited);
    m_edited = edited;
    QDialog::accept();
}

bool CSettingsSheet::Edit(AppSettings &settings, QSettings &profile, UserPrompts &prompts,
                          QWidget *parent) {
    CSettingsSheet sheet(settings, prompts, parent);
    if (prompts.Exec(sheet) != QDialog::Accepted)
        return false;
    settings.ApplyChanges(sheet.Edited(), profile);
    return true;
}
