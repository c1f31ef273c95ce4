#include "syntax/CSyntaxSheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "framework/UserPrompts.h"
#include "syntax/CSyntaxPage.h"
#include "syntax/SyntaxTarget.h"

CSyntaxSheet::CSyntaxSheet(SyntaxSource *source, const std::vector<SyntaxCategory> &pages,
                           QWidget *parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Syntax Dictionary"));
    for (SyntaxCategory category : pages) {
        auto *page = new CSyntaxPage(category, source, m_tabs);
        m_tabs->addTab(page, QString::fromStdString(SyntaxCategoryCaption(category)));
        connect(page, &CSyntaxPage::EntryDoubleClicked, this, &QDialog::accept);
        m_pages.push_back(page);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_insert = buttons->button(QDialogButtonBox::Ok);
    m_insert->setText(QStringLiteral("Insert"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addWidget(buttons);
    resize(520, 420);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < PageCount())
            Page(index)->OnSetActive();
    });
    // Whatever an earlier sheet chose is not this one's choice.
    if (CSyntaxPage *page = ActivePage())
        page->OnSetActive();
    else
        g_strSyntax.clear();
}

CSyntaxPage *CSyntaxSheet::ActivePage() const {
    return m_pages.empty() ? nullptr : Page(m_tabs->currentIndex());
}

void CSyntaxSheet::SetActivePage(int index) { m_tabs->setCurrentIndex(index); }

bool CSyntaxSheet::Run(UserPrompts &prompts, QWidget *parent, SyntaxSource *source,
                       const std::vector<SyntaxCategory> &pages, SyntaxTarget &target) {
    CSyntaxSheet sheet(source, pages, parent);
    if (prompts.Exec(sheet) != QDialog::Accepted || g_strSyntax.empty())
        return false;
    target.InsertText(g_strSyntax);
    return true;
}

bool PasteSyntax(UserPrompts &prompts, QWidget *parent, SyntaxSource *source,
                 SyntaxTarget &console) {
    return CSyntaxSheet::Run(prompts, parent, source, SyntaxPages::PasteSyntax(), console);
}
