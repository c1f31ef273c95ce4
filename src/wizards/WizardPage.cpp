#include "wizards/WizardPage.h"

#include "wizards/WizardSheet.h"

WizardPage::WizardPage(QString title, QWidget *parent)
    : QWidget(parent), m_title(std::move(title)) {}

void WizardPage::SetWizardButtons(int buttons) {
    if (m_sheet)
        m_sheet->SetWizardButtons(buttons);
}
