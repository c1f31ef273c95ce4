#include "app/CColumnPage.h"

#include <QCheckBox>
#include <QVBoxLayout>

CColumnPage::CColumnPage(const AppSettings &settings, QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    const auto addBox = [&](const char *id, const QString &text, int32_t value) {
        auto *box = new QCheckBox(text, this);
        box->setObjectName(QLatin1String(id));
        box->setChecked(value != 0);
        layout->addWidget(box);
        return box;
    };
    m_length = addBox("1003", tr("Show Length"), settings.Length);
    m_precision = addBox("1005", tr("Show Precision, Scale, Radix"), settings.Precision);
    m_nullability = addBox("1006", tr("Show Nullability"), settings.Nullability);
    layout->addStretch(1);
}

void CColumnPage::Store(AppSettings &settings) const {
    settings.Length = m_length->isChecked() ? 1 : 0;
    settings.Precision = m_precision->isChecked() ? 1 : 0;
    settings.Nullability = m_nullability->isChecked() ? 1 : 0;
}
