#include "wizards/ConditionRow.h"

std::string ConditionRow::ListText(const std::vector<ConditionRow> &rows) {
    std::string text;
    for (const ConditionRow &row : rows)
        text += row.link + " (" + row.expression1 + " " + row.op + " " + row.expression2 + ") ";
    return text;
}
