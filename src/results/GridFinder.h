#pragma once

#include <string>
#include <string_view>

#include <QString>

class FindTarget;
class QWidget;
class UserPrompts;

// What Find Next and Mark All look for.
struct FindCriteria {
    // The bytes looked for, compared with the cells' bytes.
    std::string text;
    int column = 0;
    bool matchCase = false;
    // Compares the whole cell rather than looking for the text inside it.
    bool wholeCell = false;
    bool down = true;
};

// The Find dialog's search over a grid: one column, row by row, remembering the
// last match so that the next search moves past it.
class GridFinder {
public:
    GridFinder(FindTarget &target, UserPrompts &prompts, QWidget *promptParent);

    // Caption of every message a search shows.
    static QString Caption();
    // Only A-Z and a-z are folded when case does not matter.
    static bool CellMatches(std::string_view cell, std::string_view text, bool matchCase,
                            bool wholeCell);
    // Asked when a search reaches the end of the grid.
    static QString RestartQuestion(bool down, bool hadMatch);

    int MatchRow() const { return m_matchRow; }
    void Reset() { m_matchRow = -1; }

    // Tests `row` and the rows after it (or before it, up) until one matches;
    // the last match itself is passed over. A match becomes MatchRow.
    bool SearchFrom(const FindCriteria &criteria, int row);
    // Selects and reveals the next match from the last changed row on; at the
    // end of the grid offers to start again. True when a row was selected.
    bool FindNext(const FindCriteria &criteria);
    // Selects every match and reveals the last one found; returns how many.
    int MarkAll(const FindCriteria &criteria);

private:
    int StartRow(const FindCriteria &criteria) const;

    FindTarget &m_target;
    UserPrompts &m_prompts;
    QWidget *m_promptParent;
    int m_matchRow = -1;
};
