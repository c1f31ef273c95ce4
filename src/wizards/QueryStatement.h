#pragma once

#include <string>
#include <vector>

#include "wizards/ConditionRow.h"

// The SELECT wizard's clause texts and the statement they make, as plain text:
// nothing is quoted, trimmed or checked.
class QueryStatement {
public:
    std::string tableList;
    std::string selectList;
    std::string searchCondition;
    std::string groupColumns;
    std::string groupCriteria;
    std::string sortList;

    // One line without ";"; empty when the table list is.
    std::string Text() const;

    // (Table / Join, Alias) rows: "orders o, items".
    static std::string TableList(const std::vector<TwoCellRow> &rows);
    // (Column / Expression, Alias) rows: "DISTINCT t.a, t.b AS x"; empty without rows.
    static std::string SelectList(const std::vector<TwoCellRow> &rows, bool distinct);
    // Group columns and criteria: both empty without group columns.
    static std::pair<std::string, std::string> Grouping(const std::vector<std::string> &columns,
                                                        const std::vector<ConditionRow> &criteria);
    // (Column / Expression, Sort) rows: "t.a DESC, t.b".
    static std::string SortList(const std::vector<TwoCellRow> &rows);

    // The names whose columns step 2 offers, one or more per step 1 row: the
    // tables named inside an "OUTER JOIN" text (between blanks), else the
    // row's alias, else its text. Duplicates stay.
    static std::vector<std::string> Qualifiers(const std::vector<TwoCellRow> &rows,
                                               const std::vector<std::string> &tableNames);
};
