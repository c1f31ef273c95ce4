#include "results/GridFinder.h"

#include <algorithm>
#include <vector>

#include "framework/UserPrompts.h"
#include "framework/WaitCursor.h"
#include "results/FindTarget.h"
#include "results/GridModel.h"

namespace {

unsigned char FoldCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool SameLetter(char a, char b) { return FoldCase(a) == FoldCase(b); }

} // namespace

GridFinder::GridFinder(FindTarget &target, UserPrompts &prompts, QWidget *promptParent)
    : m_target(target), m_prompts(prompts), m_promptParent(promptParent) {}

QString GridFinder::Caption() { return QStringLiteral("Find Result"); }

bool GridFinder::CellMatches(std::string_view cell, std::string_view text, bool matchCase,
                             bool wholeCell) {
    if (wholeCell) {
        if (matchCase)
            return cell == text;
        return cell.size() == text.size() &&
               std::equal(cell.begin(), cell.end(), text.begin(), SameLetter);
    }
    if (matchCase)
        return cell.find(text) != std::string_view::npos;
    // An empty cell still contains the empty text.
    return text.empty() || std::search(cell.begin(), cell.end(), text.begin(), text.end(),
                                       SameLetter) != cell.end();
}

QString GridFinder::RestartQuestion(bool down, bool hadMatch) {
    const QString found = hadMatch ? QStringLiteral("No more matches are found.")
                                   : QStringLiteral("No matches are found.");
    return found + (down ? QStringLiteral(" Restart from the beginning ?")
                         : QStringLiteral(" Restart from the end ?"));
}

bool GridFinder::SearchFrom(const FindCriteria &criteria, int row) {
    const GridModel &model = m_target.Model();
    const int rows = model.RowCount();
    const int step = criteria.down ? 1 : -1;
    for (int n = row; n >= 0 && n < rows; n += step) {
        if (n != m_matchRow && CellMatches(model.Cell(n, criteria.column), criteria.text,
                                           criteria.matchCase, criteria.wholeCell)) {
            m_matchRow = n;
            return true;
        }
    }
    return false;
}

int GridFinder::StartRow(const FindCriteria &criteria) const {
    return criteria.down ? 0 : m_target.Model().RowCount() - 1;
}

bool GridFinder::FindNext(const FindCriteria &criteria) {
    bool found;
    {
        WaitCursor wait;
        found = SearchFrom(criteria, m_target.LastChangedRow());
    }
    if (!found) {
        if (!m_prompts.Question(m_promptParent, Caption(),
                                RestartQuestion(criteria.down, m_matchRow != -1),
                                UserPrompts::Answers::OkCancel))
            return false;
        Reset();
        {
            WaitCursor wait;
            found = SearchFrom(criteria, StartRow(criteria));
        }
        if (!found) {
            m_prompts.CaptionedMessage(m_promptParent, Caption(),
                                       QStringLiteral("No matches are found in total contents."),
                                       UserPrompts::Icon::Exclamation);
            return false;
        }
    }
    m_target.ClearSelection();
    m_target.SelectRows({m_matchRow});
    m_target.RevealRow(m_matchRow);
    return true;
}

int GridFinder::MarkAll(const FindCriteria &criteria) {
    std::vector<int> matches;
    {
        WaitCursor wait;
        m_target.ClearSelection();
        Reset();
        // Each search goes on from the previous match, which it passes over.
        if (SearchFrom(criteria, StartRow(criteria)))
            do
                matches.push_back(m_matchRow);
            while (SearchFrom(criteria, m_matchRow));
        if (!matches.empty()) {
            m_target.SelectRows(matches);
            m_target.RevealRow(matches.back());
        }
    }
    if (matches.empty())
        m_prompts.CaptionedMessage(m_promptParent, Caption(), QStringLiteral("No match is found."),
                                   UserPrompts::Icon::Exclamation);
    return static_cast<int>(matches.size());
}
