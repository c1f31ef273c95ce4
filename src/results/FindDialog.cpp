#include "results/FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "results/CListViewEx.h"
#include "results/GridModel.h"
#include "results/ListViewFindTarget.h"

namespace {

QSettings Profile() { return QSettings(QStringLiteral("Quenwick"), QStringLiteral("Brindle")); }

} // namespace

FindDialog::FindDialog(std::unique_ptr<FindTarget> target, UserPrompts &prompts, QWidget *parent)
    : QDialog(parent), m_target(std::move(target)), m_finder(*m_target, prompts, this) {
    setWindowTitle(QStringLiteral("Find"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_findText = new QComboBox(this);
    m_findText->setEditable(true);
    m_findText->setInsertPolicy(QComboBox::NoInsert);
    m_findText->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_findText->setMinimumContentsLength(24);
    m_column = new QComboBox(this);
    m_column->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_column->setMinimumContentsLength(24);
    auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setTextFormat(Qt::PlainText);
    findLabel->setBuddy(m_findText);
    auto *columnLabel = new QLabel(QStringLiteral("&Search in:"), this);
    columnLabel->setTextFormat(Qt::PlainText);
    columnLabel->setBuddy(m_column);

    m_matchCase = new QCheckBox(QStringLiteral("Match c&ase"), this);
    m_wholeCell = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    auto *direction = new QGroupBox(QStringLiteral("Direction"), this);
    m_up = new QRadioButton(QStringLiteral("&Up"), direction);
    m_down = new QRadioButton(QStringLiteral("&Down"), direction);
    m_down->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);

    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setDefault(true);
    m_markAll = new QPushButton(QStringLiteral("&Mark All"), this);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(m_markAll);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto *options = new QVBoxLayout;
    options->addWidget(m_matchCase);
    options->addWidget(m_wholeCell);
    auto *layout = new QGridLayout(this);
    layout->addWidget(findLabel, 0, 0);
    layout->addWidget(m_findText, 0, 1, 1, 2);
    layout->addWidget(columnLabel, 1, 0);
    layout->addWidget(m_column, 1, 1, 1, 2);
    layout->addLayout(options, 2, 0, 1, 2);
    layout->addWidget(direction, 2, 2);
    layout->addLayout(buttons, 0, 3, 3, 1);

    {
        QSettings profile = Profile();
        m_history.Load(profile);
    }
    ShowHistory();
    RefreshColumns();

    // Only the user's own changes start the search afresh: the dialog fills
    // these fields itself too.
    auto reset = [this] {
        m_finder.Reset();
        UpdateEnabling();
    };
    connect(m_findText->lineEdit(), &QLineEdit::textEdited, this, reset);
    connect(m_findText, &QComboBox::activated, this, reset);
    connect(m_column, &QComboBox::activated, this, [this, reset] {
        m_chosenTitle = m_column->currentText();
        reset();
    });
    connect(m_matchCase, &QCheckBox::clicked, this, reset);
    connect(m_wholeCell, &QCheckBox::clicked, this, reset);
    connect(m_up, &QRadioButton::clicked, this, &FindDialog::UpdateEnabling);
    connect(m_down, &QRadioButton::clicked, this, &FindDialog::UpdateEnabling);
    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::FindNext);
    connect(m_markAll, &QPushButton::clicked, this, &FindDialog::MarkAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // New content may bring other columns; a match row of the old content
    // means nothing in the new one, nor after a sort.
    const GridModel &model = m_target->Model();
    connect(&model, &QAbstractItemModel::columnsInserted, this, &FindDialog::RefreshColumns);
    connect(&model, &QAbstractItemModel::columnsRemoved, this, &FindDialog::RefreshColumns);
    connect(&model, &QAbstractItemModel::headerDataChanged, this, &FindDialog::RefreshColumns);
    connect(&model, &QAbstractItemModel::modelReset, this, [this] {
        m_finder.Reset();
        RefreshColumns();
    });
    connect(&model, &QAbstractItemModel::layoutChanged, this, [this] { m_finder.Reset(); });

    UpdateEnabling();
}

FindDialog::~FindDialog() {
    QSettings profile = Profile();
    m_history.Save(profile);
}

FindDialog *FindDialog::Open(QPointer<FindDialog> &dialog, CListViewEx &grid, UserPrompts &prompts,
                             QWidget *frame) {
    if (!dialog)
        dialog = new FindDialog(std::make_unique<ListViewFindTarget>(grid), prompts, frame);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void FindDialog::RefreshColumns() {
    const GridModel &model = m_target->Model();
    const int kept = m_column->currentIndex();
    const QSignalBlocker blocker(m_column);
    m_column->clear();
    for (int column = 0; column < model.ColumnCount(); ++column)
        m_column->addItem(GridModel::DisplayText(model.ColumnTitle(column)));
    if (m_column->count() == 0)
        return; // the grid is being filled again: the choice waits for its columns
    // The column the user chose stays chosen whenever the grid has a column of
    // that title: running the same query again must not move the search. The
    // grid gets its columns one at a time, so a missing title keeps the choice.
    int chosen = -1;
    if (!m_chosenTitle.isEmpty()) {
        chosen = kept >= 0 && m_column->itemText(kept) == m_chosenTitle
                     ? kept
                     : m_column->findText(m_chosenTitle, Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    m_column->setCurrentIndex(chosen >= 0 ? chosen : 0);
}

void FindDialog::UpdateEnabling() {
    m_findNext->setEnabled(m_findText->count() > 0 || !m_findText->currentText().isEmpty());
}

void FindDialog::ShowHistory() {
    const QSignalBlocker blocker(m_findText);
    const QString text = m_findText->currentText();
    m_findText->clear();
    m_findText->addItems(m_history.Texts());
    m_findText->setCurrentIndex(-1);
    m_findText->setEditText(text);
}

bool FindDialog::ReadCriteria(FindCriteria &criteria) {
    QString text = m_findText->currentText();
    if (text.isEmpty()) {
        if (m_findText->count() == 0)
            return false;
        const QSignalBlocker blocker(m_findText);
        m_findText->setCurrentIndex(0);
        text = m_findText->currentText();
    }
    criteria.text = text.toStdString();
    criteria.column = std::max(m_column->currentIndex(), 0);
    criteria.matchCase = m_matchCase->isChecked();
    criteria.wholeCell = m_wholeCell->isChecked();
    criteria.down = m_down->isChecked();
    return true;
}

void FindDialog::Remember(const FindCriteria &criteria) {
    if (m_history.Add(QString::fromStdString(criteria.text)))
        ShowHistory();
    UpdateEnabling();
}

void FindDialog::FindNext() {
    FindCriteria criteria;
    if (!ReadCriteria(criteria))
        return;
    m_finder.FindNext(criteria);
    Remember(criteria);
}

void FindDialog::MarkAll() {
    FindCriteria criteria;
    if (!ReadCriteria(criteria))
        return;
    m_finder.MarkAll(criteria);
    Remember(criteria);
}
