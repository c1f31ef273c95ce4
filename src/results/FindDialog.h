#pragma once

#include <memory>

#include <QDialog>
#include <QPointer>

#include "results/FindHistory.h"
#include "results/FindTarget.h"
#include "results/GridFinder.h"

class CListViewEx;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class UserPrompts;

// The modeless "Find" dialog of a result pane: searches one column of the grid
// for a text, up or down, selecting one match at a time (Find Next) or all of
// them (Mark All). The texts searched for are kept in the profile.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    // Loads the history from QSettings("Quenwick", "Brindle"). The dialog
    // deletes itself when closed.
    FindDialog(std::unique_ptr<FindTarget> target, UserPrompts &prompts, QWidget *parent);
    // Writes the history back to the profile.
    ~FindDialog() override;

    // The Find command: shows and activates the frame's dialog, creating it
    // for `grid` when `dialog` (the frame's pointer) holds none.
    static FindDialog *Open(QPointer<FindDialog> &dialog, CListViewEx &grid, UserPrompts &prompts,
                            QWidget *frame);

    void FindNext();
    void MarkAll();

    const GridFinder &Finder() const { return m_finder; }
    const FindHistory &History() const { return m_history; }

private:
    void RefreshColumns();
    void UpdateEnabling();
    void ShowHistory();
    // The dialog's fields, the find text falling back to the newest entry of
    // the list; false when there is no text at all.
    bool ReadCriteria(FindCriteria &criteria);
    void Remember(const FindCriteria &criteria);

    std::unique_ptr<FindTarget> m_target;
    GridFinder m_finder;
    FindHistory m_history;
    QComboBox *m_findText = nullptr;
    QComboBox *m_column = nullptr;
    // The title of the column the user picked; empty for the first column.
    QString m_chosenTitle;
    QCheckBox *m_matchCase = nullptr;
    QCheckBox *m_wholeCell = nullptr;
    QRadioButton *m_up = nullptr;
    QRadioButton *m_down = nullptr;
    QPushButton *m_findNext = nullptr;
    QPushButton *m_markAll = nullptr;
};
