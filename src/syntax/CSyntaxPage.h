#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "syntax/SyntaxCategory.h"

class QLabel;
class QListWidget;
class SyntaxSource;

// The entry text last chosen on any Syntax Dictionary page, as UTF-8 bytes;
// empty while the active page has nothing selected. Openers read it after the
// sheet has closed with Insert.
extern std::string g_strSyntax;

// One page of the Syntax Dictionary: the entries of one category, filled when
// the page is first shown, with the selected entry's description under them.
class CSyntaxPage : public QWidget {
    Q_OBJECT
public:
    CSyntaxPage(SyntaxCategory category, SyntaxSource *source, QWidget *parent = nullptr);

    SyntaxCategory Category() const { return m_nCategory; }
    // The page became the sheet's current one: its selection is now the chosen text.
    void OnSetActive();
    // Fills the list unless it already is (filling runs once).
    void Fill();
    bool IsFilled() const { return m_filled; }

    QListWidget *List() const { return m_list; }
    // The entry texts, in list order, as the source gave them.
    const std::vector<std::string> &Entries() const { return m_entries; }
    // The selected entry's description; empty with nothing selected.
    const std::string &Description() const { return m_strDescription; }

Q_SIGNALS:
    // Double-clicking an entry chooses it and ends the sheet as Insert does.
    void EntryDoubleClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void OnSelectionChanged();

    SyntaxCategory m_nCategory;
    SyntaxSource *m_source;
    std::vector<std::string> m_entries;
    std::vector<std::string> m_descriptions;
    std::string m_strDescription;
    QListWidget *m_list;
    QLabel *m_description;
    bool m_filled = false;
};
