#include "app/CGeneralPage.h"

#include <limits>

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

CGeneralPage::CGeneralPage(const AppSettings &settings, QWidget *parent) : QWidget(parent) {
    m_showMessage = new QCheckBox(tr("&Show Message dialogs"), this);
    m_showMessage->setObjectName(QStringLiteral("1001"));
    m_showMessage->setChecked(settings.ShowMessage != 0);

    m_queryTimeout = AddNumberField("1004", settings.QueryTimeout);
    m_maxRecords = AddNumberField("1002", settings.MaxRecords);
    m_maxURLHistory = AddNumberField("1164", settings.MaxURLHistory);

    auto *layout = new QGridLayout(this);
    layout->addWidget(m_showMessage, 0, 0, 1, 3);
    const auto addRow = [&](int row, const QString &text, QLineEdit *edit) {
        auto *label = new QLabel(text, this);
        label->setTextFormat(Qt::PlainText);
        label->setBuddy(edit);
        layout->addWidget(label, row, 0);
        layout->addWidget(edit, row, 1);
    };
    addRow(1, tr("&Query Timeout:"), m_queryTimeout);
    auto *seconds = new QLabel(tr("sec."), this);
    seconds->setTextFormat(Qt::PlainText);
    layout->addWidget(seconds, 1, 2);
    addRow(2, tr("Ma&x Records:"), m_maxRecords);
    addRow(3, tr("Max &URL History:"), m_maxURLHistory);
    layout->setColumnStretch(3, 1);
    layout->setRowStretch(4, 1);
}

QLineEdit *CGeneralPage::AddNumberField(const char *id, uint32_t value) {
    auto *edit = new QLineEdit(QString::number(value), this);
    edit->setObjectName(QLatin1String(id));
    // No input mask: a mask would drop a typed "-" and save "-5" as 5 without a word.
    // Any text is taken and checked when the sheet is closed with OK.
    return edit;
}

std::optional<uint32_t> CGeneralPage::ParseUnsigned(const QString &text) {
    if (text.isEmpty())
        return std::nullopt;
    uint64_t value = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c.unicode() - '0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

QLineEdit *CGeneralPage::FirstInvalidField() const {
    for (QLineEdit *edit : {m_queryTimeout, m_maxRecords, m_maxURLHistory}) {
        if (!ParseUnsigned(edit->text()))
            return edit;
    }
    return nullptr;
}

void CGeneralPage::Store(AppSettings &settings) const {
    settings.ShowMessage = m_showMessage->isChecked() ? 1 : 0;
    const auto store = [](QLineEdit *edit, uint32_t &field) {
        if (const auto value = ParseUnsigned(edit->text()))
            field = *value;
    };
    store(m_queryTimeout, settings.QueryTimeout);
    store(m_maxRecords, settings.MaxRecords);
    store(m_maxURLHistory, settings.MaxURLHistory);
}
