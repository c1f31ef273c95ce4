#include "wizards/WizardSheet.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "wizards/WizardPage.h"

WizardSheet::WizardSheet(QWidget *parent) : QDialog(parent) {
    m_stack = new QStackedWidget(this);
    m_back = new QPushButton(QStringLiteral("< &Back"), this);
    m_next = new QPushButton(QStringLiteral("&Next >"), this);
    m_finish = new QPushButton(QStringLiteral("Finish"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton *button : {m_back, m_next, m_finish, m_cancel})
        button->setAutoDefault(false);
    m_finish->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_back);
    buttons->addWidget(m_next);
    buttons->addWidget(m_finish);
    buttons->addSpacing(8);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_stack, 1);
    layout->addLayout(buttons);

    connect(m_back, &QPushButton::clicked, this, &WizardSheet::OnBack);
    connect(m_next, &QPushButton::clicked, this, &WizardSheet::OnNext);
    connect(m_finish, &QPushButton::clicked, this, &WizardSheet::OnFinish);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    SetWizardButtons(0);
}

void WizardSheet::AddPage(WizardPage *page) {
    page->SetSheet(this);
    m_stack->addWidget(page);
    m_pages.push_back(page);
    m_shown.push_back(false);
}

void WizardSheet::SetWizardButtons(int buttons) {
    const bool finish = buttons & (Finish | DisabledFinish);
    m_back->setEnabled(buttons & Back);
    m_next->setVisible(!finish);
    m_next->setEnabled(!finish && (buttons & Next));
    m_finish->setVisible(finish);
    m_finish->setEnabled(buttons & Finish);
    QPushButton *forward = finish ? m_finish : m_next;
    forward->setDefault(forward->isEnabled());
}

void WizardSheet::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_active < 0 && !m_pages.empty())
        Activate(0);
}

void WizardSheet::Activate(int index) {
    m_active = index;
    WizardPage *page = Page(index);
    m_stack->setCurrentWidget(page);
    setWindowTitle(page->Title());
    if (!m_shown[size_t(index)]) {
        m_shown[size_t(index)] = true;
        page->OnInitialShow();
    }
    page->OnSetActive();
}

void WizardSheet::OnBack() {
    if (m_active <= 0 || !m_back->isEnabled())
        return;
    ActivePage()->OnWizardBack();
    Activate(m_active - 1);
}

void WizardSheet::OnNext() {
    if (m_active < 0 || m_active + 1 >= PageCount() || !m_next->isEnabled())
        return;
    if (ActivePage()->OnWizardNext())
        Activate(m_active + 1);
}

void WizardSheet::OnFinish() {
    if (m_active < 0 || !m_finish->isEnabled())
        return;
    if (ActivePage()->OnWizardFinish())
        accept();
}
