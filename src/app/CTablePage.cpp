#include "app/CTablePage.h"

#include <QCheckBox>
#include <QVBoxLayout>

CTablePage::CTablePage(const AppSettings &settings, QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    const auto addBox = [&](const char *id, const QString &text, int32_t value) {
        auto *box = new QCheckBox(text, this);
        box->setObjectName(QLatin1String(id));
        box->setChecked(value != 0);
        layout->addWidget(box);
        return box;
    };
    m_systemTables = addBox("1007", tr("Show system tables"), settings.SystemTables);
    m_views = addBox("1008", tr("Show views"), settings.Views);
    m_synonyms = addBox("1009", tr("Show aliases and synonyms"), settings.Synonyms);
    m_procedures = addBox("1166", tr("Show procedures"), settings.Procedures);
    layout->addSpacing(8);
    m_cursorLib = addBox("1010", tr("&Use Cursor Library"), settings.CursorLib);
    layout->addStretch(1);
}

void CTablePage::Store(AppSettings &settings) const {
    settings.SystemTables = m_systemTables->isChecked() ? 1 : 0;
    settings.Views = m_views->isChecked() ? 1 : 0;
    settings.Synonyms = m_synonyms->isChecked() ? 1 : 0;
    settings.Procedures = m_procedures->isChecked() ? 1 : 0;
    settings.CursorLib = m_cursorLib->isChecked() ? 1 : 0;
}
