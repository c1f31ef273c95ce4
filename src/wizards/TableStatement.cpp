#include "wizards/TableStatement.h"

std::string TableStatement::Text() const {
    switch (kind) {
    case Kind::CreateTable:
        return "CREATE TABLE " + table + " (" + columns + ")";
    case Kind::DropTable:
        return "DROP TABLE " + table;
    case Kind::Insert:
        return "INSERT INTO " + table + " " + columns + " VALUES (" + values + ")";
    case Kind::Update:
        return "UPDATE " + table + " SET " + columns + " " + where;
    case Kind::Delete:
        return "DELETE FROM " + table + " " + where;
    }
    return std::string();
}

void TableStatement::SetColumnRows(const std::vector<TwoCellRow> &rows) {
    columns.clear();
    values.clear();
    for (const TwoCellRow &row : rows) {
        // A separator only after something: INSERT rows without a column name
        // add nothing to the column list.
        if (!columns.empty())
            columns += ", ";
        switch (kind) {
        case Kind::CreateTable:
            columns += row.first + " " + row.second;
            break;
        case Kind::Insert:
            columns += row.first;
            if (!values.empty())
                values += ", ";
            values += row.second;
            break;
        case Kind::Update:
            columns += row.first + " = " + row.second;
            break;
        default:
            break;
        }
    }
    if (kind == Kind::Insert && !columns.empty())
        columns = "(" + columns + ")";
}

std::string TableStatement::WhereClause(const std::vector<ConditionRow> &rows) {
    return rows.empty() ? std::string() : "WHERE " + ConditionRow::ListText(rows);
}
