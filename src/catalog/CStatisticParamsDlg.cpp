#include "catalog/CStatisticParamsDlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <sqlext.h>

namespace {

// A group of two radio buttons, the first checked.
QGroupBox *RadioGroup(QWidget *parent, const QString &title, QRadioButton *first,
                      QRadioButton *second) {
    auto *group = new QGroupBox(title, parent);
    auto *layout = new QVBoxLayout(group);
    layout->addWidget(first);
    layout->addWidget(second);
    first->setChecked(true);
    return group;
}

} // namespace

CStatisticParamsDlg::CStatisticParamsDlg(QWidget *parent)
    : QDialog(parent), m_unique(SQL_INDEX_ALL), m_accuracy(SQL_ENSURE) {
    setWindowTitle(QStringLiteral("Statistic Parameters"));

    m_all = new QRadioButton(QStringLiteral("All"), this);
    m_all->setObjectName(QStringLiteral("allRadio"));
    m_uniqueOnly = new QRadioButton(QStringLiteral("Unique"), this);
    m_uniqueOnly->setObjectName(QStringLiteral("uniqueRadio"));
    m_ensure = new QRadioButton(QStringLiteral("Ensure"), this);
    m_ensure->setObjectName(QStringLiteral("ensureRadio"));
    m_quick = new QRadioButton(QStringLiteral("Quick"), this);
    m_quick->setObjectName(QStringLiteral("quickRadio"));

    QGroupBox *indexType = RadioGroup(this, QStringLiteral("Index type"), m_all, m_uniqueOnly);
    QGroupBox *accuracy = RadioGroup(this, QStringLiteral("Accuracy"), m_ensure, m_quick);

    // A click sets the value at once; OK only closes.
    connect(m_all, &QRadioButton::clicked, this, [this] { m_unique = SQL_INDEX_ALL; });
    connect(m_uniqueOnly, &QRadioButton::clicked, this, [this] { m_unique = SQL_INDEX_UNIQUE; });
    connect(m_ensure, &QRadioButton::clicked, this, [this] { m_accuracy = SQL_ENSURE; });
    connect(m_quick, &QRadioButton::clicked, this, [this] { m_accuracy = SQL_QUICK; });

    auto *buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton *ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    // There is no help to show.
    buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole)->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *groups = new QVBoxLayout;
    groups->addWidget(indexType);
    groups->addWidget(accuracy);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
