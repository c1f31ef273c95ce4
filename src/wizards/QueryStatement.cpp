#include "wizards/QueryStatement.h"

namespace {

std::string Joined(const std::vector<TwoCellRow> &rows, const std::string &between) {
    std::string text;
    for (const TwoCellRow &row : rows) {
        if (!text.empty())
            text += ", ";
        text += row.first;
        if (!row.second.empty())
            text += between + row.second;
    }
    return text;
}

} // namespace

std::string QueryStatement::TableList(const std::vector<TwoCellRow> &rows) {
    return Joined(rows, " ");
}

std::string QueryStatement::SelectList(const std::vector<TwoCellRow> &rows, bool distinct) {
    if (rows.empty())
        return std::string();
    return (distinct ? "DISTINCT " : "") + Joined(rows, " AS ");
}

std::pair<std::string, std::string>
QueryStatement::Grouping(const std::vector<std::string> &columns,
                         const std::vector<ConditionRow> &criteria) {
    if (columns.empty())
        return {};
    std::string joined;
    for (const std::string &column : columns)
        joined += (joined.empty() ? "" : ", ") + column;
    return {joined, ConditionRow::ListText(criteria)};
}

std::string QueryStatement::SortList(const std::vector<TwoCellRow> &rows) {
    return Joined(rows, " ");
}

std::vector<std::string> QueryStatement::Qualifiers(const std::vector<TwoCellRow> &rows,
                                                    const std::vector<std::string> &tableNames) {
    std::vector<std::string> qualifiers;
    for (const TwoCellRow &row : rows) {
        if (row.first.find("OUTER JOIN") != std::string::npos) {
            for (const std::string &table : tableNames)
                if (row.first.find(" " + table + " ") != std::string::npos)
                    qualifiers.push_back(table);
        } else {
            qualifiers.push_back(row.second.empty() ? row.first : row.second);
        }
    }
    return qualifiers;
}

std::string QueryStatement::Text() const {
    if (tableList.empty())
        return std::string();
    std::string text = selectList.empty() ? "SELECT *" : "SELECT " + selectList;
    text += " FROM " + tableList;
    if (!searchCondition.empty())
        text += " WHERE " + searchCondition;
    if (!groupColumns.empty()) {
        text += " GROUP BY " + groupColumns;
        if (!groupCriteria.empty())
            text += " HAVING " + groupCriteria;
    }
    if (!sortList.empty())
        text += " ORDER BY " + sortList;
    return text;
}
