#pragma once

#include <string>
#include <vector>

// One row of a condition list: Link ("", "AND" or "OR"), Expression 1,
// Operator, Expression 2.
struct ConditionRow {
    std::string link;
    std::string expression1;
    std::string op;
    std::string expression2;

    // The rows in order, each its link then " (%s %s %s) ": the link and those
    // blanks are the only separators, and empty cells leave their place empty.
    static std::string ListText(const std::vector<ConditionRow> &rows);
};

// A row of a two-column list: Table / Join and Alias, Column / Expression and
// Alias or Sort, Name and Type, Column and Value or Expression.
struct TwoCellRow {
    std::string first;
    std::string second;
};
