#include "syntax/CSyntaxPage.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "framework/WaitCursor.h"
#include "syntax/SyntaxPageContent.h"

std::string g_strSyntax;

namespace {
QString FromBytes(const std::string &bytes) {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}
} // namespace

CSyntaxPage::CSyntaxPage(SyntaxCategory category, SyntaxSource *source, QWidget *parent)
    : QWidget(parent), m_nCategory(category), m_source(source), m_list(new QListWidget(this)),
      m_description(new QLabel(this)) {
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSortingEnabled(false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Remarks come from the data source: never read as markup.
    m_description->setTextFormat(Qt::PlainText);
    m_description->setWordWrap(true);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_description->setFrameShape(QFrame::StyledPanel);
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_description->setMinimumHeight(m_description->fontMetrics().lineSpacing() * 4);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_description);

    connect(m_list, &QListWidget::itemSelectionChanged, this, &CSyntaxPage::OnSelectionChanged);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        if (!item)
            return;
        m_list->setCurrentItem(item);
        OnSelectionChanged();
        Q_EMIT EntryDoubleClicked();
    });
}

void CSyntaxPage::Fill() {
    if (m_filled)
        return;
    m_filled = true;
    // The Columns page runs one column query per table.
    WaitCursor wait;
    SyntaxList content = SyntaxPageContent::Build(m_nCategory, m_source);
    m_list->setUpdatesEnabled(false);
    for (const std::string &entry : content.syntax)
        m_list->addItem(FromBytes(entry));
    m_list->setUpdatesEnabled(true);
    m_entries = std::move(content.syntax);
    m_descriptions = std::move(content.descriptions);
}

void CSyntaxPage::OnSetActive() { OnSelectionChanged(); }

void CSyntaxPage::showEvent(QShowEvent *event) {
    Fill();
    QWidget::showEvent(event);
}

void CSyntaxPage::OnSelectionChanged() {
    m_strDescription.clear();
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    const int row = selected.isEmpty() ? -1 : m_list->row(selected.front());
    if (row < 0 || size_t(row) >= m_entries.size()) {
        g_strSyntax.clear();
    } else {
        g_strSyntax = m_entries[size_t(row)];
        m_strDescription = m_descriptions[size_t(row)];
    }
    m_description->setText(FromBytes(m_strDescription));
}
