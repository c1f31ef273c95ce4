#include "console/ConsoleFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

ConsoleFindDialog::ConsoleFindDialog(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("consoleFindDialog"));
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto *label = new QLabel(QStringLiteral("Fi&nd what:"), this);
    m_findEdit = new QLineEdit(this);
    m_findEdit->setObjectName(QStringLiteral("findText"));
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(m_findEdit);

    m_wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));

    auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
    m_up = new QRadioButton(QStringLiteral("&Up"), direction);
    m_up->setObjectName(QStringLiteral("directionUp"));
    m_down = new QRadioButton(QStringLiteral("&Down"), direction);
    m_down->setObjectName(QStringLiteral("directionDown"));
    m_down->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto *fields = new QGridLayout;
    fields->addWidget(label, 0, 0);
    fields->addWidget(m_findEdit, 0, 1, 1, 2);
    fields->addWidget(m_wholeWord, 1, 0, 1, 2);
    fields->addWidget(direction, 1, 2, 2, 1);
    fields->addWidget(m_matchCase, 2, 0, 1, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    connect(m_findEdit, &QLineEdit::textChanged, this, &ConsoleFindDialog::UpdateButtons);
    connect(m_findNext, &QPushButton::clicked, this,
            [this] { Q_EMIT FindNextRequested(CurrentSearch()); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    UpdateButtons();
}

ConsoleFindDialog::Search ConsoleFindDialog::CurrentSearch() const {
    Search search;
    search.text = m_findEdit->text();
    search.wholeWord = m_wholeWord->isChecked();
    search.matchCase = m_matchCase->isChecked();
    search.down = m_down->isChecked();
    return search;
}

void ConsoleFindDialog::SetSearch(const Search &search) {
    m_findEdit->setText(search.text);
    m_findEdit->selectAll();
    m_wholeWord->setChecked(search.wholeWord);
    m_matchCase->setChecked(search.matchCase);
    (search.down ? m_down : m_up)->setChecked(true);
}

void ConsoleFindDialog::UpdateButtons() { m_findNext->setEnabled(!m_findEdit->text().isEmpty()); }
