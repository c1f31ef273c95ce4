#pragma once

#include <string>
#include <vector>

#include "wizards/ConditionRow.h"

// The CREATE TABLE, DROP TABLE, INSERT, UPDATE and DELETE wizards' texts.
class TableStatement {
public:
    enum class Kind { CreateTable, DropTable, Insert, Update, Delete };

    Kind kind = Kind::CreateTable;
    std::string table;
    // Column definitions, column list or assignments.
    std::string columns;
    std::string values;
    std::string where;

    // The command's format with its arguments; an empty argument leaves its
    // place empty, blanks of the format included.
    std::string Text() const;

    // Builds `columns` (and `values` for INSERT) from the rows of the columns page.
    void SetColumnRows(const std::vector<TwoCellRow> &rows);
    // "WHERE " and the condition-list text; empty without rows.
    static std::string WhereClause(const std::vector<ConditionRow> &rows);
};
